// The source probe: tool 1's identify run read into a SourceInfo record, with the repairs for
// MPEG program streams, GIF animations and ASF files, and the summary shown for it.
// The command lines and the readers are pure functions on text; analyseSource runs
// the tools and fills the record it is given.
#pragma once

#include "core/jobrecords.h"

#include <QString>
#include <functional>

namespace engine {

// What one probe found: the source's record and what the reader saw besides.
struct SourceFacts : jobrecords::SourceInfo {
    // Tool 1 printed ID_START_TIME= (it says where an ASF stream starts).
    bool hasStartKey = false;
    float idStartTime = 0;
};

// tool1 -identify -ao null -vo null -frames 0 "file"
QString identifyCommand(const QString &tool1, const QString &file, const QString &md5File = QString());
// tool1 -ao null -vo null -fps 10000 "file": plays a GIF through at once to count frames.
QString gifCountCommand(const QString &tool1, const QString &file);

// Codec names as the rest of the program tests them: this player calls its MPEG audio
// decoder "mpg123"; that sound is MP3 to us ("mp3").
QString normalisedAudioCodec(const QString &codec);

// Reads the ID_...= lines of an identify run. Keys count only at the start of a line,
// so a file name holding "ID_LENGTH=" cannot feed values in. The audio keys are read
// from their last occurrence (the tool first prints a group of zeros for them).
SourceFacts parseIdentify(const QString &output);

// The GIF part: size from the "VIDEO:  [RGB]  WxH" line when the identify run gave none,
// then length, frame count and frame rate from the last "V:" status line of the
// count run. Returns the frame count found (0 when none).
int applyGifCount(SourceFacts &facts, const QString &identifyOutput, const QString &countOutput);
// "Static Gif" for one frame, "Animated Gifs" for more, else "".
QString gifResult(int gifFrames);

// ASF start offset and frame rate. The length stays what tool 1 said (it already is
// the duration); the start comes from ID_START_TIME, else from tool 3, else 3 s.
// tool3Start/tool3Fps: what tool 3 gave (0 = nothing); mciFps: the MCI frame rate
// (0 = not asked or nothing).
void applyAsfFix(SourceFacts &facts, float tool3Start, float tool3Fps, float mciFps);
// The ASF fix applies: demuxer "asf" with a frame rate of 1000 or 0.
bool needsAsfFix(const SourceFacts &facts);
// Tool 1's own TS reader finds no picture in a transport stream whose picture starts a
// few seconds after its sound, and no length: such a file is read again with the general
// reader (" -demuxer lavf" after the identify command), and its reading is taken when it
// found the picture (or the length) the first did not. The source's demuxer is then "lavf",
// and the tools read it that way.
bool needsGeneralReader(const SourceFacts &facts);
bool takesGeneralReading(const SourceFacts &own, const SourceFacts &general);
// MPEG program streams take their length from tool 3.
bool needsTool3Length(const SourceFacts &facts);

// The closing rules: length up to the next tenth (single precision), a frame rate of
// 0 or 1000 becomes 30, and no picture means no frame rate.
void finishFacts(SourceFacts &facts);

// The technical summary of the source-length label's tooltip:
// demuxer, video format, audio codec and the time shift, joined by txt::ListComma.
QString sourceSummary(const jobrecords::SourceInfo &source);


// A path the user chose names a usable file: a file (not a folder) whose length is not
// 0. Names are literal ("*" is no pattern). A path that cannot stand quoted on a tool
// command line (a double quote or a line break in it) is refused.
bool checkFileExists(const QString &path);
// Why a chosen path is no usable source: 0 when checkFileExists holds, the entry for an
// unreadable file (no permission), else txt::InvalidFileName (no such file, a folder, empty).
int sourceFileProblem(const QString &path);

// The tool file exists; when missing, txt::ToolFilesMissing and the tool's path are shown once
// and false returned.
bool checkPluginFile(const QString &toolPath);

struct AnalyseOptions {
    // Ask the MCI layer for an ASF frame rate as well (the developer check box).
    bool checkAsfMci = false;
    // Called with true once the tool is found and the probe starts, and with false
    // when it ends: the main window shows and hides its busy note.
    std::function<void(bool)> busy;
};

// Probes file into `into`. Returns gifResult(), or "" (also when tool 1 is missing:
// txt::ToolFilesMissing is shown and `into` stays as it was).
// decodes, when given, tells whether the same run decoded something of the source
// (sourcecheck::sourceDecodes).
QString analyseSource(const QString &file, jobrecords::SourceInfo &into,
                      const AnalyseOptions &options = AnalyseOptions(), bool *decodes = nullptr);

} // namespace engine
