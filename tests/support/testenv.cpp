#include "support/testenv.h"

#include "core/mdlmavrell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace testenv {

void prepareProcessEnvironment()
{
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QString dir = QDir::tempPath() + QStringLiteral("/mavrell-runtime-") + QString::number(getuid());
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
    }
}

namespace {

// ffmpeg arguments that make each clip (output path appended).
QStringList recipe(const QString &name)
{
    const QStringList video3 = {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=3"};
    const QStringList audio3 = {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=3"};
    QMap<QString, QStringList> r;
    r["mpeg1.mpg"] = video3 + audio3 + QStringList{"-c:v", "mpeg1video", "-b:v", "800k", "-c:a", "mp2", "-ac", "2", "-f", "mpeg"};
    r["mpeg2.vob"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=352x288:rate=25:duration=3", "-f", "lavfi", "-i",
                                 "sine=frequency=440:sample_rate=48000:duration=3"}
                     + QStringList{"-c:v", "mpeg2video", "-b:v", "1500k", "-c:a", "ac3", "-ac", "2", "-f", "vob"};
    r["mpeg4.avi"] = video3 + audio3 + QStringList{"-c:v", "mpeg4", "-vtag", "XVID", "-c:a", "libmp3lame", "-ac", "2"};
    r["wmv2.wmv"] = video3 + audio3 + QStringList{"-c:v", "wmv2", "-c:a", "wmav2", "-ac", "2"};
    r["h264.mp4"] = video3 + audio3 + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-ac", "2"};
    r["wmv2997.wmv"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=30000/1001:duration=3"} + audio3
                       + QStringList{"-c:v", "wmv2", "-c:a", "wmav2", "-ac", "2"};
    r["flv1.flv"] = video3 + audio3 + QStringList{"-c:v", "flv", "-c:a", "libmp3lame", "-ar", "44100"};
    r["vorbis.ogg"] = audio3 + QStringList{"-c:a", "libvorbis"};
    r["tone.mp3"] = audio3 + QStringList{"-c:a", "libmp3lame", "-b:a", "128k"};
    r["tone.wav"] = audio3 + QStringList{"-c:a", "pcm_s16le"};
    r["anim.gif"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1"};
    r["still.gif"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=160x120:rate=1:duration=1", "-frames:v", "1"};
    r["silent.avi"] = video3 + QStringList{"-c:v", "mpeg4", "-an"};
    r["long.avi"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=20", "-f", "lavfi", "-i",
                                "sine=frequency=440:sample_rate=44100:duration=20"}
                    + QStringList{"-c:v", "mpeg4", "-g", "25", "-c:a", "libmp3lame", "-ac", "2"};
    r["long.wmv"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=20", "-f", "lavfi", "-i",
                                "sine=frequency=440:sample_rate=44100:duration=20"}
                    + QStringList{"-c:v", "wmv2", "-g", "25", "-c:a", "wmav2", "-ac", "2"};
    // The same with the encoder's own key-frame spacing: the player's seeks in it land
    // seconds early (-ss 6.8 on 4.8 s) unless they are calibrated.
    r["seek.wmv"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=20", "-f", "lavfi", "-i",
                                "sine=frequency=440:sample_rate=44100:duration=20"}
                    + QStringList{"-c:v", "wmv2", "-c:a", "wmav2", "-ac", "2"};
    // 20 s of a 640x360 picture with sound, as a Matroska file.
    r["wide20.mkv"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=640x360:rate=25:duration=20", "-f", "lavfi", "-i",
                                  "sine=frequency=440:sample_rate=44100:duration=20"}
                      + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "libvorbis", "-ac", "2"};
    // Pictures that show at another shape than their size: a 720x480 MPEG-2 flagged 16:9
    // (pixels of 32:27), and a 640x480 H.264 of pixels 16:15 wide (64:45).
    r["anamorphic.mpg"] = QStringList{"-f", "lavfi", "-i", "testsrc=size=720x480:rate=30000/1001:duration=3", "-f", "lavfi",
                                      "-i", "sine=frequency=440:sample_rate=48000:duration=3"}
                          + QStringList{"-c:v", "mpeg2video", "-b:v", "3000k", "-aspect", "16:9", "-c:a", "mp2", "-ac", "2",
                                        "-f", "mpeg"};
    r["sar1615.mp4"] = video3 + audio3
                       + QStringList{"-vf", "scale=640:480,setsar=16/15", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                                     "yuv420p", "-c:a", "aac", "-ac", "2"};
    // One channel of sound: tool 1 reads MP3 as two channels whatever the file holds.
    r["mono.avi"] = video3 + audio3 + QStringList{"-c:v", "mpeg4", "-c:a", "libmp3lame", "-ac", "1"};
    // Sound that runs 2 s past the end of the picture.
    const QStringList tail = {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=4", "-f", "lavfi", "-i",
                              "sine=frequency=440:sample_rate=44100:duration=6"};
    r["soundtail.avi"] = tail + QStringList{"-c:v", "mpeg4", "-g", "25", "-c:a", "libmp3lame", "-ac", "2"};
    r["soundtail.mp4"] = tail + QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-pix_fmt", "yuv420p",
                                            "-c:a", "aac", "-ac", "2"};
    return r.value(name);
}

} // namespace

QString fixture(const QString &name)
{
    const QString dir = QStringLiteral(MAVRELL_FIXTURE_DIR);
    QDir().mkpath(dir);
    const QString path = dir + '/' + name;
    if (QFileInfo(path).size() > 0)
        return path;
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(120000);
    lock.lock();
    if (QFileInfo(path).size() > 0)
        return path;
    const QStringList args = recipe(name);
    if (args.isEmpty()) {
        ADD_FAILURE() << "no recipe for fixture " << name.toStdString();
        return {};
    }
    const QString ext = QFileInfo(name).suffix();
    const QString part = dir + QStringLiteral("/.making.") + QString::number(QCoreApplication::applicationPid()) + '.' + ext;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QStringList all = {"-nostdin", "-y", "-loglevel", "error"};
    all << args << part;
    p.start(QStringLiteral("ffmpeg"), all);
    p.waitForFinished(120000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || QFileInfo(part).size() == 0) {
        ADD_FAILURE() << "ffmpeg could not make " << name.toStdString() << ": " << p.readAll().toStdString();
        QFile::remove(part);
        return {};
    }
    QFile::remove(path);
    QFile::rename(part, path);
    return path;
}

bool runs(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ffmpeg(const QStringList &args)
{
    return runs(QStringLiteral("ffmpeg"), QStringList{"-nostdin", "-v", "error", "-y"} + args);
}

QString buildAppDir() { return QStringLiteral(MAVRELL_BUILD_APP_DIR "/"); }

ProgramDir::ProgramDir()
{
    QDir(dir_.path()).mkpath(QStringLiteral("plugins"));
    const char *tools[] = {"/usr/bin/mplayer", "/usr/bin/mencoder", "/usr/bin/ffmpeg"};
    for (int n = 1; n <= 3; ++n)
        QFile::link(QString::fromLatin1(tools[n - 1]), pluginPath(n));
}

QString ProgramDir::appDir() const { return dir_.path() + '/'; }

QString ProgramDir::pluginPath(int tool) const
{
    return appDir() + QStringLiteral("plugins/OrvexRes") + QString::number(tool);
}

void ProgramDir::silentPlayer(const QByteArray &extraOptions)
{
    fakeTool(1, "exec /usr/bin/mplayer \"$@\" -ao null" + extraOptions + "\n");
}

void placeholderTexts()
{
    for (int n = 1; n < mdlMavrell::lngSize; ++n)
        mdlMavrell::lng[n] = QStringLiteral("L%1").arg(n);
}

void ProgramDir::fakeTool(int tool, const QByteArray &scriptBody)
{
    const QString path = pluginPath(tool);
    QFile::remove(path);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("#!/bin/sh\n");
        f.write(scriptBody);
        f.close();
    }
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void ProgramDir::activate()
{
    if (!active_)
        previousAppDir_ = mdlMavrell::appDir;
    mdlMavrell::appDir = appDir();
    active_ = true;
}

ProgramDir::~ProgramDir()
{
    if (active_)
        mdlMavrell::appDir = previousAppDir_;
}

} // namespace testenv
