// The texts that sum up a job: the settings summary shown beside the main window's
// settings button, and the one-line note of the marked time range.
#pragma once

#include "options/optionsform.h"

namespace opt {

// The picture size the summary shows, kept between calls.
struct NoteSize {
    int width = 0, height = 0;
};

struct EncodeNote {
    QString text;
    bool conversionLayout = false;  // the label then sits 2 units higher
};

// The multi-line summary of the job (or the reason it cannot be done). A width or
// height other than -1 replaces the one kept in noteSize. cmdOptCaption and
// cmdEncodeCaption are the captions of the main window's settings and encode buttons.
EncodeNote SetMainEncodeNote(const OptionsForm &f, NoteSize &noteSize, int wdt, int hgt,
                             const QString &cmdOptCaption, const QString &cmdEncodeCaption);

// Rewrites the range boxes txtScope(0) and txtScope(1) from the marks and returns the
// range note.
QString SetScopeNote(OptionsForm &f);

} // namespace opt
