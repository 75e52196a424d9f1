// The option pieces of the job that the options dialog writes into JobSettings: audio,
// subtitles, picture (scale, crop, borders), volume, rotation and colour. Every
// non-empty piece begins with a blank; numbers always use "." as decimal point.
#pragma once

#include "options/optionsform.h"

#include <array>

namespace opt {

// ---- Audio ----
// The audio piece for the page as it stands.
QString audioPiece(const OptionsForm &f);
// The job's audioOpts := audioPiece(f).
void setAduioPara(const OptionsForm &f);

// ---- Subtitles ----
// Whether burnt-in subtitles belong to the job: not for the stream-copy jobs, the MP3
// re-encode or sound targets, nor while the subtitle page is masked.
bool subtitlesApply(const OptionsForm &f);
// A path as one element of the player's "-sub" list: every "," written as "\,".
QString escapeSubListPath(const QString &path);
// The subtitle piece, or "" when no subtitles apply. Puts the path the box names
// (mdlMavrell::PathAsTyped) into txtSubFile. A missing file
// gives "": unless quiet (and only when subtitles apply) the subtitle page is shown,
// the path box is asked for the focus, the message is shown and failed is set.
QString getSubPara(OptionsForm &f, bool &failed, bool quiet);

// ---- Picture ----
struct PicturePieces {
    std::array<int, 6> cropRect{};
    QString scaleFilter;
    int summaryWidth = 0, summaryHeight = 0;
};
// Scale, crop and border pieces for the accepted output size.
PicturePieces pictureFilters(const OptionsForm &f, int outW, int outH);

// ---- Volume, rotation, colour ----
// "" while the volume adjuster is at its neutral value. For a sound target the gain
// in dB becomes tool 3's linear "-vol" (256 = unchanged), else the encoder's dB filter.
QString volumePiece(const OptionsForm &f);
QString getRotateFilter(int listIndex);
QString colorPiece(const OptionsForm &f);

// Whether an adjuster differs from its neutral (reset) value.
bool adjusterChanged(const OptionsForm &f, Adjuster a);

} // namespace opt
