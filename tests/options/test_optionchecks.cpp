// OK's checks and their messages, storing only a fully accepted dialog, Cancel's
// restore (also after a rejected OK), and the stored values shown again.
#include "coregui/jobstate.h"
#include "options/optionchecks.h"
#include "options/optionlists.h"
#include "options/optionpages.h"
#include "options/optionstestlang.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace opt;
using mdlMavrell::lng;

namespace {

// Chooses one button of an option pair, as a click does (the Tags stay).
void choose(std::array<Option, 2> &pair, int index)
{
    pair[0].value = index == 0;
    pair[1].value = index == 1;
}

class OptionChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        using namespace mdlMavrell;
        optionstest::loadEnglish();
        optionstest::resetJob();
        // An XviD job from a 640 x 480, 25 fps source with sound, as the source set-up leaves it.
        jobstate::jobSettings.targetFormat = "XviD";
        jobstate::jobSettings.targetExt = "avi";
        jobstate::sourceInfo = testenv::sampleSource(640, 480, 60, {}, "mpg123");
        fillDesignLists(f);
        setCboFpsItem(f.cboFps, false);
        f.cboFps.select(0);
        setCboVideoBitrateItem(f.cboVideoBitrate, false);
        f.cboVideoBitrate.select(8);  // 1152
        setCboRotateItem(f.cboRotate, false);
        f.cboRotate.select(0);
        f.cboAudioBitrate.select(6);
        f.cboAudioSample.select(5);
        f.cboSize.select(25);  // 640 x 480
        SetSizeSetting(f);
        f.cboSubcp.select(0);
        f.picPlayerScaleWidth = 320;
        f.picPlayerScaleHeight = 240;
        jobstate::jobSettings.outWidth = 640;
        jobstate::jobSettings.outHeight = 480;
        jobstate::jobSettings.fpsText = f.cboFps.text;
        jobstate::jobSettings.videoBitrateText = f.cboVideoBitrate.text;
        jobstate::jobSettings.audioBitrateText = f.cboAudioBitrate.text;
        jobstate::jobSettings.scaleFilter = " -vf-add scale=640:480";
        jobstate::jobSettings.audioOpts = " -delay 0 -channels 2 -srate 44100 -af-add channels=2";
        takeSnapshot(f);  // the settings command shows the dialog
    }

    OptionsForm f;
    ScriptedPrompts prompts;
};

TEST_F(OptionChecks, FieldChecksInOrderWithTheirMessages)
{
    struct Case {
        const char *fps, *vbit, *abit, *w, *h;
        int rotate;
        const char *top, *bottom;
        int page;
        QString focus, message;
    };
    const Case cases[] = {
        {"4.9", "1152", "128", "640", "480", 0, "0", "0", 0, "cboFps",
         "The frame rate must lie between 5 and 30."},
        {"31", "1152", "128", "640", "480", 0, "0", "0", 0, "cboFps", "The frame rate must lie between 5 and 30."},
        {"25", "9001", "128", "640", "480", 0, "0", "0", 1, "cboVideoBitrate", lng[txt::VideoBitrateRange]},
        {"25", "31", "128", "640", "480", 0, "0", "0", 1, "cboVideoBitrate", lng[txt::VideoBitrateRange]},
        {"25", "9000", "321", "640", "480", 0, "0", "0", 2, "cboAudioBitrate", lng[txt::AudioBitrateRange]},
        {"25", "32", "31", "640", "480", 0, "0", "0", 2, "cboAudioBitrate", lng[txt::AudioBitrateRange]},
        {"25", "32", "320", "1281", "480", 0, "0", "0", 1, "txtSize(0)", lng[txt::WidthRange]},
        {"25", "32", "320", "640", "7", 0, "0", "0", 1, "txtSize(1)", lng[txt::HeightRange]},
        {"25", "32", "320", "640", "480", 2, "0", "4", 1, "txtExpand(1)", lng[txt::FlipAndBordersClash]},
        {"25", "32", "320", "640", "480", 3, "6", "4", 1, "txtExpand(0)", lng[txt::FlipAndBordersClash]},
        {"31", "9001", "321", "1281", "7", 3, "6", "4", 0, "cboFps", "The frame rate must lie between 5 and 30."},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.message.toStdString());
        f.cboFps.listIndex = -1;
        f.cboFps.text = k.fps;
        f.cboVideoBitrate.listIndex = -1;
        f.cboVideoBitrate.text = k.vbit;
        f.cboAudioBitrate.listIndex = -1;
        f.cboAudioBitrate.text = k.abit;
        f.txtSize[0].text = k.w;
        f.txtSize[1].text = k.h;
        f.txtSize[0].enabled = f.txtSize[1].enabled = true;
        f.cboRotate.select(k.rotate);
        f.txtExpand[0].text = k.top;
        f.txtExpand[1].text = k.bottom;
        const OkCheck c = checkFields(f);
        EXPECT_FALSE(c.passed);
        EXPECT_EQ(c.page, k.page);
        EXPECT_EQ(c.focus, k.focus);
        EXPECT_EQ(c.message, k.message);
    }
}

