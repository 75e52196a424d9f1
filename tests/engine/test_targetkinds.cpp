// The table of job kinds: every target the menu offers has its row, with tool options
// for each target it can be chosen with, and the checks of a job against its source.
#include "engine/targetkinds.h"
#include "engine/targetmenu.h"

#include <gtest/gtest.h>

using namespace engine;
using namespace jobrecords;

TEST(TargetKinds, EveryMenuTargetHasItsRow)
{
    for (const TargetMenuItem &item : targetMenuItems()) {
        if (item.separator)
            continue;
        SCOPED_TRACE(item.controlName.toStdString() + " " + std::to_string(item.index));
        JobSettings job;
        job.targetFormat = item.format;
        job.targetIsAudio = item.menu == TargetMenu::ToSound;
        const TargetKind *kind = targetKindOf(job);
        ASSERT_NE(kind, nullptr);
        EXPECT_EQ(kind->soundTarget, job.targetIsAudio);
        if (kind->soundTarget)
            continue;
        // Each extension the item can write has tool 2's options.
        for (const QString &ext : item.ext.split(QLatin1Char('|')))
            EXPECT_NE(kind->optionsFor(ext), nullptr) << ext.toStdString();
        EXPECT_EQ(kind->copyJob, item.menu == TargetMenu::ToChangeVol || item.menu == TargetMenu::ToCut
                                     || item.menu == TargetMenu::ToFix);
    }
    EXPECT_EQ(findTargetKind(QStringLiteral("no such kind")), nullptr);
}

TEST(TargetKinds, VariantsFallBackToTheirContainer)
{
    const TargetKind *cut = findTargetKind(kind::Cut);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->optionsFor(QStringLiteral("avi-mp3"))->variant, QStringLiteral("avi-mp3"));
    const TargetKind *volume = findTargetKind(kind::ChangeVolume);
    ASSERT_NE(volume, nullptr);
    // The volume change makes the sound MP3 in any AVI: it has no variant of its own for it.
    EXPECT_EQ(volume->optionsFor(QStringLiteral("avi-mp3"))->variant, QStringLiteral("avi"));
    EXPECT_TRUE(volume->optionsFor(QStringLiteral("vob"))->rewrite.contains(QStringLiteral("-acodec ac3")));
    EXPECT_EQ(findTargetKind(kind::Mp42)->optionsFor(QStringLiteral("mkv")), nullptr);
    EXPECT_EQ(copyContainer(QStringLiteral("mpeg")), QStringLiteral("mpegps"));
    EXPECT_EQ(copyContainer(QStringLiteral("wmv")), QStringLiteral("asf"));
    EXPECT_EQ(copyContainer(QStringLiteral("avi")), QStringLiteral("avi"));
}

TEST(TargetKinds, JobImpossibleForTheSource)
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

