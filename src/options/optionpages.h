// The rules of the dialog's pages: the size boxes derived from the size list, which
// audio and subtitle controls are enabled, the default subtitle font, and the
// stepping and captions of the colour and volume adjusters.
#pragma once

#include "options/optionsform.h"

namespace opt {

// ---- Size ----
// Applies the chosen item of cboSize to the width and height boxes and their enabled state.
void SetSizeSetting(OptionsForm &f);
// Leaving the width box (index 0) while the height is derived: derives the height again.
void txtSizeLostFocus(OptionsForm &f, int index);

// ---- Audio page ----
void SetAudioSetting(OptionsForm &f, bool isToDefault);

// ---- Subtitle page ----
// The index of the default font among the font list items for a language code
// ("tw", "gb", "en"): the last kaiu.ttf (tw) or simhei.ttf (gb), else the last arial.ttf,
// else 0. Where those files are not installed, the system's own fonts of the same kind
// stand in, found by their families: Noto Sans CJK TC or SC, Liberation Sans or DejaVu Sans.
int defaultSubFontIndex(const QStringList &items, const QString &language, const QStringList &families = {});
// Fills cboSubFont from the installed fonts in alphabetical order (case aside, numbers by
// value), sets mdlMavrell::defaultSubFontIndex and selects it.
void fillSubFontList(OptionsForm &f, const QList<mdlGetFontsFile::FontItem> &fonts, const QString &language);
void SetSubSetting(OptionsForm &f, bool isToDefault);

// ---- Adjusters ----
// Minus (0), plus (1) or reset (2) on one adjuster: steps of 2 within -100..100;
// nothing while its value label is disabled. Moves the hue marker for hue.
void adjusterClick(OptionsForm &f, Adjuster a, int index);
// Rebuilds the caption of the adjuster with caption mode `mode` (0 the playback
// volume's tooltip, 1..5 as captionMode), or all six when `all`.
void setLblColorAndVolPara(OptionsForm &f, int mode, bool all);
// The x of the hue marker for a hue, kept inside the spectrum picture.
double hueMarkerX(double hue, double scaleWidth);
// Down (0) or up (1) on the playback volume: steps of 5 within 0..100. Returns the
// slave command that sets the new volume ("volume 85 1").
QString playbackVolumeClick(OptionsForm &f, int index);
// Shows or hides the two playback volume buttons; returns the help line's text entry.
int lblVolPlayClick(OptionsForm &f);

} // namespace opt
