#include "core/probes.h"

#include "core/cmdoutput.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "core/toolpaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <cmath>

namespace mdlMavrell {

namespace {

// The first line whose text (blanks skipped) begins with head, "" when none does.
QString lineStartingWith(const QStringList &lines, const QString &head, const QString &alsoHolding = QString())
{
    for (const QString &line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(head, Qt::CaseInsensitive) && (alsoHolding.isEmpty() || t.contains(alsoHolding)))
            return line;
    }
    return {};
}

// A rate as the tool writes it: "25", "29.97", or "90k" for 90000.
double rateValue(const QString &text)
{
    const QString t = text.trimmed();
    double v = numbertext::Val(t);
    if (t.endsWith('k'))
        v *= 1000;
    return v;
}

} // namespace

void ParseTool3Info(const QString &output, float &duration, float &start, float &fps)
{
    // The values are read from the lines that carry them, so that a file name or a
    // tag that happens to hold "Duration:" or "tbr" is never read as one.
    const QStringList lines = output.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);

    const QString durLine = lineStartingWith(lines, QStringLiteral("Duration:"));
    if (!durLine.isEmpty()) {
        int pos = 0;
        const QString d = GetBetween(durLine, QStringLiteral("Duration:"), QStringLiteral(","), false, pos);
        if (!d.isEmpty())
            duration = ParseTime(d);
        else
            pos = 0;
        const QString s = GetBetween(durLine, QStringLiteral("start:"), QStringLiteral(","), false, pos);
        if (!s.isEmpty())
            start = ParseTime(s);
    }

    const QString videoLine = lineStartingWith(lines, QStringLiteral("Stream #"), QStringLiteral("Video:"));
    if (!videoLine.isEmpty()) {
        QString r = GetBeforeMark(videoLine, QStringLiteral(","), QStringLiteral("tb(r)"));
        if (r.isEmpty())
            r = GetBeforeMark(videoLine, QStringLiteral(","), QStringLiteral("tbr"));
        const double v = rateValue(r);
        if (!r.isEmpty() && v > 0)
            fps = float(v);
    }
}

void ProbeByTool3(const QString &file, float &duration, float &start, float &fps)
{
    if (!ToolExists(3) || !Quotable(file))
        return;
    const QString cmd = ToolPath(3) + QStringLiteral(" -i ") + Quoted(file);
    ParseTool3Info(cmdoutput::GetCmdOutput(cmd, false), duration, start, fps);
}

void GetMciInfo(const QString &file, float &length, float &fps)
{
    QCoreApplication::processEvents();
    if (mci::SendString(QStringLiteral("open \"") + file + QStringLiteral("\" type mpegvideo alias forMciInfo")) == 0) {
        mci::SendString(QStringLiteral("set forMciInfo time format ms"));
        QCoreApplication::processEvents();
        QString ret;
        length = mci::SendString(QStringLiteral("status forMciInfo length"), &ret) == 0
                     ? float(numbertext::Val(ret) / 1000.0)
                     : 0.0f;
        QCoreApplication::processEvents();
        fps = mci::SendString(QStringLiteral("status forMciInfo frame rate"), &ret) == 0
                  ? float(numbertext::Val(ret) / 1000.0)
                  : 0.0f;
    }
    mci::SendString(QStringLiteral("close forMciInfo"));
    QCoreApplication::processEvents();
}

} // namespace mdlMavrell

namespace mci {

namespace {

struct Device {
    QString path;
    double lengthMs = -1;  // -1: unknown
    double fps = -1;       // -1: no picture
};

QMap<QString, Device> &devices()
{
    static QMap<QString, Device> d;
    return d;
}

// "num/den" or a plain number; -1 when it is no rate.
double rational(const QString &text)
{
    const int slash = int(text.indexOf('/'));
    if (slash < 0) {
        const double v = numbertext::Val(text);
        return v > 0 ? v : -1;
    }
    const double num = numbertext::Val(text.left(slash));
    const double den = numbertext::Val(text.mid(slash + 1));
    return (num > 0 && den > 0) ? num / den : -1;
}

int openDevice(const QString &args)
{
    QString rest = args.trimmed();
    QString path;
    if (rest.startsWith('"')) {
        const int end = int(rest.indexOf('"', 1));
        if (end < 0)
            return errMissingParameter;
        path = rest.mid(1, end - 1);
        rest = rest.mid(end + 1);
    } else {
        const int blank = int(rest.indexOf(' '));
        path = blank < 0 ? rest : rest.left(blank);
        rest = blank < 0 ? QString() : rest.mid(blank + 1);
    }
    if (path.isEmpty())
        return errMissingParameter;
    QString type;
    QString alias = path;
    const QStringList words = rest.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < words.size(); ++i) {
        const QString w = words[i].toLower();
        if ((w == QLatin1String("type") || w == QLatin1String("alias")) && i + 1 < words.size()) {
            (w == QLatin1String("type") ? type : alias) = words[++i];
        } else {
            return errUnrecognizedCommand;
        }
    }
    if (!type.isEmpty() && type.compare(QLatin1String("mpegvideo"), Qt::CaseInsensitive) != 0)
        return errInvalidDeviceName;
    const QString key = alias.toLower();
    if (devices().contains(key))
        return errDuplicateAlias;

