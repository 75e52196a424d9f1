// The option-page masks per job and page 5's layout.
#include "engine/tabmasks.h"
#include "engine/testjob.h"

#include "core/mdlmavrell.h"
#include "texttable.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(TabMasks, PagesMaskedByWhatTheSourceLacks)
{
    fillMarkerTable();
    struct Case {
        const char *what;
        bool audio, picture, impossible;
        const char *masked;  // one letter per page: m masked, o open
        const char *message;
    } cases[] = {
        {"picture and audio", true, true, false, "oooooo", "{248}"},
        {"picture, no audio", false, true, false, "oomooo", "{249}"},
        {"audio only", true, false, false, "omommm", "{248}"},
        {"impossible, no audio", false, true, true, "mmmmmm", "{249}"},
        {"impossible, sound only for video", true, false, true, "mmmmmm", "{248}"},
    };
    for (const Case &c : cases) {
        const QList<TabMask> masks = tabMasks(6, c.audio, c.picture, c.impossible);
        ASSERT_EQ(masks.size(), 6);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(masks[i].visible, c.masked[i] == 'm') << c.what << " page " << i;
            EXPECT_EQ(masks[i].message, QString(c.message)) << c.what;
        }
    }
}

TEST(TabMasks, FromTheSharedRecords)
{
    fillMarkerTable();
    namespace m = mdlMavrell;
    testjob::source = {};
    testjob::source.srcDemuxer = "audio";
    testjob::source.srcAudioCodec = "mp3";
    testjob::job.targetFormat = "DivX";
    testjob::job.targetIsAudio = false;
    const QList<TabMask> masks = tabMasks(6, testjob::source, testjob::job);
    for (const TabMask &t : masks) {
        EXPECT_TRUE(t.visible) << "a sound file cannot become a video";
        EXPECT_EQ(t.message, QString("{248}"));
    }
}

TEST(TabMasks, NotePageCentresItsNoteAndButton)
{
    fillMarkerTable();
    const NotePageLayout l = notePageLayout(QSize(400, 300), QSize(200, 100), QSize(80, 24));
    EXPECT_EQ(l.donationCaption, QString("{126}"));
    EXPECT_EQ(l.note, QString("{253}"));
    EXPECT_EQ(l.noteRect, QRect(100, 100, 200, 100));
    EXPECT_EQ(l.buttonRect, QRect(160, 204, 80, 24));
    EXPECT_EQ(centredIn(QSize(100, 50), QSize(31, 11)), QPoint(34, 19));
}
