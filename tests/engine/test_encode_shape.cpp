// A picture that shows at another shape than its size keeps that shape in every video
// target, through the run stage and the real tools, as ffprobe reads it.
#include "engine/encodetargets.h"
#include "engine/resultcheck.h"

#include <QProcess>

using namespace mdlMavrell;

namespace {

struct ShapeCase {
    const char *fixture, *format, *ext, *scale, *rate;
    double shape;  // what ffprobe is to find: width x pixel shape / height
};

class KeepsTheShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(KeepsTheShape, AsThePlayerShowsTheSource)
{
    const ShapeCase &c = GetParam();
    const QString src = testenv::fixture(QString::fromLatin1(c.fixture));
    ASSERT_FALSE(src.isEmpty());
    testenv::ProgramDir programDir;
    encodetest::realJob(programDir, src, QString::fromLatin1(c.format), QString::fromLatin1(c.ext));
    testjob::job.fpsText = QStringLiteral("25");
    testjob::job.videoBitrateText = QStringLiteral("1152");
    testjob::job.audioBitrateText = QStringLiteral("128");
    testjob::job.scaleFilter = QString::fromLatin1(c.scale);
    testjob::job.audioOpts = QStringLiteral(" -channels 2 -srate ") + QString::fromLatin1(c.rate)
                             + QStringLiteral(" -af-add channels=2");
    QTemporaryDir out;
    const QString dst = out.path() + QStringLiteral("/result.") + QString::fromLatin1(c.ext);
    encodetest::RecordingWindow window;
    ScriptedPrompts prompts;
    prompts.answer(prompts::Answer::Cancel);
    const encodeflow::StageResult r = encodetest::convert(src, dst, window);
    ASSERT_EQ(r.outcome, encodeflow::Outcome::Succeeded) << r.command.toStdString() << "\n"
                                                         << prompts.lastText().toStdString();
    EXPECT_NEAR(testenv::ffprobe(dst).shape / c.shape, 1, 0.01) << r.command.toStdString();
}

const char *const wide = "anamorphic.mpg";  // 720x480 flagged 16:9
const char *const sar = "sar1615.mp4";      // 640x480 of pixels 16:15 wide: 64:45

INSTANTIATE_TEST_SUITE_P(
    Engine, KeepsTheShape,
    ::testing::Values(ShapeCase{wide, "MPEG2", "mpg", " -vf-add scale=720:480", "48000", 16.0 / 9},
                      ShapeCase{wide, "MPEG1", "mpg", " -vf-add scale=720:480", "44100", 16.0 / 9},
                      ShapeCase{wide, "DivX", "avi", " -vf-add scale=720:480", "44100", 16.0 / 9},
                      ShapeCase{wide, "XviD", "avi", " -vf-add scale=720:480", "44100", 16.0 / 9},
                      ShapeCase{wide, "H.264", "avi", " -vf-add scale=720:480", "44100", 16.0 / 9},
                      ShapeCase{wide, "WMV8", "wmv", " -vf-add scale=720:480", "44100", 16.0 / 9},
                      ShapeCase{wide, "MP42", "avi", " -vf-add scale=720:480", "44100", 16.0 / 9},
                      ShapeCase{wide, "DVD", "vob", " -vf-add scale=720:480", "48000", 16.0 / 9},
                      ShapeCase{wide, "VCD", "dat", " -vf-add scale=352:240", "44100", 4.0 / 3},
                      ShapeCase{wide, "DivX", "avi", " -vf-add scale=320:214", "44100", 16.0 / 9},
                      // A size of the user's own proportion shows as that size.
                      ShapeCase{wide, "DivX", "avi", " -vf-add scale=640:480", "44100", 4.0 / 3},
                      ShapeCase{sar, "MPEG2", "mpg", " -vf-add scale=640:480", "48000", 64.0 / 45},
                      ShapeCase{sar, "MPEG1", "mpg", " -vf-add scale=640:480", "44100", 64.0 / 45},
                      ShapeCase{sar, "DivX", "avi", " -vf-add scale=640:480", "44100", 64.0 / 45},
                      ShapeCase{sar, "WMV7", "wmv", " -vf-add scale=640:480", "44100", 64.0 / 45}),
    [](const auto &info) {
        std::string name = std::string(info.param.fixture).substr(0, 4) + "_" + info.param.format + "_"
                           + std::string(info.param.scale).substr(15);
        for (char &ch : name)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// A squashed picture (the 16:9 source written at its size in square pixels) is refused.
TEST(KeepsTheShapeCheck, ASquashedResultIsNoSuccess)
{
    loadLanguageTable(QStringLiteral("en"));
    const QString src = testenv::fixture(QString::fromLatin1(wide));
    ASSERT_FALSE(src.isEmpty());
    QTemporaryDir out;
    const QString dst = out.filePath(QStringLiteral("squashed.avi"));
    ASSERT_TRUE(testenv::runs(QStringLiteral("mencoder"),
                              QProcess::splitCommand(QStringLiteral("-ovc lavc -lavcopts vcodec=mpeg4 -oac mp3lame -ni -o"))
                                  << dst << src));
    ASSERT_NEAR(testenv::ffprobe(dst).shape, 1.5, 0.01);

    testenv::ProgramDir programDir;
    encodetest::realJob(programDir, src, QStringLiteral("DivX"), QStringLiteral("avi"));
    testjob::job.scaleFilter = QStringLiteral(" -vf-add scale=720:480");
    const resultcheck::Expectation e = resultcheck::expectedStreams(testjob::source, testjob::job, 3);
    EXPECT_NEAR(e.pictureShape, 16.0 / 9, 0.001);
    const resultcheck::Verdict v = resultcheck::checkTarget(dst, src, e, 0, true);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.message.toStdString(),
              "The picture of the result shows at 1.50:1 where it was to show at 1.78:1: it is squashed or stretched.");
}

} // namespace
