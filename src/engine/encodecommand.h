// The encoder command line of a conversion, built as text from the job's records (the
// source as probed and the job's settings) and the two tool paths. Nothing here runs a tool or opens a
// window except confirmRealFormat, which asks the user through the prompts seam.
#pragma once

#include "core/jobrecords.h"

#include <QString>
#include <QStringList>

namespace encodecommand {

// Values taken from the job once per press of the encode button and kept for a rebuild.
struct Prepared {
    QString fps;    // the text written after "-ofps"
    int keyint = 2; // key-frame interval, at least 2
    QString vrate;  // video kbit/s as typed ("1200" at least for MPEG-1, see build)
    QString arate;  // audio kbit/s as typed
    int peak = 0;   // MPEG-2 peak rate: 3 x vrate, at most 9000
};
Prepared prepare(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

struct Inputs {
    QString tool2;
    QString tool3;
    QString src;           // source path, written between double quotes
    QString dst;           // target path, written between double quotes
    QString output;        // the file the tools write, "" for dst itself (see encodeflow::partPath)
    QString aviSoundNote;  // not empty: an AVI stream-copy job re-encodes its sound to MP3
    bool retry = false;    // the accepted retry: re-encoding targets lose their A/V sync correction
};

struct Built {
    // The command text. A job made by two tools in turn holds one line per tool,
    // separated by "\n"; each line is one tool run.
    QString command;
    QString mc;               // " -mc 1" or " -mc 0" as chosen for this build; "" for tool 3
    QString expectedDemuxer;  // stream-copy jobs: the container the source must have
    QString intermediate;     // a file the first tool writes for the second; "" when none
};

// Builds the command for the job from its kind's row (engine/targetkinds.h) and its
// target extension. `prep` may be changed (MPEG-1 raises its video rate to 1200); `range` is the time-range piece, and audio targets rewrite its
// "-endpos" to "-t" in place, so a rebuild sees the rewritten piece. The container check
// is not asked here: see expectedDemuxer and confirmRealFormat.
Built build(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job, Prepared &prep,
            QString &range, const Inputs &in);

// The container check of a stream-copy job: true when the source's demuxer is the
// expected one or the user forces the job with OK; false when the user cancels.
bool containerMatches(const jobrecords::SourceInfo &source, const QString &expectedDemuxer);
QString containerQuestion(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);
bool confirmRealFormat(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job,
                       const QString &expectedDemuxer);

// A stream-copy job into an MPEG program stream (mpg, dat, vob) keeps the source's
// picture, and such a file carries only an MPEG-1 or MPEG-2 picture: any other (the
// H.264 of an MP4) makes a file that no player decodes. The message that refuses such a
// job (txt::PictureCannotBeKept with the picture's and the target's names); "" when the job can run.
QString keptPictureProblem(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

// Display names of the source's real container and of its sound codec.
QString getRealFormatName(const jobrecords::SourceInfo &source);
QString getRealAudioCodecName(const jobrecords::SourceInfo &source);

// The developer presets (0 none, 1 "29.97 , -mc 1", 2 "29.97 , -mc 0", 3 "29.97 , no mc!").
QString applyDeveloperPreset(const QString &command, int index);
QStringList developerPresetItems();

// The tool runs of a command text, in order (its non-empty lines).
QStringList stages(const QString &command);

// Where a job of two runs (the MPEG program streams) keeps what tool 2 wrote for tool 3
// to write target dst from.
QString intermediatePath(const QString &dst);

} // namespace encodecommand