TEST_F(OptionChecks, BoundsThatPass)
{
    f.cboFps.select(13);
    EXPECT_TRUE(checkFields(f).passed);
    f.cboVideoBitrate.text = lng[txt::SameAsSource];  // "same as the source" passes whatever the list holds
    f.cboAudioBitrate.text = "320";
    f.cboRotate.select(2);
    f.txtExpand[2].text = "8";  // a left border goes with a vertical flip
    EXPECT_TRUE(checkFields(f).passed);

    // A sound target or a sound-only source takes any size.
    f.txtSize[0].text = "1281";
    f.txtSize[1].text = "7";
    EXPECT_FALSE(checkFields(f).passed);
    jobstate::jobSettings.targetIsAudio = true;
    EXPECT_TRUE(checkFields(f).passed);
    jobstate::jobSettings.targetIsAudio = false;
    jobstate::sourceInfo.srcDemuxer = "audio";
    EXPECT_TRUE(checkFields(f).passed);

    // With an item from the second on selected, the message names the second item as the low bound.
    jobstate::sourceInfo.srcDemuxer.clear();
    setCboFpsItem(f.cboFps, true);
    f.cboFps.select(0);
    f.cboFps.text = "31";
    EXPECT_EQ(checkFields(f).message, "The frame rate must lie between 5 and 30.");
    f.cboFps.listIndex = 2;
    EXPECT_EQ(checkFields(f).message, "The frame rate must lie between 24 and 30.");
}