    const QString probe = ffprobePath();
    if (probe.isEmpty() || !QFileInfo(path).isFile() || !mdlMavrell::Quotable(path))
        return errCannotOpen;
    cmdoutput::RunLimits limits;
    limits.mirror = false;
    const cmdoutput::RunResult r = cmdoutput::RunTool(
        probe
            + QStringLiteral(" -v error -show_entries format=duration:stream=codec_type,avg_frame_rate,r_frame_rate"
                             " -of default=noprint_wrappers=1 ")
            + mdlMavrell::Quoted(path),
        limits);
    if (!r.started || r.exitCode != 0)
        return errCannotOpen;

    Device dev;
    dev.path = path;
    bool inVideo = false;
    double avg = -1, real = -1;
    bool videoSeen = false;
    const QStringList lines = r.output.split('\n', Qt::SkipEmptyParts);
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("codec_type="))) {
            // Only the first video stream counts.
            inVideo = !videoSeen && line.mid(11) == QLatin1String("video");
            videoSeen = videoSeen || inVideo;
        } else if (inVideo && line.startsWith(QLatin1String("avg_frame_rate="))) {
            avg = rational(line.mid(15));
        } else if (inVideo && line.startsWith(QLatin1String("r_frame_rate="))) {
            real = rational(line.mid(13));
        } else if (line.startsWith(QLatin1String("duration="))) {
            const QString v = line.mid(9);
            if (!v.isEmpty() && (v[0].isDigit() || v[0] == '.'))
                dev.lengthMs = numbertext::Val(v) * 1000.0;
        }
    }
    dev.fps = avg > 0 ? avg : real;
    devices().insert(key, dev);
    return ok;
}

} // namespace

QString ffprobePath()
{
    const QFileInfo tool3(mdlMavrell::ToolPath(3));
    const QString target = tool3.canonicalFilePath();
    if (!target.isEmpty()) {
        const QFileInfo beside(QFileInfo(target).absolutePath() + QStringLiteral("/ffprobe"));
        if (beside.isFile() && beside.isExecutable())
            return beside.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

int SendString(const QString &command, QString *returnText)
{
    if (returnText)
        returnText->clear();
    const QString text = command.trimmed();
    const int blank = int(text.indexOf(' '));
    const QString verb = (blank < 0 ? text : text.left(blank)).toLower();
    const QString args = blank < 0 ? QString() : text.mid(blank + 1).trimmed();
    if (verb == QLatin1String("open"))
        return openDevice(args);

    const QStringList words = args.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return verb == QLatin1String("close") || verb == QLatin1String("set") || verb == QLatin1String("status")
                   ? errMissingParameter
                   : errUnrecognizedCommand;
    const QString key = words[0].toLower();
    if (verb != QLatin1String("close") && verb != QLatin1String("set") && verb != QLatin1String("status"))
        return errUnrecognizedCommand;
    auto it = devices().find(key);
    if (it == devices().end())
        return errInvalidDeviceName;
    const QString what = words.mid(1).join(' ').toLower();

    if (verb == QLatin1String("close")) {
        devices().erase(it);
        return ok;
    }
    if (verb == QLatin1String("set")) {
        if (what == QLatin1String("time format ms") || what == QLatin1String("time format milliseconds"))
            return ok;
        return what.startsWith(QLatin1String("time format")) ? errUnsupportedFunction : errUnrecognizedCommand;
    }
    // status
    if (what == QLatin1String("length")) {
        if (it->lengthMs < 0)
            return errNoValue;
        if (returnText)
            *returnText = numbertext::integer(std::llround(it->lengthMs));
        return ok;
    }
    if (what == QLatin1String("frame rate")) {
        if (it->fps <= 0)
            return errNoValue;
        if (returnText)
            *returnText = numbertext::integer(std::llround(it->fps * 1000.0));
        return ok;
    }
    return errUnsupportedFunction;
}

} // namespace mci
