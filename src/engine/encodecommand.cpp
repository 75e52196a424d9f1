#include "engine/encodecommand.h"

#include "engine/pictureshape.h"
#include "engine/soundrates.h"
#include "engine/targetkinds.h"

#include "core/identify.h"
#include "core/jobrecords.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/toolpaths.h"
#include "core/timetext.h"
#include "core/userprompts.h"

#include <QRegularExpression>
#include <cmath>

using namespace mdlMavrell;
using namespace jobrecords;

namespace encodecommand {

namespace {

// The text of a combo box item up to its bracketed note, trimmed.
QString leadingValueText(const QString &text)
{
    const int cut = text.indexOf(QLatin1Char('('));
    return (cut >= 0 ? text.left(cut) : text).trimmed();
}

QString wholeNumber(double x) { return numbertext::integer(static_cast<long long>(numbertext::roundHalfEven(x))); }

// MP2 sound through twolame: the lavc mp2 path of this encoder writes empty files. The
// bit rate is one MP2 takes at the job's sample rate (engine/soundrates.h).
QString twolame(double kbits, int sampleRate)
{
    const double rate = soundrates::takenBitrate(soundrates::Encoder::Mp2, sampleRate, kbits);
    return QStringLiteral(" -oac twolame -twolameopts br=") + wholeNumber(rate);
}

// The second run of an MPEG program stream: tool 3 writes the target from tool 2's
// intermediate with the kind's options (engine::ToolOptions::rewrite).
QString rewriteStage(const QString &tool3, const QString &intermediate, const QString &options, const QString &dst)
{
    return tool3 + QStringLiteral(" -y -i ") + Quoted(intermediate) + options + QStringLiteral(" ") + Quoted(dst);
}

// The sample rate an audio piece asks for with `option` (" -srate" for tool 2, " -ar"
// for tool 3); 0 when it names none.
int sampleRateIn(const QString &piece, const QString &option)
{
    const QRegularExpression re(QRegularExpression::escape(option) + QStringLiteral(" (\\d+)"));
    const auto m = re.match(piece);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The audio piece with every rate that `option` gives written as one the encoder takes:
// a rate it does not take becomes the nearest it does.
QString withTakenRates(const QString &piece, const QString &option, soundrates::Encoder encoder)
{
    const QRegularExpression re(QRegularExpression::escape(option) + QStringLiteral(" (\\d+)"));
    QString out;
    qsizetype at = 0;
    for (auto it = re.globalMatch(piece); it.hasNext();) {
        const auto m = it.next();
        const int rate = soundrates::takenRate(encoder, m.captured(1).toInt());
        out += piece.mid(at, m.capturedStart(1) - at) + numbertext::integer(rate);
        at = m.capturedEnd(1);
    }
    return out + piece.mid(at);
}

// The container is named, not left to the file name: the tool writes a name of its own
// until the result is checked (encodeflow::partPath).
QString audioCodecPiece(const QString &ext)
{
    if (ext == QLatin1String("wma"))
        return QStringLiteral(" -f asf -acodec wmav2");
    if (ext == QLatin1String("mp4"))
        return QStringLiteral(" -f mp4 -acodec aac");
    if (ext == QLatin1String("aac"))
        return QStringLiteral(" -f adts -acodec aac");  // a raw AAC stream, as the name says
    if (ext == QLatin1String("ac3"))
        return QStringLiteral(" -f ac3 -acodec ac3");
    if (ext == QLatin1String("ogg"))
        return QStringLiteral(" -f ogg -acodec libvorbis");
    if (ext == QLatin1String("wav"))
        return QStringLiteral(" -f wav");
    if (ext == QLatin1String("mp3"))
        return QStringLiteral(" -f mp3");
    return {};
}

} // namespace

QString intermediatePath(const QString &dst) { return dst + QStringLiteral(".mavrell-video.vob"); }

Prepared prepare(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j)
{
    Prepared p;
    QString fps = leadingValueText(j.fpsText);
    double value = numbertext::Val(fps);
    if (value == 0) {
        fps = numbertext::single(s.srcFps);
        value = numbertext::Val(fps);
    }
    p.keyint = std::max(2, static_cast<int>(numbertext::Int(value)) - 2);
    if (value == 14.985)
        p.fps = QStringLiteral("15000/1001");
    else if (value == 23.976)
        p.fps = QStringLiteral("24000/1001");
    else if (value == 29.97)
        p.fps = QStringLiteral("30000/1001");
    else
        p.fps = fps;

    p.vrate = leadingValueText(j.videoBitrateText);
    if (numbertext::Val(p.vrate) == 0)
        p.vrate = QStringLiteral("800");
    p.arate = leadingValueText(j.audioBitrateText);
    if (numbertext::Val(p.arate) == 0)
        p.arate = QStringLiteral("64");
    const int triple = static_cast<int>(numbertext::roundHalfEven(3 * numbertext::Val(p.vrate)));
    p.peak = Clamp(triple, triple, 9000);
    return p;
}

namespace {

// The target's variant a kind's options are chosen by (see engine::ToolOptions).
QString optionVariant(const engine::TargetKind &kind, const SourceInfo &s, const JobSettings &j, const Inputs &in)
{
    const QString &ext = j.targetExt;
    if (!kind.copyJob)
        return ext;
    if (ext == QLatin1String("mpg") || ext == QLatin1String("mpeg"))
        return s.srcVideoFormat == QLatin1String("0x10000002") ? QStringLiteral("mpg-mpeg2") : QStringLiteral("mpg");
    if (ext == QLatin1String("dat") || ext == QLatin1String("vob") || ext == QLatin1String("wmv"))
        return ext;
    return in.aviSoundNote.isEmpty() ? QStringLiteral("avi") : QStringLiteral("avi-mp3");
}

QString syncPiece(engine::SyncRule rule, const SourceInfo &s, bool retry)
{
    switch (rule) {
    case engine::SyncRule::Correct:
        return (s.srcVideoFormat.contains(QLatin1String("svq")) && s.srcAudioCodec == QLatin1String("pcm")) || retry
                   ? QStringLiteral(" -mc 0")
                   : QStringLiteral(" -mc 1");
    case engine::SyncRule::FlvOnly:
        return s.srcVideoFormat == QLatin1String("flv1") ? QStringLiteral(" -mc 1") : QStringLiteral(" -mc 0");
    case engine::SyncRule::Off:
        break;
    }
    return QStringLiteral(" -mc 0");
}

// A kind's options with the job's values filled in; sampleRate is the job's sound rate
// in Hz (0: none named).
QString fillOptions(QString text, const SourceInfo &s, const JobSettings &j, const Prepared &p, int sampleRate)
{
    static const QRegularExpression mp2At(QStringLiteral("\\{mp2:(\\d+)\\}"));
    for (auto m = mp2At.match(text); m.hasMatch(); m = mp2At.match(text))
        text.replace(m.capturedStart(), m.capturedLength(), twolame(numbertext::Val(m.captured(1)), sampleRate));
    const QString channels = numbertext::integer(s.srcAudioChannels);
    const QString aviMp3 = QStringLiteral(" -oac mp3lame -lameopts cbr:br=") + numbertext::integer(s.srcAudioBitrate)
                           + QStringLiteral(" -channels ") + channels + QStringLiteral(" -srate ")
                           + numbertext::integer(s.srcAudioRate) + QStringLiteral(" -af-add channels=") + channels;
    const std::pair<const char *, QString> values[] = {
        {"{key}", numbertext::integer(p.keyint)},
        {"{vrate}", p.vrate},
        {"{arate}", p.arate},
        {"{peak}", numbertext::integer(p.peak)},
        {"{fps}", p.fps},
        {"{mp2}", twolame(numbertext::Val(p.arate), sampleRate)},
        {"{wma}", s.srcAudioCodec.contains(QLatin1String("wmav1")) ? QStringLiteral("wmav1") : QStringLiteral("wmav2")},
        {"{srcrate}", numbertext::integer(s.srcAudioBitrate)},
        {"{avimp3}", aviMp3},
        {"{audio}", j.audioOpts},
    };
    for (const auto &[name, value] : values)
        text.replace(QLatin1String(name), value);
    return text;
}

// Tool 3's mix to two channels lowers the one channel of a mono source by 3 dB on
// each side. Sources of one or two channels are mixed here instead: a mono channel goes
// to both sides as it is, two channels stay as they are; any other layout becomes stereo
// as tool 3 would make it.
const QString twoChannelsAtLevel =
    QStringLiteral(" -af aformat=channel_layouts=mono|stereo|downmix,pan=stereo|FL<FL+FC+DL|FR<FR+FC+DR");

// Tool 2 never ends when its "-endpos" lies after the end of the picture while the sound
// runs on to it: the sound stops at the end position, the picture has ended, and neither
// stream reaches its end. A limit of frames ends the run there (the encoder counts one
// frame a round, also after the picture's end). It allows 1000 frames a second, so it
// never cuts a picture short.
QString frameLimit(const QString &range)
{
    static const QRegularExpression endpos(QStringLiteral(" -endpos (\\S+)"));
    const auto m = endpos.match(range);
    if (!m.hasMatch())
        return {};
    const double seconds = ParseTime(m.captured(1));
    return QStringLiteral(" -frames ") + numbertext::integer(static_cast<long long>(std::ceil((seconds + 1) * 1000)));
}

} // namespace

Built build(const SourceInfo &s, const JobSettings &j, Prepared &p, QString &range, const Inputs &in)
{
    Built b;
    const QString &ext = j.targetExt;
    const QString src = Quoted(in.src);
    const QString written = in.output.isEmpty() ? in.dst : in.output;
    const QString dst = Quoted(written);
    const engine::TargetKind *kind = engine::targetKindOf(j);

    if (kind && kind->soundTarget) {
        range.replace(QStringLiteral("-endpos"), QStringLiteral("-t"));
        const soundrates::Encoder encoder = soundrates::encoderOf(j.targetFormat, ext, true);
        QString opts = withTakenRates(j.audioOpts, QStringLiteral(" -ar"), encoder);
        const double kbits = soundrates::takenBitrate(encoder, sampleRateIn(opts, QStringLiteral(" -ar")), numbertext::Val(p.arate));
        if (opts.contains(QLatin1String(" -ac 2")))
            opts += twoChannelsAtLevel;
        b.command = in.tool3 + QStringLiteral(" -y -i ") + src + audioCodecPiece(ext) + QStringLiteral(" -vn -ab ")
                    + wholeNumber(kbits * 1000) + range + opts + j.encodeVolumeOpt + QStringLiteral(" ") + dst;
        return b;
    }

    const QString mc = syncPiece(kind ? kind->sync : engine::SyncRule::Correct, s, in.retry);
    b.mc = mc;
    const engine::ToolOptions *options = kind ? kind->optionsFor(optionVariant(*kind, s, j, in)) : nullptr;
    if (!options)
        return b;
    if (kind->copyJob)
        b.expectedDemuxer = engine::copyContainer(ext);
    if (kind->minVideoRate > 0 && numbertext::Val(p.vrate) < kind->minVideoRate)
        p.vrate = numbertext::integer(kind->minVideoRate);

    const QString harddup = QStringLiteral(" -vf-add harddup") + mc;
    const bool seeks = range.contains(QLatin1String("-ss "));
    const QString rangeOpts = range + frameLimit(range);
    // The sound at a rate its encoder takes.
    const QString audio = withTakenRates(j.audioOpts, QStringLiteral(" -srate"), soundrates::encoderOf(j.targetFormat, ext, false));
    QString tail;
    switch (kind->tail) {
    case engine::OptionTail::Picture: {
        // A picture that starts after the sound (an MKV or TS whose first frame comes a
        // second late) keeps its late times in the general muxer while the sync correction
        // fills the gap with its first picture as well: the picture ran late by the gap.
        // Counted from the first frame, the filled picture starts with the sound, as in an
        // AVI. After a seek the general muxer gets the picture with the source's time
        // stamps while the sound starts again at 0: the picture's times are made to start
        // at 0 as well before harddup fills the gaps.
        const QString fixpts = !seeks              ? QStringLiteral(" -vf-add fixpts")
                               : kind->generalMuxer ? QStringLiteral(" -vf-add fixpts=start=0")
                                                    : QString();
        // The shape the picture is to show, told after every filter that sizes or turns it.
        const QString shape = pictureshape::piece(pictureshape::shapeFor(s, j));
        tail = rangeOpts + j.colorFilter + j.scaleFilter + j.rotateFilter + j.subtitleOpts + audio
               + j.encodeVolumeOpt + shape + fixpts + harddup;
        break;
    }
    case engine::OptionTail::Sound:
        tail = rangeOpts + audio + j.encodeVolumeOpt + harddup;
        break;
    case engine::OptionTail::Range:
        tail = rangeOpts + harddup;
        break;
    case engine::OptionTail::Plain:
        tail = harddup;
        break;
    }
    const QString body = in.tool2 + fillOptions(options->options, s, j, p, sampleRateIn(audio, QStringLiteral(" -srate"))) + tail;
    const bool twoRuns = !options->rewrite.isEmpty();

    // This encoder's own AVI reader hands the decoder only every few pictures of many
    // AVI files (an AVI with sound written by tool 3, for one): the picture freezes.
    // Its general reader reads them whole. Copying the video is not affected.
    const bool reencodesVideo = !kind->copiesPicture;
    // Encoding the picture of an ASF source again, the encoder's own ASF reader hands
    // on the source's times with its 3.1 s preroll on the picture only: the picture
    // starts 3.1 s after the sound (every target written by the general muxer), and an
    // ASF or AVI file claims up to twice its length. The general reader starts both at
    // 0. With a cut it is not used: it keeps the seek time on the picture likewise and
    // lands on other key frames than the player's probe, which the cut start was
    // aligned with.
    const bool asfSource = reencodesVideo && s.srcDemuxer == QLatin1String("asf") && !seeks;
    // A source that only the general reader reads whole (a TS whose picture starts late)
    // is read by it in every job.
    QString demux = (reencodesVideo && s.srcDemuxer == QLatin1String("avi")) || asfSource
                            || s.srcDemuxer == QLatin1String("lavf")
                        ? QStringLiteral(" -demuxer lavf")
                        : QString();
    // The encoder's WMA sound drops most of an AAC track decoded by its default AAC
    // decoder ("frame_size not respected"): the file ends after a fraction of a second.
    // Its other AAC decoder hands the sound over whole.
    if (body.contains(QLatin1String(" -oac lavc")) && s.srcAudioCodec.contains(QLatin1String("aac")))
        demux += QStringLiteral(" -ac faad");
    demux += identify::readerPiece(s.srcDemuxer);
    if (twoRuns) {
        b.intermediate = intermediatePath(in.dst);
        b.command = body + QStringLiteral(" ") + src + demux + QStringLiteral(" -o ") + Quoted(b.intermediate)
                    + QStringLiteral("\n") + rewriteStage(in.tool3, b.intermediate, options->rewrite, written);
    } else {
        b.command = body + QStringLiteral(" ") + src + demux + QStringLiteral(" -o ") + dst;
    }
    return b;
}

QString keptPictureProblem(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j)
{
    const engine::TargetKind *kind = engine::targetKindOf(j);
    const bool copy = kind && kind->copyJob;
    const bool programStream = engine::copyContainer(j.targetExt) == QLatin1String("mpegps");
    if (!copy || !programStream || s.srcWidth * s.srcHeight == 0)
        return {};
    static const QStringList mpegPictures = {QStringLiteral("0x10000001"), QStringLiteral("0x10000002"),
                                             QStringLiteral("mpg1"), QStringLiteral("mpg2")};
    if (mpegPictures.contains(s.srcVideoFormat.toLower()))
        return {};
    QString text = lng[txt::PictureCannotBeKept];
    text.replace(QStringLiteral("aaa"), s.srcVideoFormat.isEmpty() ? lng[txt::Unknown] : s.srcVideoFormat.toUpper());
    text.replace(QStringLiteral("bbb"), j.targetExt.toUpper());
    return text;
}

QString getRealFormatName(const jobrecords::SourceInfo &s)
{
    QString name = s.srcDemuxer.toUpper();
    if (name == QLatin1String("LAVFPREF"))
        name = s.srcVideoFormat.toUpper();
    if (name == QLatin1String("OGG"))
        return QStringLiteral("OGM");
    if (name == QLatin1String("MP4V"))
        return QStringLiteral("MP4");
    if (name == QLatin1String("MPEGPS"))
        return QStringLiteral("MPG");
    if (name.contains(QLatin1String("FLV")))
        return QStringLiteral("FLV");
    if (name.isEmpty())
        return lng[txt::Unknown];
    return name;
}

QString getRealAudioCodecName(const jobrecords::SourceInfo &s)
{
    QString name = s.srcAudioCodec.toUpper();
    // This system's player names some codecs after its decoder library.
    if (name == QLatin1String("A52") || name == QLatin1String("FFAC3"))
        return QStringLiteral("AC3");
    if (name == QLatin1String("FAAD") || name == QLatin1String("FFAAC"))
        return QStringLiteral("AAC");
    if (name == QLatin1String("FFVORBIS"))
        return QStringLiteral("OGG");
    if (name == QLatin1String("FFCOOK"))
        return QStringLiteral("RA");
    if (name == QLatin1String("FFWMAV2"))
        return QStringLiteral("WMAV2");
    if (name.isEmpty())
        return lng[txt::Unknown];
    return name;
}

bool containerMatches(const jobrecords::SourceInfo &s, const QString &expectedDemuxer) { return s.srcDemuxer == expectedDemuxer; }

QString containerQuestion(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j)
{
    QString text = lng[txt::FormatMismatch];
    text.replace(QStringLiteral("aaa"), j.actionWord.trimmed());
    text.replace(QStringLiteral("bbb"), j.targetExt.toUpper());
    text.replace(QStringLiteral("ccc"), getRealFormatName(s));
    return text;
}

bool confirmRealFormat(const jobrecords::SourceInfo &s, const jobrecords::JobSettings &j, const QString &expectedDemuxer)
{
    if (containerMatches(s, expectedDemuxer))
        return true;
    prompts::MessageRequest r;
    r.text = containerQuestion(s, j);
    r.buttons = prompts::Buttons::OkCancel;
    r.defaultButton = 1;
    return prompts::current().message(r) == prompts::Answer::Ok;
}

QStringList developerPresetItems()
{
    return {QStringLiteral("不用特製剪輯"), QStringLiteral("29.97 , -mc 1"), QStringLiteral("29.97 , -mc 0"),
            QStringLiteral("29.97 , no mc!")};
}

QString applyDeveloperPreset(const QString &command, int index)
{
    if (index < 1 || index > 3)
        return command;
    QString c = command;
    c.replace(QStringLiteral("-ofps 20 "), QStringLiteral("-ofps 30000/1001 "));
    c.replace(QStringLiteral("keyint=18"), QStringLiteral("keyint=27"));
    c.replace(QStringLiteral("key_interval=18"), QStringLiteral("key_interval=27"));
    if (index == 1) {
        c.replace(QStringLiteral("-mc 0"), QStringLiteral("-mc 1"));
    } else if (index == 2) {
        c.replace(QStringLiteral("-mc 1"), QStringLiteral("-mc 0"));
    } else {
        c.remove(QStringLiteral("-mc 0"));
        c.remove(QStringLiteral("-mc 1"));
    }
    return c;
}

QStringList stages(const QString &command)
{
    QStringList out;
    for (const QString &line : command.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            out << line.trimmed();
    return out;
}

} // namespace encodecommand
