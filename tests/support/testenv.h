// What every test may need: a sane process environment, small media clips made once
// with the real ffmpeg, and a temporary program folder with its own plugins/.
#pragma once

#include "core/jobrecords.h"

#include <QString>
#include <QTemporaryDir>
#include <initializer_list>

namespace testenv {

// XDG_RUNTIME_DIR and the like, set before the QApplication exists.
void prepareProcessEnvironment();

// Path of a generated media clip, made on first use with ffmpeg (lavfi testsrc + sine)
// into the build tree and reused by later tests; safe when tests run in parallel.
// Names: "mpeg1.mpg" (MPEG-1 + MP2), "mpeg2.vob" (MPEG-2 + AC-3), "mpeg4.avi" (MPEG-4 + MP3),
// "wmv2.wmv" (WMV2 + WMA, 25 fps), "wmv2997.wmv" (the same at 29.97 fps), "h264.mp4" (H.264 + AAC), "flv1.flv", "vorbis.ogg",
// "tone.mp3", "tone.wav", "anim.gif", "still.gif", "silent.avi" (no sound track),
// "long.avi" (20 s, MPEG-4 + MP3, key frame every 25 frames), "long.wmv" (the same as WMV2 +
// WMA), "seek.wmv" (20 s of WMV2 + WMA with the encoder's own key frames; seeks in it land early),
// "wide20.mkv" (20 s, 640x360 H.264 + Vorbis), "anamorphic.mpg" (720x480 MPEG-2 + MP2 flagged 16:9),
// "sar1615.mp4" (640x480 H.264 + AAC, pixels of 16:15),
// "mono.avi" (MPEG-4 + one channel of MP3), "soundtail.avi" and "soundtail.mp4" (4 s of 160x120
// picture, 6 s of sound).
// Fails the calling test (ADD_FAILURE) and returns "" when ffmpeg cannot make it.
QString fixture(const QString &name);

// Runs a program of the system (ffmpeg, mencoder) with args and no input, and waits for
// it: true when it ended with status 0. For files a test makes itself.
bool runs(const QString &program, const QStringList &args);
// ffmpeg, quiet and overwriting: runs("ffmpeg", {"-nostdin", "-v", "error", "-y"} + args).
bool ffmpeg(const QStringList &args);

// A source as the probe describes it: a picture of width x height (0 x 0: none) at fps
// frames per second, length seconds, in the container demuxer, with the sound codec
// audioCodec ("" none).
inline jobrecords::SourceInfo sampleSource(int width, int height, float length, const QString &demuxer = QString(),
                                           const QString &audioCodec = QString(), float fps = 25)
{
    jobrecords::SourceInfo s;
    s.srcWidth = width;
    s.srcHeight = height;
    s.srcLength = length;
    s.srcFps = fps;
    s.srcDemuxer = demuxer;
    s.srcAudioCodec = audioCodec;
    return s;
}

// Lines of a tool's output: each text followed by a line feed.
inline QString lines(std::initializer_list<const char *> l)
{
    QString s;
    for (const char *x : l)
        s += QString::fromUtf8(x) + QLatin1Char('\n');
    return s;
}

// The build's own program folder (with plugins/ linking to the real tools), ending in "/".
QString buildAppDir();

// Every entry of the text table as "L<n>", so a test sees which entry a window shows.
void placeholderTexts();

// A temporary program folder: plugins/OrvexRes1..3 link to the real tools unless
// replaced with a script of the test's own. appDir() ends in "/".
class ProgramDir {
public:
    ProgramDir();
    QString appDir() const;
    QString pluginPath(int tool) const;
    // Replaces tool n by a shell script with the given body (after "#!/bin/sh").
    void fakeTool(int tool, const QByteArray &scriptBody);
    // Tool 1 as the real player without sound, given the extra options too.
    void silentPlayer(const QByteArray &extraOptions = {});
    // Points mdlMavrell::appDir here for the lifetime of this object.
    void activate();
    ~ProgramDir();

private:
    QTemporaryDir dir_;
    QString previousAppDir_;
    bool active_ = false;
};

} // namespace testenv
