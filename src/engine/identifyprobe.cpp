#include "engine/identifyprobe.h"

#include "core/cmdoutput.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/probes.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace engine {

namespace {

QString quoted(const QString &file) { return QLatin1Char('"') + file + QLatin1Char('"'); }

// Text that reads wholly as a number ("12", " 3.5 ", "-1e3"); "" and "12a" do not.
bool isNumeric(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

// The ID_ lines of the output: key (upper case, with its "=") to the values in order.
struct IdLines {
    QStringList lines;
    QString first(const char *key) const
    {
        const QString k = QString::fromLatin1(key);
        for (const QString &l : lines)
            if (l.startsWith(k, Qt::CaseInsensitive))
                return l.mid(k.size()).trimmed();
        return {};
    }
    QString last(const char *key) const
    {
        const QString k = QString::fromLatin1(key);
        for (auto it = lines.crbegin(); it != lines.crend(); ++it)
            if (it->startsWith(k, Qt::CaseInsensitive))
                return it->mid(k.size()).trimmed();
        return {};
    }
    bool has(const char *key) const
    {
        const QString k = QString::fromLatin1(key);
        for (const QString &l : lines)
            if (l.startsWith(k, Qt::CaseInsensitive))
                return true;
        return false;
    }
};

bool usable(const QString &text) { return !text.isEmpty() && numtext::Val(text) > 0; }
int whole(const QString &text) { return int(numtext::roundHalfEven(numtext::Val(text))); }

bool unquotable(const QString &path)
{
    return path.contains(QLatin1Char('"')) || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'));
}

} // namespace

QString identifyCommand(const QString &tool1, const QString &file)
{
    return tool1 + QStringLiteral(" -identify -ao null -vo null -frames 0 ") + quoted(file);
}

QString gifCountCommand(const QString &tool1, const QString &file)
{
    return tool1 + QStringLiteral(" -ao null -vo null -fps 10000 ") + quoted(file);
}

QString normalisedAudioCodec(const QString &codec)
{
    if (codec == QLatin1String("mpg123"))
        return QStringLiteral("mp3");
    return codec;
}

SourceFacts parseIdentify(const QString &output)
{
    IdLines id;
    id.lines = output.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    SourceFacts f;

    QString v = id.first("ID_VIDEO_WIDTH=");
    if (usable(v))
        f.width = whole(v);
    v = id.first("ID_VIDEO_HEIGHT=");
    if (usable(v))
        f.height = whole(v);
    v = id.first("ID_VIDEO_FPS=");
    if (usable(v))
        f.fps = float(numtext::Val(v));
    v = id.first("ID_LENGTH=");
    if (!v.isEmpty()) {
        const int point = int(v.indexOf(QLatin1Char('.')));
        const QString intPart = point < 0 ? v : v.left(point);
        if (intPart.size() >= 6)
            f.length = 99999;
        else if (usable(v))
            f.length = float(numtext::Val(v));
    }
    v = id.first("ID_DEMUXER=");
    if (!v.isEmpty())
        f.demuxer = v.toLower();
    v = id.first("ID_VIDEO_FORMAT=");
    if (!v.isEmpty())
        f.videoFormat = v.toLower();
    v = id.last("ID_AUDIO_CODEC=");
    if (!v.isEmpty())
        f.audioCodec = normalisedAudioCodec(v.toLower());

    v = id.last("ID_AUDIO_BITRATE=");
    if (usable(v)) {
        f.audioBitrate = whole(v) / 1000;
        if (f.audioBitrate > 320)
            f.audioBitrate = 128;
    } else {
        f.audioBitrate = 64;
    }
    v = id.last("ID_AUDIO_RATE=");
    f.audioRate = usable(v) ? whole(v) : 22050;
    v = id.last("ID_AUDIO_NCH=");
    f.audioChannels = usable(v) ? whole(v) : 2;

    if (id.has("ID_START_TIME=")) {
        f.hasStartKey = true;
        f.idStartTime = float(numtext::Val(id.last("ID_START_TIME=")));
    }
    return f;
}

int applyGifCount(SourceFacts &facts, const QString &identifyOutput, const QString &countOutput)
{
    if (facts.width * facts.height == 0) {
        // "VIDEO:  [RGB]  160x120  8bpp ...", the format name led by a backspace or not.
        QString t = mdlMavrell::GetBetween(identifyOutput, QStringLiteral("VIDEO:  [\bRGB]"), QString(), false);
        if (t.isEmpty())
            t = mdlMavrell::GetBetween(identifyOutput, QStringLiteral("VIDEO:  [RGB]"), QString(), false);
        if (!t.isEmpty()) {
            const int x = int(t.indexOf(QLatin1Char('x')));
            const int b = x < 0 ? -1 : int(t.indexOf(QLatin1Char(' '), x + 1));
            const QStringList parts = (b < 0 ? QString() : t.left(b + 1).trimmed()).split(QLatin1Char('x'));
            if (parts.size() == 2) {
                if (isNumeric(parts[0]))
                    facts.width = whole(parts[0]);
                if (isNumeric(parts[1]))
                    facts.height = whole(parts[1]);
            }
        }
    }

    // The last status line: "V:   1.0  10/ 10 ..." - the time, then the frame count.
    const int at = int(countOutput.lastIndexOf(QStringLiteral("V:")));
    if (at < 0)
        return 0;
    const int p = at + 2;
    const int d = int(countOutput.indexOf(QLatin1Char('.'), p));
    const int s = int(countOutput.indexOf(QLatin1Char('/'), p));
    if (d <= p)
        return 0;
    const QString t = countOutput.mid(p, d - p + 2).trimmed();
    if (!isNumeric(t) || s <= d)
        return 0;
    facts.length = float(numtext::Val(t));
    const QString u = countOutput.mid(p, s - p).trimmed();
    const int blank = int(u.indexOf(QLatin1Char(' ')));
    const QString frames = blank < 0 ? QString() : u.mid(blank).trimmed();
    if (!isNumeric(frames))
        return 0;
    facts.gifFrames = whole(frames);
    if (facts.length > 0)
        facts.fps = float(numtext::roundHalfEven(double(facts.gifFrames) / double(facts.length) * 100.0) / 100.0);
    return facts.gifFrames;
}

QString gifResult(int gifFrames)
{
    if (gifFrames == 1)
        return QStringLiteral("Static Gif");
    if (gifFrames > 1)
        return QStringLiteral("Animated Gifs");
    return {};
}

bool needsAsfFix(const SourceFacts &facts)
{
    return facts.demuxer == QLatin1String("asf") && (facts.fps == 1000 || facts.fps == 0);
}

bool needsTool3Length(const SourceFacts &facts)
{
    return facts.demuxer == QLatin1String("mpegps") || facts.videoFormat == QLatin1String("0x10000001")
           || facts.videoFormat == QLatin1String("0x10000002");
}

void applyAsfFix(SourceFacts &facts, float tool3Start, float tool3Fps, float mciFps)
{
    if (facts.hasStartKey) {
        facts.startTime = facts.idStartTime;
    } else {
        facts.startTime = tool3Start;
        if (facts.startTime == 0)
            facts.startTime = 3.0f;
    }
    // The length is left alone: it already is the duration, and taking the start
    // offset off it would shorten every ASF source (and make short ones negative).
    if (tool3Fps > 0)
        facts.fps = tool3Fps;
    if (!(facts.fps > 0 && facts.fps <= 30))
        facts.fps = 30;
    if (facts.fps >= 29 && facts.fps < 30)
        facts.fps = 29.97f;
    if (mciFps > 0)
        facts.fps = mciFps;
}

void finishFacts(SourceFacts &facts)
{
    const float tenths = facts.length * 10.0f;
    facts.length = float(mdlMavrell::RoundUp(tenths)) / 10.0f;
    if (facts.fps <= 0 || facts.fps == 1000)
        facts.fps = 30;
    if (facts.width * facts.height == 0)
        facts.fps = 0;
}

QString sourceSummary(const SourceFacts &facts)
{
    const QString &comma = mdlMavrell::lng[26];
    QString s = facts.demuxer + comma + facts.videoFormat + comma + facts.audioCodec;
    if (facts.startTime != 0)
        s += comma + QStringLiteral("TimeShift= ") + numtext::single(facts.startTime);
    return s;
}

QString sourceSummary() { return sourceSummary(currentFacts()); }

void storeFacts(const SourceFacts &f)
{
    using namespace mdlMavrell;
    srcWidth = f.width;
    srcHeight = f.height;
    srcLength = f.length;
    srcFps = f.fps;
    srcStartTime = f.startTime;
    gifFrames = f.gifFrames;
    srcDemuxer = f.demuxer;
    srcVideoFormat = f.videoFormat;
    srcAudioCodec = f.audioCodec;
    srcAudioBitrate = f.audioBitrate;
    srcAudioRate = f.audioRate;
    srcAudioChannels = f.audioChannels;
}

SourceFacts currentFacts()
{
    using namespace mdlMavrell;
    SourceFacts f;
    f.width = srcWidth;
    f.height = srcHeight;
    f.length = srcLength;
    f.fps = srcFps;
    f.startTime = srcStartTime;
    f.gifFrames = gifFrames;
    f.demuxer = srcDemuxer;
    f.videoFormat = srcVideoFormat;
    f.audioCodec = srcAudioCodec;
    f.audioBitrate = srcAudioBitrate;
    f.audioRate = srcAudioRate;
    f.audioChannels = srcAudioChannels;
    return f;
}

bool checkFileExists(const QString &path)
{
    if (path.trimmed().isEmpty() || unquotable(path))
        return false;
    const QFileInfo fi(path.trimmed());
    return fi.isFile() && fi.isReadable() && fi.size() != 0;
}

bool checkPluginFile(const QString &toolPath)
{
    QString p = toolPath;
    if (mdlMavrell::fileObject().FileExists(p))
        return true;
    prompts::MsgBox(mdlMavrell::lng[2]);
    return false;
}

QString analyseSource(const QString &file, const AnalyseOptions &options)
{
    const QString tool1 = mdlMavrell::ToolPath(1);
    if (!checkPluginFile(tool1))
        return {};
    if (options.busy)
        options.busy(true);

    QString result;
    SourceFacts facts;
    if (!unquotable(file)) {
        const QString out = mdlGetCmdOutput::GetCmdOutput(identifyCommand(tool1, file));
        facts = parseIdentify(out);

        if (needsTool3Length(facts)) {
            float d = 0, s = 0, f = 0;
            mdlMavrell::ProbeByTool3(file, d, s, f);
            if (d > 0)
                facts.length = d;
        }
        if (facts.demuxer == QLatin1String("gif")) {
            const QString counted = mdlGetCmdOutput::GetCmdOutput(gifCountCommand(tool1, file));
            result = gifResult(applyGifCount(facts, out, counted));
        }
        if (needsAsfFix(facts)) {
            float d = 0, s = 0, f = 0, mciFps = 0;
            mdlMavrell::ProbeByTool3(file, d, s, f);
            if (options.checkAsfMci && !facts.videoFormat.isEmpty()) {
                float l = 0;
                mdlMavrell::GetMciInfo(file, l, mciFps);
            }
            applyAsfFix(facts, s, f, mciFps);
        }
    } else {
        // A path that cannot be quoted is never handed to a tool: nothing is found.
        facts = parseIdentify(QString());
    }
    finishFacts(facts);
    storeFacts(facts);

    if (options.busy)
        options.busy(false);
    return result;
}

} // namespace engine
