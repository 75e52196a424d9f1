// Where a marked cut really starts: the one-frame probe's command and reply, the
// alignment's decisions on a modelled source, and the probe against the real player.
#include "engine/encodejob.h"
#include "engine/keyframeprobe.h"
#include "engine/testjob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"
#include "core/timetext.h"

#include <gtest/gtest.h>
#include <vector>

using namespace mdlMavrell;

namespace {

TEST(KeyFrameProbe, CommandAndReply)
{
    EXPECT_EQ(keyframeprobe::probeCommand("/p/OrvexRes1", "/v/my clip.avi", 12.5f),
              "/p/OrvexRes1 -ao null -vo null -noframedrop -frames 1 \"/v/my clip.avi\" -ss 12.5 -endpos 0");
    EXPECT_EQ(keyframeprobe::seekText(-3), "-3");
    EXPECT_EQ(keyframeprobe::seekText(1.0f / 3), "0.3333333");
    EXPECT_EQ(keyframeprobe::seekText(29.97f), "29.97");

    struct Case {
        QString reply;
        float time;
    } cases[] = {
        {"Starting playback...\nA:   6.0 V:   6.0 A-V: -0.004 ct: -0.000 152/152 ??% ??% ??,?% 0 0\n\nExiting", 6.0f},
        {"A:   1.0 V:   1.0 A-V: 0 1/1\rA:   2.0 V:  12.48 A-V: 0.1 2/2\r", 12.4f},  // the last status line
        {"V:   1.2   30/30 ", 1.2f},  // no sound
        {"no status at all", -1},
        {"A:   1.0 V:  12 A-V 1/1", -1},  // no point after V:
        {"A:   1.0 V:  12.5 A-V", -1},    // no frame counter after the number
        {"A: 1.0 V: ab.c 1/1", -1},
    };
    for (const Case &c : cases)
        EXPECT_FLOAT_EQ(keyframeprobe::parseReply(c.reply), c.time) << c.reply.toStdString();
}

// A source whose key frames lie at the given times: the probe lands on the first one
// at or after the seek time (and on the first one for a seek before the start).
class Alignment : public ::testing::Test {
protected:
    void SetUp() override
    {
        encodetest::clearJob();
        loadLanguageTable(QStringLiteral("en"));
        testjob::job.actionWord = QStringLiteral("Cut");
        testjob::source.srcLength = 60;
        encodetest::setTarget("onlyCut", "avi");
        hooks.probe = [this](float t) {
            ++probes;
            for (float k : keyFrames)
                if (k >= t)
                    return k + testjob::source.srcStartTime;
            return -1.0f;
        };
        hooks.showNote = [this](bool show) { noteShown = show; };
        hooks.ask = [this](const QString &text, prompts::Buttons b) {
            questions << text;
            buttons = b;
            return answer;
        };
    }
    keyframeprobe::Alignment align()
    {
        const auto r = encodeflow::initialRange(testjob::source, testjob::job);
        testjob::job.encodeSeconds = r.encodeSeconds;
        return keyframeprobe::alignCutStart(testjob::source, testjob::job, r.range, r.encodeSeconds, hooks);
    }