TEST_F(OptionChecks, RejectedOkStoresNothingAndCancelGoesBack)
{
    using namespace mdlMavrell;
    // The user changes many things, one of them wrong (the height).
    f.cboFps.select(11);
    f.cboVideoBitrate.select(3);
    f.cboSize.select(1);  // custom size: both boxes can be typed in
    SetSizeSetting(f);
    f.txtSize[0].text = "800";
    f.txtSize[1].text = "7";
    f.txtExpand[2].text = "16";
    choose(f.optAudio, 1);
    f.lblBrightness.tag = "20";
    f.lblVolPlay.tag = "55";
    f.cboSubcp.select(3);
    f.txtSubDelay.text = "2.50";
    choose(f.optScaleCrop, 1);
    f.chkAudioVolnorm.value = 1;

    const OkOutcome ok = okClicked(f);
    EXPECT_FALSE(ok.accepted);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), lng[txt::HeightRange]);
    EXPECT_EQ(f.tabNow, 1);
    EXPECT_EQ(f.focusRequest, "txtSize(1)");
    EXPECT_EQ(f.txtSubDelay.text, "2.5");  // the boxes were tidied
    // Nothing of the job changed, not even the fields checked before the height.
    EXPECT_EQ(jobstate::jobSettings.fpsText, lng[txt::SameAsSource]);
    EXPECT_EQ(jobstate::jobSettings.videoBitrateText, "1152 (medium quality)");
    EXPECT_EQ(jobstate::jobSettings.outWidth, 640);
    EXPECT_EQ(jobstate::jobSettings.outHeight, 480);
    EXPECT_EQ(jobstate::jobSettings.audioOpts, " -delay 0 -channels 2 -srate 44100 -af-add channels=2");
    EXPECT_EQ(f.cboFps.tag, "0");

    cancelClicked(f);
    SetAppliedValue(f);
    EXPECT_EQ(f.cboFps.text, lng[txt::SameAsSource]);
    EXPECT_EQ(f.cboVideoBitrate.text, "1152 (medium quality)");
    EXPECT_EQ(f.cboSize.listIndex, 25);
    EXPECT_EQ(f.txtSize[0].text, "640");
    EXPECT_EQ(f.txtSize[1].text, "480");
    EXPECT_FALSE(f.txtSize[1].enabled);
    EXPECT_EQ(f.txtExpand[2].text, "0");
    EXPECT_TRUE(f.optAudio[0].value);
    EXPECT_FALSE(f.optAudio[1].value);
    EXPECT_TRUE(f.cboAudioSample.enabled);  // the audio page's rule ran again
    EXPECT_EQ(f.lblBrightness.tag, "");
    EXPECT_EQ(f.lblBrightness.caption, "brightness = +0 %");
    EXPECT_EQ(f.lblVolPlay.tag, "100");
    EXPECT_EQ(f.cboSubcp.listIndex, 0);
    EXPECT_EQ(f.txtSubDelay.text, "0");
    EXPECT_TRUE(f.optScaleCrop[0].value);
    EXPECT_EQ(f.chkAudioVolnorm.value, 0);
    EXPECT_EQ(prompts.messages.size(), 1);  // Cancel shows nothing
}

TEST_F(OptionChecks, AcceptedOkWritesEveryPiece)
{
    using namespace mdlMavrell;
    QTemporaryDir dir;
    const QString sub = dir.path() + "/film.srt";
    QFile file(sub);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    f.cboFps.listIndex = -1;
    f.cboFps.text = "12";  // typed
    f.cboSize.select(17);  // 352 x 288
    SetSizeSetting(f);
    f.txtExpand[0].text = "007";
    f.txtExpand[1].text = "";
    f.cboRotate.select(4);
    f.lblVolume.tag = "6";
    f.lblHue.tag = "50";
    choose(f.optSub, 1);
    SetSubSetting(f, false);
    f.txtSubFile.text = sub;
    f.lblMark[0].tag = "5";
    f.lblMark[1].tag = "65.5";

    const OkOutcome ok = okClicked(f);
    ASSERT_TRUE(ok.accepted);
    EXPECT_EQ(jobstate::jobSettings.fpsText, "12");
    EXPECT_EQ(f.cboFps.tag, "-1");
    EXPECT_EQ(jobstate::jobSettings.outWidth, 352);
    EXPECT_EQ(jobstate::jobSettings.outHeight, 288);
    EXPECT_EQ(jobstate::jobSettings.scaleFilter, " -vf-add scale=352:288,expand=352:295:0:7:1");
    EXPECT_EQ(ok.summaryWidth, 352);
    EXPECT_EQ(ok.summaryHeight, 295);
    EXPECT_EQ(jobstate::jobSettings.rotateFilter, " -vf-add rotate=1");
    EXPECT_EQ(jobstate::jobSettings.encodeVolumeOpt, " -af-add volume=6");
    EXPECT_EQ(jobstate::jobSettings.colorFilter, " -vf-add hue=90:1");
    EXPECT_TRUE(jobstate::jobSettings.subtitleOpts.startsWith(" -sub \"" + sub + "\""));
    EXPECT_EQ(jobstate::jobSettings.audioOpts, " -delay 0 -channels 2 -srate 44100 -af-add channels=2");
    EXPECT_EQ(jobstate::jobSettings.markIn, 5.0f);
    EXPECT_EQ(jobstate::jobSettings.markOut, 65.5f);
    EXPECT_FALSE(ok.marksCleared);
    // A quarter turn with subtitles warns, and OK still completes.
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), lng[txt::SubtitlesWithTurnHint]);
    EXPECT_EQ(prompts.messages.last().title, "Mavrell");

    // The stored values come back into the controls.
    f.cboFps.text = "garbage";
    const AppliedMarks marks = SetAppliedValue(f);
    EXPECT_EQ(f.cboFps.text, "12");
    EXPECT_EQ(f.lblMark[1].tag, "65.5");
    EXPECT_FALSE(marks.clearMarks);
    EXPECT_EQ(marks.endMark, 65.5f);
    EXPECT_FALSE(f.shpCrop.visible);
}

