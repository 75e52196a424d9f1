// One target per family through the real main window and the real tools: a menu
// item, the source dialog answered with a generated clip, the encode button, the
// report, and the result checked with ffprobe.
#include "coregui/jobstate.h"
#include "mainwin/conversionwindow.h"

#include <QComboBox>

using namespace conversiontest;

// One target per family from the menu to a checked file: the presets give the job
// its defaults, the confirmation is answered, the report names the target.
TEST_F(Conversion, MenuItemToCheckedFile)
{
    struct Case {
        TargetMenu menu;
        int index;
        const char *fixture;
        const char *ext;      // the target's extension
        const char *format;   // ffprobe's container name contains this
        const char *video;    // "" no picture
        const char *audio;
        int width, height;    // 0: not checked
        int audioItem;        // -1: the preset's audio bit rate; else the item chosen in the dialog
    };
    // The MPEG-2 job takes 128 kbit/s sound in the dialog: at the preset's 64 kbit/s the
    // encoder's MPEG muxer writes no streams at all (see the disabled test below).
    const Case cases[] = {
        {TargetMenu::ToMpg, 4, "mpeg4.avi", "mpg", "mpeg", "mpeg2video", "mp2", 320, 240, 6},
        {TargetMenu::ToWmv, 1, "mpeg4.avi", "wmv", "asf", "wmv2", "wmav2", 320, 240, -1},
        {TargetMenu::ToAvi, 1, "wmv2.wmv", "avi", "avi", "mpeg4", "mp3", 0, 0, -1},
        {TargetMenu::ToSound, 1, "vorbis.ogg", "mp3", "mp3", "", "mp3", 0, 0, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fixture);
        prompts.messages.clear();
        const QString src = source(QString::fromLatin1(c.fixture));
        pick(c.menu, c.index, src);
        const QString dst = QFileInfo(src).path() + "/" + QFileInfo(src).completeBaseName() + "." + c.ext;
        ASSERT_EQ(s(w->lblOutput->text()), s(dst));
        EXPECT_TRUE(w->cmdInput->Tag().isEmpty());
        EXPECT_TRUE(w->cmdInput->isEnabled());
        if (c.audioItem >= 0) {
            // The settings button, another audio bit rate, OK.
            w->cmdOpt_Click();
            FrmOptions &o = frmOptions();
            ASSERT_FALSE(o.isHidden());
            o.cboAudioBitrate->setCurrentIndex(c.audioItem);
            o.cmdOkCancel_Click(0);
            ASSERT_TRUE(o.isHidden()) << s(prompts.lastText());
            EXPECT_TRUE(jobstate::jobSettings.audioBitrateText.startsWith(QLatin1String("128"))) << s(jobstate::jobSettings.audioBitrateText);
        }

        prompts.answer(Answer::Ok);      // start confirmation
        prompts.answer(Answer::Cancel);  // do not play the result
        w->cmdEncode_Click(0);

        ASSERT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded) << s(prompts.lastText());
        ASSERT_GE(prompts.messages.size(), 2);
        EXPECT_TRUE(prompts.messages[0].text.contains(lng[txt::AboutToStart]));
        EXPECT_TRUE(prompts.lastText().startsWith(dst));
        EXPECT_TRUE(prompts.lastText().contains(lng[txt::Succeeded]));
        // The window is at rest again.
        EXPECT_TRUE(w->cmdEncode[1]->isHidden());
        EXPECT_FALSE(w->cmdEncode[0]->isHidden());
        EXPECT_TRUE(w->picEncodeEsti->isHidden());
        EXPECT_TRUE(w->cmdInput->isEnabled());

        const Probed p = ffprobe(dst);
        EXPECT_TRUE(p.format.contains(QLatin1String(c.format))) << s(p.format) << "\n" << s(w->lastEncode.command);
        EXPECT_EQ(s(p.video), c.video);
        EXPECT_EQ(s(p.audio), c.audio);
        EXPECT_NEAR(p.duration, 3.0, 0.5) << s(w->lastEncode.command);
        if (c.width) {
            EXPECT_EQ(p.width, c.width);
            EXPECT_EQ(p.height, c.height);
        }
    }
}

// A cut of a marked range: the marks the dialog would store, the key-frame check with
// the real player, and a result as long as the range.
TEST_F(Conversion, CutOfMarkedRange)
{
    const QString src = source("long.avi", "clip with blanks ü.avi");
    pick(TargetMenu::ToCut, 2, src);
    const QString dst = work.filePath("clip with blanks ü_Cut.avi");
    ASSERT_EQ(s(w->lblOutput->text()), s(dst));
    // The summary tells which button sets the cut marks.
    ASSERT_FALSE(w->cmdOpt->Caption().isEmpty());
    EXPECT_TRUE(w->lblEncodeNote->text().contains(QString(lng[txt::UseButtonForMarks]).replace("aaa", w->cmdOpt->Caption().trimmed())))
        << s(w->lblEncodeNote->text());
    jobstate::jobSettings.markIn = 4;
    jobstate::jobSettings.markOut = 7;
    // The clip has a key frame every second, so the start at 4 s asks nothing: the
    // start is confirmed and the result not played.
    prompts.answer(Answer::Ok);
    prompts.answer(Answer::Cancel);
    w->cmdEncode_Click(0);
    ASSERT_EQ(w->lastEncode.outcome, encodeflow::Outcome::Succeeded) << s(prompts.lastText());
    EXPECT_TRUE(w->lblEncodeNoteCheck->isHidden());
    EXPECT_TRUE(prompts.lastText().contains(lng[txt::Succeeded]));
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_TRUE(w->lastEncode.command.contains(" -ss ")) << s(w->lastEncode.command);
    const Probed p = ffprobe(dst);
    EXPECT_EQ(s(p.video), "mpeg4");
    EXPECT_NEAR(p.duration, jobstate::jobSettings.encodeSeconds, 0.6);
    EXPECT_GT(p.duration, 2.4);
    EXPECT_LT(p.duration, 5.0);
}

// The MPEG-2 target with the preset's own 64 kbit/s sound: the encoder's MPEG muxer
// writes a file without streams at that rate, so the command takes the next that works.
TEST_F(Conversion, Mpeg2WithPresetSoundIsPlayable)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToMpg, 4, src);
    prompts.answer(Answer::Ok);
    prompts.answer(Answer::Cancel);
    w->cmdEncode_Click(0);
    const Probed p = ffprobe(w->lblOutput->text());
    EXPECT_EQ(s(p.video), "mpeg2video");
    EXPECT_NEAR(p.duration, 3.0, 0.5);
}
