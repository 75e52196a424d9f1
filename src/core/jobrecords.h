// The records of one job: the source as the probe found it, the job's settings as the
// target menu and the options dialog made them, and the preview's values. Plain values:
// the windows own one of each and hand them to the engine by const reference, so the
// command builder, the job planner and the checks are functions of what they are given.
#pragma once

#include <QString>
#include <array>

namespace jobrecords {

// What the probe found out about the source.
struct SourceInfo {
    int srcWidth = 0;          // 0 = no picture
    int srcHeight = 0;
    float srcLength = 0;       // seconds; 0 = no length found (source refused)
    float srcFps = 0;          // 0 when there is no picture
    float srcAspect = 0;       // the picture's shape as shown (width / height); 0 = not known
    float srcStartTime = 0;    // stream start offset (ASF), subtracted from tool times
    int gifFrames = 0;         // frames of a GIF source (1 = still), else 0
    QString srcDemuxer;        // lower case; "audio" marks an audio-only source
    QString srcVideoFormat;    // "0x10000001", ...
    QString srcAudioCodec;     // "" = no sound track
    int srcAudioBitrate = 0;   // kbit/s
    int srcAudioRate = 0;      // Hz
    int srcAudioChannels = 0;

    bool hasPicture() const { return qint64(srcWidth) * srcHeight >= 1; }
    bool hasSound() const { return !srcAudioCodec.isEmpty(); }
};

// The job being prepared.
struct JobSettings {
    QString targetExt;         // without the dot
    QString targetFormat;      // the job's kind (engine/targetkinds.h)
    // The job is an audio target. Kept apart from targetFormat so that changing the
    // language after choosing a target does not change the kind of job.
    bool targetIsAudio = false;
    QString actionWord;
    int outWidth = 0;
    int outHeight = 0;
    QString fpsText;
    QString videoBitrateText;
    QString audioBitrateText;
    float markIn = 0;          // 0 = from the start
    float markOut = 0;         // 0 = to the end
    float encodeSeconds = 0;   // the progress total
    QString scaleFilter;
    QString colorFilter;
    QString rotateFilter;
    std::array<int, 6> cropRect{};  // (0) 1 when set, (1) left, (2) top, (3) right, (4) bottom
    QString subtitleOpts;
    QString audioOpts;
    QString encodeVolumeOpt;

    // What a job's options made of the settings (sizes, marks, rate texts, the option
    // pieces, the crop box) back to nothing, keeping the target kind.
    void resetOptions();
};

// The preview's values.
struct PreviewState {
    float previewPos = 0;
    QString previewVolumeOpt;
    QString previewAddOpts;    // always empty
    float secPerSliderUnit = 0;
    int playerMode = 0;        // 0 stand-alone, 1 loading as big screen, 2 big screen running
};

bool isAudioTarget(const JobSettings &job);
bool isAudioOnlySource(const SourceInfo &source);

// Clears the source, the job's options and the preview's position and volume for a new
// source, keeping the target kind.
void resetForNewSource(SourceInfo &source, JobSettings &job, PreviewState &preview);

} // namespace jobrecords