TEST_F(OptionChecks, MarksAndMissingSubtitleFile)
{
    using namespace mdlMavrell;
    // An unset end mark clears both marks.
    f.lblMark[0].tag = "12";
    const OkOutcome ok = okClicked(f);
    ASSERT_TRUE(ok.accepted);
    EXPECT_TRUE(ok.marksCleared);
    EXPECT_EQ(jobstate::jobSettings.markIn, 0.0f);
    EXPECT_EQ(jobstate::jobSettings.markOut, 0.0f);
    EXPECT_TRUE(SetAppliedValue(f).clearMarks);
    EXPECT_TRUE(prompts.messages.isEmpty());  // no quarter turn, no warning

    // A missing subtitle file stops OK before anything is stored.
    choose(f.optSub, 1);
    SetSubSetting(f, false);
    f.txtSubFile.text = "/nonexistent/film.srt";
    f.cboFps.select(5);
    EXPECT_FALSE(okClicked(f).accepted);
    EXPECT_EQ(f.tabNow, 4);
    EXPECT_NE(jobstate::jobSettings.fpsText, f.cboFps.text);
    EXPECT_TRUE(jobstate::jobSettings.subtitleOpts.isEmpty());
}

TEST_F(OptionChecks, SnapshotCoversEverySettingControl)
{
    f.lblHue.tag = "-20";
    f.txtAudioDelay.text = "1.5";
    choose(f.optSub, 1);
    f.chkAudioVolnorm.value = 1;
    f.txtSubFile.text = "/m/a.srt";
    takeSnapshot(f);
    EXPECT_EQ(f.imgHue[0].tag, "-20");
    EXPECT_EQ(f.lblVol[0].tag, "100");
    EXPECT_EQ(f.cboSize.tag, "25");
    EXPECT_EQ(f.optSub[0].tag, "False");
    EXPECT_EQ(f.chkAudioVolnorm.tag, "1");

    f.lblHue.tag = "40";
    f.picCrSpecScaleWidth = 200;
    f.txtAudioDelay.text = "9";
    choose(f.optSub, 0);
    f.txtSubFile.text = "";
    f.cboSize.select(1);
    cancelClicked(f);
    EXPECT_EQ(f.lblHue.tag, "-20");
    EXPECT_EQ(f.lblHue.caption, "hue = -20 value");
    EXPECT_EQ(f.lneCrSpecX, 80);  // the hue marker follows the restored hue
    EXPECT_EQ(f.txtAudioDelay.text, "1.5");
    EXPECT_TRUE(f.optSub[1].value);
    EXPECT_TRUE(f.txtSubFile.enabled);
    EXPECT_EQ(f.txtSubFile.text, "/m/a.srt");
    EXPECT_EQ(f.cboSize.listIndex, 25);
    EXPECT_FALSE(f.txtSize[0].enabled);
}

} // namespace
