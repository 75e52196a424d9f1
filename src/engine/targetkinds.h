// The kinds of job the target menu starts, as one table: for each kind the tool that
// makes it, its container and codec options for that tool, whether it copies the
// source's streams, and what its result must hold. The menu, the command builder, the
// job checks, the job planner, the options presets and the result check read the row
// of the job's kind instead of comparing kind names.
#pragma once

#include "core/jobrecords.h"

#include <QList>
#include <QString>

namespace engine {

// The options dialog's preset families (engine/optionpresets.h).
enum class TargetFamily { Sound, Cut, Repair, Mpeg1, Mpeg2, Vcd, Dvd, OtherVideo };

// What follows a kind's options on tool 2's line.
enum class OptionTail {
    Picture,  // the time range, the picture filters, the sound options, harddup
    Sound,    // the time range, the sound options, harddup (the picture is copied)
    Range,    // the time range and harddup (a cut)
    Plain,    // harddup alone (a repair takes the whole source)
};

// Tool 2's options of a kind for one variant of its target: the container, the codecs
// and their rates, and for the MPEG program streams tool 3's options for the second run
// that writes the target. The builder fills in {key} (key-frame interval), {vrate}, {arate}
// (kbit/s), {peak} (MPEG-2 peak rate), {fps}, {mp2} (MP2 sound at the job's rate),
// {mp2:N} (at N kbit/s), and for the stream copies {wma} (the source's WMA codec),
// {srcrate} (the source's sound kbit/s), {avimp3} (the source's sound made MP3 with its
// own channels and rate) and {audio} (the job's sound options).
struct ToolOptions {
    // The target's variant: "" any; the extension ("wmv", "avi", "mpg", "dat", "vob");
    // "mpg-mpeg2" an MPEG program stream of an MPEG-2 picture; "avi-mp3" an AVI copy whose
    // sound becomes MP3. A variant not listed falls back to the part before "-", then "".
    QString variant;
    QString options;
    // Tool 3's options for a second run: tool 2 writes an intermediate file beside the
    // target, and tool 3 writes the target from it with these options (the container,
    // its mux rate and packet size; the DVD's sound made AC-3). "": tool 2 writes the
    // target itself.
    QString rewrite{};
};

// The words a kind's job is called by (its action word, the captions of the main
// window's settings, encode and stop buttons) and the layout of its settings summary.
enum class JobWords {
    Conversion,    // "Conversion" (a sound target: "Conversion to" and its format)
    AdjustVolume,  // "Adjust" "Volume"
    Cut,           // "Cut" "Video"
    Repair,        // "Repair" "Video"
};

// How the A/V sync correction (-mc) is chosen.
enum class SyncRule {
    Correct,     // " -mc 1", but " -mc 0" for an SVQ picture with PCM sound and on the retry
    FlvOnly,     // " -mc 1" for an FLV picture, else " -mc 0"
    Off,         // " -mc 0"
};

// How a kind's result keeps the display shape of the picture (engine/pictureshape.h).
enum class ShapeRule {
    None,          // the picture is not encoded again (copied, or none): nothing is written
    Flag,          // any shape is written into the picture's header (MPEG-4, H.264)
    Mpeg1,         // MPEG-1's pixel shapes; a shape it has none near is made of square pixels
    Mpeg2,         // MPEG-2's 4:3, 16:9 and 2.21:1, or square pixels
    Square,        // the picture holds no shape: it is sized to square pixels
    Frame43,       // VCD: the format's frame shows at 4:3
    Frame43Or169,  // DVD: 4:3 or 16:9, whichever is nearer the source's shape
};

// The kind names JobSettings::targetFormat holds. The sound targets hold the sound word
// and their type instead and are known by JobSettings::targetIsAudio.
namespace kind {
inline const QString Vcd = QStringLiteral("VCD");
inline const QString Dvd = QStringLiteral("DVD");
inline const QString Mpeg1 = QStringLiteral("MPEG1");
inline const QString Mpeg2 = QStringLiteral("MPEG2");
inline const QString Wmv7 = QStringLiteral("WMV7");
inline const QString Wmv8 = QStringLiteral("WMV8");
inline const QString Mp42 = QStringLiteral("MP42");
inline const QString Xvid = QStringLiteral("XviD");
inline const QString Divx = QStringLiteral("DivX");
inline const QString H264 = QStringLiteral("H.264");
inline const QString KeepVideoMp3 = QStringLiteral("AudIsMp3");
inline const QString ChangeVolume = QStringLiteral("onlyTransVol");
inline const QString Cut = QStringLiteral("onlyCut");
inline const QString Repair = QStringLiteral("onlyFix");
} // namespace kind

struct TargetKind {
    QString format;                 // the kind's name ("" for the sound targets)
    QList<ToolOptions> options;     // none for the sound targets: tool 3 writes them
    OptionTail tail = OptionTail::Picture;
    SyncRule sync = SyncRule::Correct;
    int minVideoRate = 0;           // the video rate is raised to this (MPEG-1: 1200)
    bool soundTarget = false;       // tool 3 writes a sound file
    bool copyJob = false;           // volume change, cut, repair: the source's container is kept
    bool copiesPicture = false;     // the picture is copied as it is, not encoded again
    bool generalMuxer = false;      // tool 2 writes the file with its general muxer (-of lavf)
    bool needsSound = false;        // the job works on the sound: a source without one is refused
    int noSoundEntry = 0;           // the text-table entry that says so
    bool repair = false;            // the result is to hold the whole source; progress from the time line
    bool fixedFrame = false;        // VCD and DVD: the picture size and frame are the format's
    ShapeRule shape = ShapeRule::None;  // how the result keeps the picture's shape
    bool subtitles = true;          // subtitles can be burnt into the picture
    bool resultPicture = true;      // the result holds a picture when the source has one
    QString nameSuffix = QStringLiteral(".");  // between the target's base name and its extension
    TargetFamily family = TargetFamily::OtherVideo;
    JobWords words = JobWords::Conversion;

    // The options for a variant, by the fallback rule; nullptr when the kind has none.
    const ToolOptions *optionsFor(const QString &variant) const;
};

// Every kind, the sound target last.
const QList<TargetKind> &targetKinds();
// The row of a kind name; nullptr for an unknown name.
const TargetKind *findTargetKind(const QString &format);
// The row of the job's kind: the sound target's for an audio target; nullptr when the
// job has no known kind.
const TargetKind *targetKindOf(const jobrecords::JobSettings &job);

// The container a stream copy into target extension ext writes, and which the source
// must have: "mpegps" (mpg, mpeg, dat, vob), "asf" (wmv) or "avi" (any other).
QString copyContainer(const QString &ext);

// The job cannot be made from this source: a job on the sound of a source without one,
// or a picture job from a source without a picture.
bool isJobImpossible(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);
// The text-table entry of the first check the job fails against the source, 0 when the
// job suits the source.
int jobMismatchEntry(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

} // namespace engine
