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
    f.srcWidth = k.width;
    f.srcHeight = k.height;
    f.srcFps = k.fps;
    f.srcAspect = k.aspect;
    f.srcLength = k.length;
    f.srcDemuxer = k.demuxer;
    f.srcVideoFormat = k.videoFormat;
    f.srcAudioCodec = normalisedAudioCodec(k.audioCodec);
    f.srcAudioBitrate = k.audioBitrate;
    f.srcAudioRate = k.audioRate;
    f.srcAudioChannels = k.audioChannels;
    f.hasStartKey = k.hasStartTime;
    f.idStartTime = k.startTime;
    return f;
}

int applyGifCount(SourceFacts &facts, const QString &identifyOutput, const QString &countOutput)
{
    if (facts.srcWidth * facts.srcHeight == 0)
        identify::readGifSize(identifyOutput, facts.srcWidth, facts.srcHeight);

    // The last status line of the count run: the time, then the frame count.
    const identify::VideoStatus st = identify::lastVideoStatus(countOutput);
    if (!st.found || !st.counted)
        return 0;
    facts.srcLength = float(st.seconds);
    if (st.frame < 0)
        return 0;
    facts.gifFrames = st.frame;
    if (facts.srcLength > 0)
        facts.srcFps = float(numbertext::roundHalfEven(double(facts.gifFrames) / double(facts.srcLength) * 100.0) / 100.0);
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
    return facts.srcDemuxer == QLatin1String("asf") && (facts.srcFps == 1000 || facts.srcFps == 0);
}

bool needsGeneralReader(const SourceFacts &facts)
{
    return facts.srcDemuxer == QLatin1String("mpegts") && (facts.srcWidth * facts.srcHeight == 0 || facts.srcLength <= 0);
}

bool takesGeneralReading(const SourceFacts &own, const SourceFacts &general)
{
    return (general.srcWidth * general.srcHeight > 0 && own.srcWidth * own.srcHeight == 0)
           || (general.srcLength > 0 && own.srcLength <= 0 && general.srcWidth * general.srcHeight >= own.srcWidth * own.srcHeight);
}

bool needsTool3Length(const SourceFacts &facts)
{
    return facts.srcDemuxer == QLatin1String("mpegps") || facts.srcVideoFormat == QLatin1String("0x10000001")
           || facts.srcVideoFormat == QLatin1String("0x10000002");
}

void applyAsfFix(SourceFacts &facts, float tool3Start, float tool3Fps, float mciFps)
{
    if (facts.hasStartKey) {
        facts.srcStartTime = facts.idStartTime;
    } else {
        facts.srcStartTime = tool3Start;
        if (facts.srcStartTime == 0)
            facts.srcStartTime = 3.0f;
    }
    // The length is left alone: it already is the duration, and taking the start
    // offset off it would shorten every ASF source (and make short ones negative).
    if (tool3Fps > 0)
        facts.srcFps = tool3Fps;
    if (!(facts.srcFps > 0 && facts.srcFps <= 30))
        facts.srcFps = 30;
    if (facts.srcFps >= 29 && facts.srcFps < 30)
        facts.srcFps = 29.97f;
    if (mciFps > 0)
        facts.srcFps = mciFps;
}

void finishFacts(SourceFacts &facts)
{
    const float tenths = facts.srcLength * 10.0f;
    facts.srcLength = float(mdlMavrell::RoundUp(tenths)) / 10.0f;
    if (facts.srcFps <= 0 || facts.srcFps == 1000)
        facts.srcFps = 30;
    if (facts.srcWidth * facts.srcHeight == 0)
        facts.srcFps = 0;
}

QString sourceSummary(const jobrecords::SourceInfo &source)
{
    const QString &comma = mdlMavrell::lng[txt::ListComma];
    QString s = source.srcDemuxer + comma + source.srcVideoFormat + comma + source.srcAudioCodec;
    if (source.srcStartTime != 0)
        s += comma + QStringLiteral("TimeShift= ") + numbertext::single(source.srcStartTime);
    return s;
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

QString analyseSource(const QString &file, jobrecords::SourceInfo &into, const AnalyseOptions &options,
                      bool *decodes)
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
                facts.srcLength = d;
        }
        if (facts.srcDemuxer == QLatin1String("gif")) {
            const QString counted = cmdoutput::GetCmdOutput(gifCountCommand(tool1, file));
            result = gifResult(applyGifCount(facts, out, counted));
        }
        if (needsAsfFix(facts)) {
            float d = 0, s = 0, f = 0, mciFps = 0;
            mdlMavrell::ProbeByTool3(file, d, s, f);
            if (options.checkAsfMci && !facts.srcVideoFormat.isEmpty()) {
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
    into = facts;  // the record, without what the reader saw besides
    if (decodes)
        *decodes = md5.isEmpty() || sourcecheck::sourceDecodes(into, out, QFileInfo(md5).size() > 0);

    if (options.busy)
        options.busy(false);
    return result;
}

} // namespace engine
