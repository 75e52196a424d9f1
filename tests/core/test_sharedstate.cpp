#include "core/jobrecords.h"
#include "core/mdlmavrell.h"

#include <gtest/gtest.h>

using namespace mdlMavrell;
using namespace jobrecords;

TEST(SharedState, RoundUpAndClamp)
{
    EXPECT_EQ(RoundUp(2.0f), 2);
    EXPECT_EQ(RoundUp(2.01f), 3);
    EXPECT_EQ(RoundUp(-1.5f), -1);
    EXPECT_EQ(Clamp(5, 8, 1280), 8);
    EXPECT_EQ(Clamp(2000, 8, 1280), 1280);
    EXPECT_EQ(Clamp(640, 8, 1280), 640);
}

TEST(SharedState, JobImpossibleForTheSource)
{
    struct Case { const char *format; bool audio; const char *demuxer; int width; float fps; const char *codec; bool impossible; };
    const Case cases[] = {
        {"x MP3", true, "avi", 320, 25, "", true},             // audio target, no sound track
        {"x MP3", true, "avi", 320, 25, "mpg123", false},
        {"XviD", false, "audio", 0, 0, "mpg123", true},        // video target from an audio file
        {"onlyTransVol", false, "avi", 320, 25, "", true},     // volume of a silent video
        {"AudIsMp3", false, "avi", 320, 25, "", true},
        {"XviD", false, "lavf", 0, 0, "", true},               // no picture: audio-only whatever the demuxer
        {"XviD", false, "avi", 320, 25, "", false},
    };
    for (const Case &c : cases) {
        SourceInfo source;
        source.srcDemuxer = c.demuxer;
        source.srcWidth = c.width;
        source.srcFps = c.fps;
        source.srcAudioCodec = c.codec;
        JobSettings job;
        job.targetFormat = c.format;
        job.targetIsAudio = c.audio;
        EXPECT_EQ(isJobImpossible(source, job), c.impossible) << c.format << " " << c.demuxer;
    }
}

TEST(SharedState, AudioTargetDoesNotDependOnTheLanguage)
{
    lng[txt::AudioWord] = QStringLiteral("聲音");
    JobSettings job;
    job.targetFormat = lng[txt::AudioWord] + " MP3";
    job.targetIsAudio = true;
    lng[txt::AudioWord] = QStringLiteral("Sound");  // the user switched the language
    EXPECT_TRUE(isAudioTarget(job));
}
