// The main module's shared state: the text table, the source and job records,
// the preview's shared values, the start-up environment, flags, and the small
// predicates every subsystem calls. Plain variables on the GUI thread, no locking.
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

// ---- SourceInfo: what the probe found out about the source. ----
inline int srcWidth = 0;          // 0 = no picture
inline int srcHeight = 0;
inline float srcLength = 0;       // seconds; 0 = no length found (source refused)
inline float srcFps = 0;          // 0 when there is no picture
inline float srcStartTime = 0;    // stream start offset (ASF), subtracted from tool times
inline int gifFrames = 0;         // frames of a GIF source (1 = still), else 0
inline QString srcDemuxer;        // lower case; "audio" marks an audio-only source
inline QString srcVideoFormat;    // "0x10000001", ...
inline QString srcAudioCodec;     // "" = no sound track
inline int srcAudioBitrate = 0;   // kbit/s
inline int srcAudioRate = 0;      // Hz
inline int srcAudioChannels = 0;

// ---- JobSettings: the job being prepared. ----
inline QString targetExt;         // without the dot
inline QString targetFormat;      // "VCD", "DVD", ..., txt::AudioWord + " MP3", "onlyCut", ...
// The job is an audio target. Kept apart from targetFormat's caption word so that
// changing the language after choosing a target does not change the kind of job.
inline bool targetIsAudio = false;
inline QString actionWord;
inline int outWidth = 0;
inline int outHeight = 0;
inline QString fpsText;
inline QString videoBitrateText;
inline QString audioBitrateText;
inline float markIn = 0;          // 0 = from the start
inline float markOut = 0;         // 0 = to the end
inline float encodeSeconds = 0;   // the progress total
inline QString scaleFilter;
inline QString colorFilter;
inline QString rotateFilter;
inline std::array<int, 6> cropRect{};  // (0) 1 when set, (1) left, (2) top, (3) right, (4) bottom
inline QString subtitleOpts;
inline QString audioOpts;
inline QString encodeVolumeOpt;

// ---- PreviewState ----
inline float previewPos = 0;
inline QString previewVolumeOpt;
inline QString previewAddOpts;    // always empty
inline float secPerSliderUnit = 0;
inline int playerMode = 0;        // 0 stand-alone, 1 loading as big screen, 2 big screen running

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
bool isAudioTarget();
bool isAudioOnlySource();
bool isJobImpossible();
int RoundUp(float x);
int Clamp(int v, int lo, int hi);
bool iconFileExists();  // the developer marker appDir + "Quennet.ico"

// Resets SourceInfo to its zero values.
void resetSourceInfo();
// Resets what a job's options made of JobSettings (sizes, marks, rate texts, the option
// pieces, the crop box), keeping the target kind.
void resetJobOptions();
// Resets the whole of JobSettings, the target kind included.
void resetJobSettings();

} // namespace mdlMavrell
