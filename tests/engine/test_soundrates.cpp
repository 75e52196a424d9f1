// The sample rates each target offers, the rate and bit rate a sound encoder is given,
// and the real encoders taking every rate their targets offer.
#include "engine/encodejob.h"
#include "engine/optionpresets.h"
#include "engine/soundrates.h"
#include "engine/testjob.h"

#include "core/toolpaths.h"
#include "texttable.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace soundrates;

namespace {

QString joined(const QStringList &items) { return items.join(QLatin1Char(' ')); }

const char *const allRates = "11025 16000 22050 24000 32000 44100 48000";
const char *const mp2Rates = "16000 22050 24000 32000 44100 48000";
const char *const ac3Rates = "32000 44100 48000";

} // namespace

// Every item of the target menu: the rates its list offers and the one its preset shows.
TEST(SoundRates, EachTargetOffersTheRatesItsEncoderTakes)
{
    fillMarkerTable();
    struct Case {
        const char *format, *ext;
        bool audio;
        const char *offered;
        const char *shown;
    } cases[] = {
        {"MPEG1", "mpg", false, mp2Rates, "22050"},       {"MPEG2", "mpg", false, mp2Rates, "22050"},
        {"VCD", "dat", false, mp2Rates, "44100"},         {"DVD", "vob", false, ac3Rates, "48000"},
        {"WMV7", "wmv", false, allRates, "22050"},        {"WMV8", "wmv", false, allRates, "22050"},
        {"MP42", "wmv", false, allRates, "22050"},        {"MP42", "avi", false, allRates, "22050"},
        {"XviD", "avi", false, allRates, "22050"},        {"DivX", "avi", false, allRates, "22050"},
        {"H.264", "avi", false, allRates, "22050"},       {"AudIsMp3", "avi", false, allRates, "22050"},
        {"{264} WAV", "wav", true, allRates, "22050"},    {"{264} MP3", "mp3", true, allRates, "22050"},
        {"{264} MP4", "mp4", true, allRates, "22050"},    {"{264} WMA", "wma", true, allRates, "22050"},
        {"{264} AAC", "aac", true, allRates, "22050"},    {"{264} OGG", "ogg", true, allRates, "22050"},
        {"{264} AC3", "ac3", true, ac3Rates, "32000"},    // 22050 is not taken: the nearest rate
        {"onlyTransVol", "mpg", false, mp2Rates, "22050"}, {"onlyTransVol", "dat", false, mp2Rates, "44100"},
        {"onlyTransVol", "vob", false, ac3Rates, "48000"}, {"onlyTransVol", "wmv", false, allRates, "22050"},
        {"onlyTransVol", "avi", false, allRates, "22050"}, {"onlyCut", "mpg", false, allRates, "22050"},
        {"onlyFix", "wmv", false, allRates, "22050"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.ext);
        engine::PresetInput in;
        in.targetFormat = QString::fromUtf8(c.format);
        in.targetExt = QString::fromUtf8(c.ext);
        in.audioTarget = c.audio;
        const engine::OptionPreset p = engine::optionPreset(in);
        EXPECT_EQ(joined(p.audioSample.items), QString::fromLatin1(c.offered));
        EXPECT_EQ(p.audioSample.text, QString::fromLatin1(c.shown));
        EXPECT_GE(p.audioSample.index, 0);
    }
}

