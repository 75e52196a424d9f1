// OK and Cancel of the options dialog as data: the snapshot the settings command keeps
// for Cancel, the checks of OK in their order with their messages, storing the accepted
// values and pieces into JobSettings, Cancel's restore, and showing the stored values.
#pragma once

#include "options/optionsform.h"

namespace opt {

// The settings command's snapshot: every setting control's value into its Tag
// (adjusters into the Tag of their button 0, the playback volume into lblVol(0)).
void takeSnapshot(OptionsForm &f);

// The ten number boxes OK and Cancel tidy first: each gets the plain text of its
// leading number (an empty box becomes "0", "007" becomes "7", "1.50" becomes "1.5").
void normaliseBoxes(OptionsForm &f);

// The first check of OK that fails: the page to show, the control to focus and the
// message. passed is True when frame rate, bit rates, size and flips are all acceptable.
struct OkCheck {
    bool passed = true;
    int page = MainPage;  // a Page
    QString focus;
    QString message;
};
OkCheck checkFields(const OptionsForm &f);

struct OkOutcome {
    bool accepted = false;
    int summaryWidth = 0, summaryHeight = 0;  // for SetMainEncodeNote
    bool marksCleared = false;                 // an unset end mark cleared both marks
};
// OK: tidies the boxes, checks every field (and the subtitle file) before anything is
// stored; on the first failure shows its message, sets tabNow and focusRequest and
// stores nothing. Otherwise stores the values, the combo Tags and all pieces in
// JobSettings (warning once when a quarter turn meets subtitles).
OkOutcome okClicked(OptionsForm &f);

// Cancel: tidies the boxes and puts every setting control back from the snapshot.
// JobSettings is not touched.
void cancelClicked(OptionsForm &f);

// After OK or Cancel: the controls whose values live in JobSettings (marks, frame
// rate, bit rates, size, crop rectangle) show the stored values. The result says what
// the window does with the marks: clear them, or set the end mark at endMark.
struct AppliedMarks {
    bool clearMarks = true;
    float endMark = 0;
};
AppliedMarks SetAppliedValue(OptionsForm &f);

} // namespace opt
