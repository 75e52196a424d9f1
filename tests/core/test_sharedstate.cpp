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

TEST(SharedState, AudioTargetDoesNotDependOnTheLanguage)
{
    lng[txt::AudioWord] = QStringLiteral("聲音");
    JobSettings job;
    job.targetFormat = lng[txt::AudioWord] + " MP3";
    job.targetIsAudio = true;
    lng[txt::AudioWord] = QStringLiteral("Sound");  // the user switched the language
    EXPECT_TRUE(isAudioTarget(job));
}
