#include "engine/identifyprobe.h"

#include "core/cmdoutput.h"
#include "core/fileobject.h"
#include "core/identify.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/probes.h"
#include "core/timetext.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "engine/sourcecheck.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace engine {

namespace {

} // namespace

QString identifyCommand(const QString &tool1, const QString &file, const QString &md5File)
{
    // The same run decodes the first pictures (or plays the start of the sound) for the
    // source check: the sound goes to a raw file output and -benchmark drops the waits,
    // so both come out as fast as they decode. One line per decoded picture goes into
    // md5File (its length-prefixed form keeps any path whole).
    const QString vo = md5File.isEmpty() ? QStringLiteral("null")
                                         : QStringLiteral("md5sum:outfile=%") + QString::number(md5File.toUtf8().size())
                                               + QLatin1Char('%') + md5File;
    return tool1 + QStringLiteral(" -identify -ao pcm:nowaveheader:file=/dev/null -vo ") + vo
           + QStringLiteral(" -frames 5 -endpos 3 -benchmark ") + mdlMavrell::Quoted(file);
}

QString gifCountCommand(const QString &tool1, const QString &file)
{
    return tool1 + QStringLiteral(" -ao null -vo null -fps 10000 ") + mdlMavrell::Quoted(file);
}

QString normalisedAudioCodec(const QString &codec)
{
    if (codec == QLatin1String("mpg123"))
        return QStringLiteral("mp3");
    return codec;
}

SourceFacts parseIdentify(const QString &output)
{
    const identify::Keys k = identify::read(output);
    SourceFacts f;
    f.width = k.width;
    f.height = k.height;
    f.fps = k.fps;
    f.length = k.length;
    f.demuxer = k.demuxer;
    f.videoFormat = k.videoFormat;
    f.audioCodec = normalisedAudioCodec(k.audioCodec);
    f.audioBitrate = k.audioBitrate;
    f.audioRate = k.audioRate;
    f.audioChannels = k.audioChannels;
    f.hasStartKey = k.hasStartTime;
    f.idStartTime = k.startTime;
    return f;
}

int applyGifCount(SourceFacts &facts, const QString &identifyOutput, const QString &countOutput)
{
    if (facts.width * facts.height == 0)
        identify::readGifSize(identifyOutput, facts.width, facts.height);

    // The last status line of the count run: the time, then the frame count.
    const identify::VideoStatus st = identify::lastVideoStatus(countOutput);
    if (!st.found || !st.counted)
        return 0;
    facts.length = float(st.seconds);
    if (st.frame < 0)
        return 0;
    facts.gifFrames = st.frame;
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

bool needsGeneralReader(const SourceFacts &facts)
{
    return facts.demuxer == QLatin1String("mpegts") && (facts.width * facts.height == 0 || facts.length <= 0);
}

bool takesGeneralReading(const SourceFacts &own, const SourceFacts &general)
{
    return (general.width * general.height > 0 && own.width * own.height == 0)
           || (general.length > 0 && own.length <= 0 && general.width * general.height >= own.width * own.height);
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
    const QString &comma = mdlMavrell::lng[txt::ListComma];
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
    // The name is taken as it stands: blanks at its ends are part of it.
    if (path.trimmed().isEmpty() || !mdlMavrell::Quotable(path))
        return false;
    const QFileInfo fi(path);
    return fi.isFile() && fi.isReadable() && fi.size() != 0;
}

int sourceFileProblem(const QString &path)
{
    if (checkFileExists(path))
        return 0;
    const QFileInfo fi(path);
    if (!path.trimmed().isEmpty() && mdlMavrell::Quotable(path) && fi.isFile() && !fi.isReadable())
        return txt::SourceUnreadable;
    return txt::InvalidFileName;
}

bool checkPluginFile(const QString &toolPath)
{
    QString p = toolPath;
    if (mdlMavrell::fileObject().FileExists(p))
        return true;
    prompts::FileMsgBox(mdlMavrell::lng[txt::ToolFilesMissing], toolPath);
    return false;
}

QString analyseSource(const QString &file, const AnalyseOptions &options, bool *decodes)
{
    if (decodes)
        *decodes = false;
    mdlMavrell::stopFunEffect();
    const QString tool1 = mdlMavrell::ToolPath(1);
    if (!checkPluginFile(tool1))
        return {};
    if (options.busy)
        options.busy(true);

    QString result;
    SourceFacts facts;
    QString out;
    QTemporaryDir md5Dir;
    QString md5 = md5Dir.isValid() ? md5Dir.filePath(QStringLiteral("frames.md5")) : QString();
    if (mdlMavrell::Quotable(file)) {
        out = cmdoutput::GetCmdOutput(identifyCommand(tool1, file, md5));
        facts = parseIdentify(out);
        if (needsGeneralReader(facts)) {
            // Read again through the general reader; when its reading is taken, its
            // decoded pictures are the ones the source check counts.
            const QString md5General = md5.isEmpty() ? QString() : md5Dir.filePath(QStringLiteral("general.md5"));
            const QString generalOut = cmdoutput::GetCmdOutput(
                identifyCommand(tool1 + QStringLiteral(" -demuxer lavf"), file, md5General));
            const SourceFacts general = parseIdentify(generalOut);
            if (takesGeneralReading(facts, general)) {
                facts = general;
                out = generalOut;
                md5 = md5General;
            }
        }

        if (needsTool3Length(facts)) {
            float d = 0, s = 0, f = 0;
            mdlMavrell::ProbeByTool3(file, d, s, f);
            if (d > 0)
                facts.length = d;
        }
        if (facts.demuxer == QLatin1String("gif")) {
            const QString counted = cmdoutput::GetCmdOutput(gifCountCommand(tool1, file));
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
    if (decodes)
        *decodes = md5.isEmpty() || sourcecheck::sourceDecodes(out, QFileInfo(md5).size() > 0);

    if (options.busy)
        options.busy(false);
    return result;
}

} // namespace engine
