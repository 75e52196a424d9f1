// The main module's shared state: the text table, the start-up environment, flags,
// and the small helpers every subsystem calls (the job's own records are
// core/jobrecords.h). Plain variables on the GUI thread, no locking.
#pragma once

#include "core/textentries.h"

#include <QString>
#include <array>

class FileObject;
class CommDialog;

namespace mdlMavrell {

// ---- The text table: entry N is line N of the chosen language table (1..279); ----
// ---- read it by name: lng[txt::QuitQuestion] (core/textentries.h). ----
inline constexpr int lngSize = 321;
inline std::array<QString, lngSize> lng;

// ---- AppEnvironment: fixed at start-up. Every folder ends in "/". ----
inline QString appDir;
inline QString windowsDir;        // not needed on this system; stays empty
inline QString tempDir;
inline int twipsPerPixelX = 15;
inline int twipsPerPixelY = 15;
inline QString openFileFilter;

// ---- Flags and shared helper objects ----
inline bool playerOpen = false;
inline bool showDosOutput = false;
inline bool mainFormShown = false;
inline int mainFormExStyle = 0;
inline int defaultSubFontIndex = 0;

FileObject &fileObject();
CommDialog &commDialog();

// ---- Predicates ----
int RoundUp(float x);
int Clamp(int v, int lo, int hi);
bool iconFileExists();  // the developer marker appDir + "Quennet.ico"

// ---- Joining entries of the text table ----
// a followed by b. Where a ends in a blank, b's blanks at its start are left out: two
// entries that each bring the blank between them ("Conversion to Audio WAV " and
// " succeeded") give one.
QString Joined(const QString &a, const QString &b);

} // namespace mdlMavrell