    std::vector<float> keyFrames;
    keyframeprobe::AlignmentHooks hooks;
    int probes = 0;
    bool noteShown = false;
    QStringList questions;
    prompts::Buttons buttons = prompts::Buttons::Ok;
    prompts::Answer answer = prompts::Answer::Yes;
};

TEST_F(Alignment, NothingToAlign)
{
    keyFrames = {0, 5, 10};
    testjob::job.markIn = 0;
    testjob::job.markOut = 20;
    auto a = align();
    EXPECT_FALSE(a.ran);
    EXPECT_EQ(probes, 0);
    testjob::job.markIn = 5;
    encodetest::setTarget("Sound MP3", "mp3", true);
    a = align();
    EXPECT_FALSE(a.ran);
    EXPECT_EQ(probes, 0);
}

TEST_F(Alignment, CloseEnoughOrTooFar)
{
    struct Case {
        std::vector<float> keys;
        float markIn;
        float previous;  // -1: the sparse warning goes into the start confirmation
    } cases[] = {
        {{0, 10.2f, 20}, 10, 0},   // 0.2 s late: no question
        {{0, 10.24f, 20}, 10, 0},  // reads as 0.2
        {{2, 30}, 10, -1},         // 20 s late: no search, no question
    };
    for (const Case &c : cases) {
        keyFrames = c.keys;
        testjob::job.markIn = c.markIn;
        testjob::job.markOut = 25;
        probes = 0;
        const auto a = align();
        EXPECT_TRUE(a.ran);
        EXPECT_TRUE(questions.isEmpty());
        EXPECT_EQ(a.previousKeyFrame, c.previous);
        EXPECT_EQ(a.range, " -ss 00:00:10.0 -endpos 00:00:15.0");  // as it was
        EXPECT_FALSE(noteShown);
    }
    EXPECT_EQ(probes, 1);  // the 20 s case probes only at the mark

    // A reply 8 s before the mark (a tool that seeks to the key frame before).
    hooks.probe = [](float t) { return t - 8; };
    testjob::job.markIn = 10;
    const auto a = align();
    EXPECT_EQ(a.previousKeyFrame, -1);
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(Alignment, LateStartOffersThePreviousKeyFrame)
{
    keyFrames = {0, 7.5f, 13, 30};
    testjob::job.markIn = 10;
    testjob::job.markOut = 25;
    answer = prompts::Answer::Yes;
    auto a = align();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(buttons, prompts::Buttons::YesNoCancel);
    EXPECT_TRUE(questions[0].contains("\"Cut\" from 00:00:10.0 would actually begin 3.0 seconds later")) << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains("previous key frame at 00:00:07.5, 2.5 seconds earlier"));
    EXPECT_TRUE(questions[0].contains("keep the start at 00:00:10.0 and begin 3.0 seconds later"));
    EXPECT_EQ(a.previousKeyFrame, 7.5f);
    EXPECT_EQ(a.range, " -ss 00:00:07.0 -endpos 00:00:17.5");  // the seek that found 7.5; 7.5 to 25
    EXPECT_FLOAT_EQ(a.encodeSeconds, 17.5f);

    answer = prompts::Answer::No;
    a = align();
    EXPECT_EQ(a.range, " -ss 00:00:10.0 -endpos 00:00:12.0");  // the seek that found 13; 13 to 25
    EXPECT_FLOAT_EQ(a.encodeSeconds, 12.0f);

    answer = prompts::Answer::Cancel;
    a = align();
    EXPECT_TRUE(a.cancelled);
    EXPECT_FALSE(noteShown);
}

TEST_F(Alignment, NoEndMarkAsksOkCancelAndMayStartAtZero)
{
    keyFrames = {0, 6};
    testjob::job.markIn = 3;
    testjob::job.markOut = 0;
    answer = prompts::Answer::Ok;
    const auto a = align();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(buttons, prompts::Buttons::OkCancel);
    EXPECT_EQ(a.previousKeyFrame, 0);
    EXPECT_EQ(a.range, " -ss 00:00:00.0 -endpos 00:01:03.0");  // 60 + 3
}

// The encoder lands where the probe lands for the same seek time. Some readers land
// on the first key frame at or after the seek time, others (MPEG programs, ASF) on one
// up to about half a second before it; with key frames a second apart, seeking to a
// key frame's time less a margin would land on the key frame before it.
TEST_F(Alignment, TheRangeStartsAtTheToldKeyFrameAndEndsAtTheMark)
{
    for (float early : {0.0f, 0.3f, 0.5f}) {
        keyFrames = {0, 1.04f, 2.04f, 3.04f, 4.04f, 5.04f};
        auto landing = [&](float t) {
            for (float k : keyFrames)
                if (k >= t - early)
                    return k;
            return -1.0f;
        };
        hooks.probe = landing;
        for (auto reply : {prompts::Answer::Yes, prompts::Answer::No}) {
            testjob::job.markIn = 3.6f;
            testjob::job.markOut = 4.6f;
            answer = reply;
            questions.clear();
            const auto a = align();
            ASSERT_EQ(questions.size(), 1) << early;
            const float told = reply == prompts::Answer::Yes ? a.previousKeyFrame : landing(testjob::job.markIn);
            const QStringList words = a.range.split(' ', Qt::SkipEmptyParts);  // -ss t -endpos l
            ASSERT_EQ(words.size(), 4) << a.range.toStdString();
            const float seek = ParseTime(words[1]);
            const float length = ParseTime(words[3]);
            EXPECT_FLOAT_EQ(landing(seek), told) << early << a.range.toStdString();
            EXPECT_NEAR(told + length, testjob::job.markOut, 0.06f) << early << a.range.toStdString();
        }
    }

    // A mark just after a key frame that the seek lands on (a negative delay): no
    // question, and the length runs from that key frame to the marked end.
    keyFrames = {0, 1.04f, 2.04f, 3.04f, 4.04f, 5.04f};
    hooks.probe = [&](float t) {
        for (float k : keyFrames)
            if (k >= t - 0.5f)
                return k;
        return -1.0f;
    };
    testjob::job.markIn = 3.4f;
    testjob::job.markOut = 4.4f;
    questions.clear();
    const auto a = align();
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(a.range, " -ss 00:00:03.4 -endpos 00:00:01.4");
    EXPECT_FLOAT_EQ(a.encodeSeconds, 1.4f);
}

// A stream that does not start at 0: the tool's times run at twice the seek times here.
TEST_F(Alignment, TimeScaleOfAnOffsetStream)
{
    testjob::source.srcStartTime = 1;
    testjob::source.srcLength = 100;
    hooks.probe = [this](float t) {
        ++probes;
        return 2 * t + testjob::source.srcStartTime;
    };
    testjob::job.markIn = 10;
    testjob::job.markOut = 20;
    const auto a = align();
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(a.range, " -ss 00:00:05.0 -endpos 00:00:10.0");
    EXPECT_EQ(probes, 11);  // five at the end, five at the mark, one for the frame
}

TEST(KeyFrameProbeRealTool, FindsTheNextKeyFrame)
{
    testenv::ProgramDir programDir;
    programDir.activate();
    const QString src = testenv::fixture("long.avi");  // a key frame every second
    ASSERT_FALSE(src.isEmpty());
    EXPECT_NEAR(keyframeprobe::getKeyFrameTime(src, 5.5f), 6.0f, 0.05f);
    EXPECT_NEAR(keyframeprobe::getKeyFrameTime(src, 3.0f), 3.0f, 0.05f);

    ScriptedPrompts prompts;
    programDir.fakeTool(1, "exit 0\n");
    EXPECT_EQ(keyframeprobe::getKeyFrameTime(src, 5.5f), -1);  // nothing printed
    QFile::remove(programDir.pluginPath(1));
    EXPECT_EQ(keyframeprobe::getKeyFrameTime(src, 5.5f), 0);  // tool missing: the user was told
    EXPECT_EQ(prompts.messages.size(), 1);
}

} // namespace
