// Which pages of the options dialog are masked for the current job, with which
// message, and where the mask texts and page 5's note and button go. Data only: the
// dialog's window sets its masks from it.
#pragma once

#include "core/jobrecords.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace engine {

// The options dialog's pages, in the order of its tabs (the dialog's tabNow counts them
// so); the note lies on the special page.
enum OptionsPage : int { MainPage = 0, VideoPage = 1, AudioPage = 2, PicturePage = 3, SubtitlePage = 4, SpecialPage = 5 };

struct TabMask {
    bool visible = false;
    QString message;  // txt::NoAudioInFile (no audio) when the source has none, else txt::NoVideoInFile (no video)
};

// One mask per page 0..pageCount-1. Page 0 stays open unless the job is impossible;
// page 2 is masked without audio; the others without a picture; an impossible job
// masks every page.
QList<TabMask> tabMasks(int pageCount, bool hasAudio, bool hasPicture, bool jobImpossible);
// The same for a job on a source.
QList<TabMask> tabMasks(int pageCount, const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

// Where a label of `label` size sits centred in an inner area of `inner` size.
QPoint centredIn(const QSize &inner, const QSize &label);

// Page 5: the note centred in the page, the donation button centred below it, 4 units
// under the note's bottom.
struct NotePageLayout {
    QString donationCaption;  // txt::DonateMenu
    QString note;             // txt::LaterVersionsHint
    QRect noteRect;
    QRect buttonRect;
};
NotePageLayout notePageLayout(const QSize &page, const QSize &noteSize, const QSize &buttonSize);

} // namespace engine
