// The options dialog's lists, its captions from the text table, the rebuild of both on
// a language change, and the key filters of its number boxes.
#pragma once

#include "options/optionsform.h"

namespace opt {

// Frame rates: the general list (txt::SameAsSource first, 14 items) or the MPEG-1 list (5 items).
void setCboFpsItem(Combo &cbo, bool isMPG);
// WMV frame rates, never above the source's; selects the largest of 5..20 the source
// reaches, or the source's own rate when it lies below 20 and is not in the list.
void setCboFpsItemIsWmv(Combo &cbo, float fps);
void setCboVideoBitrateItem(Combo &cbo, bool isMPEG1);
// Rotation and flips; VCD and DVD get no quarter turns.
void setCboRotateItem(Combo &cbo, bool isVCDDVD);

// The fixed lists, in the current language.
QStringList sizeItems();        // 31 items
QStringList subcpItems();       // 5 items
QStringList audioBitrateItems();// 12 items
QStringList audioSampleItems(); // 7 items until a target offers those its encoder takes
// Fills the lists the dialog builds once (sample rates) and by language (sizes,
// code pages, audio bit rates); nothing is selected.
void fillDesignLists(OptionsForm &f);

// Captions of the dialog from the text table and the language-bound lists rebuilt,
// each keeping its selection (a typed audio bit rate stays); the size boxes are
// derived again and the range note is rewritten.
void ChangeLanguage(OptionsForm &f);

// The lists that depend on the target, rebuilt for the current job after a language
// change: frame rates (the WMV list for a WMV target), video bit rates and rotation.
// A chosen item is found again by its value, a typed value stays as typed.
void rebuildTargetLists(OptionsForm &f);

// The item of the rebuilt list that means the same as oldText (the entry-055 item for
// "same as the source", else the first item with the same leading number); -1 none.
int findSameValue(const Combo &cbo, const QString &oldText, bool oldWasSourceItem);

// Key filters: the key code to let through, 0 when the key is refused.
enum class KeyFilter {
    FpsCombo,       // digits, Backspace, "."
    BitrateCombo,   // digits, Backspace
    DigitsBox,      // txtSize, txtExpand, subtitle size/position/outline/blur: digits, Backspace
    SignedDecimal,  // txtAudioDelay, txtSubDelay: digits, "-", ".", Backspace
};
int filterKey(KeyFilter filter, int keyAscii);

} // namespace opt