TEST(SoundRates, RatesAndBitRatesTheEncoderIsGiven)
{
    struct RateCase {
        Encoder encoder;
        int asked, given;
    } rates[] = {
        {Encoder::Mp2, 11025, 16000}, {Encoder::Mp2, 22050, 22050}, {Encoder::Ac3, 11025, 32000},
        {Encoder::Ac3, 22050, 32000}, {Encoder::Ac3, 38050, 44100},  // as near to both: the higher
        {Encoder::Ac3, 46000, 44100}, {Encoder::Mp3, 11025, 11025},  {Encoder::Kept, 8000, 8000},
    };
    for (const RateCase &c : rates)
        EXPECT_EQ(takenRate(c.encoder, c.asked), c.given) << c.asked;

    struct BitrateCase {
        Encoder encoder;
        int sampleRate;
        double asked, given;
    } bitrates[] = {
        // MP2: the next step that works, at most 384, and at the half rates at most 160.
        {Encoder::Mp2, 44100, 32, 96},   {Encoder::Mp2, 44100, 128, 128}, {Encoder::Mp2, 48000, 144, 160},
        {Encoder::Mp2, 32000, 448, 384}, {Encoder::Mp2, 22050, 144, 144}, {Encoder::Mp2, 24000, 192, 160},
        {Encoder::Mp2, 16000, 320, 160}, {Encoder::Mp2, 0, 224, 224},
        // Vorbis: within the span it sets itself up in at the rate.
        {Encoder::Vorbis, 11025, 128, 100}, {Encoder::Vorbis, 22050, 320, 180}, {Encoder::Vorbis, 44100, 32, 45},
        {Encoder::Vorbis, 48000, 320, 320}, {Encoder::Mp3, 11025, 320, 320},  // the MP3 encoder lowers it itself
    };
    for (const BitrateCase &c : bitrates)
        EXPECT_EQ(takenBitrate(c.encoder, c.sampleRate, c.asked), c.given) << c.sampleRate << " " << c.asked;
}

// The encoders whose rates are limited, run for real at every rate their targets offer,
// with the lowest and the highest bit rate of the list: each writes its sound at that rate.
TEST(SoundRates, TheEncodersTakeEveryRateTheirTargetsOffer)
{
    using namespace mdlMavrell;
    encodetest::clearJob();
    testenv::ProgramDir programDir;
    programDir.activate();
    QTemporaryDir out;
    struct Case {
        const char *format, *ext;
        bool audio;
        const char *fixture;
    } cases[] = {
        {"onlyTransVol", "mpg", false, "mpeg1.mpg"},  // MP2 through tool 2
        {"Sound AC3", "ac3", true, "tone.wav"},
        {"Sound OGG", "ogg", true, "tone.wav"},
    };
    for (const Case &c : cases) {
        const QString src = testenv::fixture(QString::fromLatin1(c.fixture));
        ASSERT_FALSE(src.isEmpty());
        encodetest::probeSource(src);
        encodetest::setTarget(QString::fromLatin1(c.format), QString::fromLatin1(c.ext), c.audio);
        for (int rate : offeredRates(encoderOf(testjob::job.targetFormat, testjob::job.targetExt, c.audio))) {
            for (const char *kbits : {"32", "320"}) {
                SCOPED_TRACE(std::string(c.format) + " at " + std::to_string(rate) + " Hz, " + kbits + " kbit/s");
                testjob::job.audioBitrateText = QString::fromLatin1(kbits);
                testjob::job.audioOpts = c.audio ? QStringLiteral(" -ac 2 -ar ") + QString::number(rate)
                                                 : QStringLiteral(" -delay 0 -channels 2 -srate ") + QString::number(rate)
                                                       + QStringLiteral(" -af-add channels=2");
                encodecommand::Inputs in;
                in.tool2 = ToolPath(2);
                in.tool3 = ToolPath(3);
                in.src = src;
                in.dst = out.filePath(QStringLiteral("rate.") + QString::fromLatin1(c.ext));
                QFile::remove(in.dst);
                auto prep = encodecommand::prepare(testjob::source, testjob::job);
                QString range;
                const QString command = encodecommand::build(testjob::source, testjob::job, prep, range, in).command;
                // An MPEG program stream takes two runs, one a line.
                for (const QString &line : command.split(QLatin1Char('\n'))) {
                    QStringList args = QProcess::splitCommand(line);
                    ASSERT_FALSE(args.isEmpty());
                    QProcess p;
                    p.setProcessChannelMode(QProcess::MergedChannels);
                    p.start(args.takeFirst(), args);
                    ASSERT_TRUE(p.waitForFinished(60000));
                    const QString said = QString::fromLocal8Bit(p.readAll()).right(400);
                    EXPECT_EQ(p.exitCode(), 0) << line.toStdString() << "\n" << said.toStdString();
                }
                const testenv::Probed probed = testenv::ffprobe(in.dst);
                EXPECT_FALSE(probed.audio.isEmpty()) << command.toStdString();
                EXPECT_EQ(probed.sampleRate, rate) << command.toStdString();
            }
        }
    }
}
