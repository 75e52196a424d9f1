// The settings summary for a few jobs in two languages, and the range note.
#include "core/timetext.h"
#include "coregui/jobstate.h"
#include "options/optionlists.h"
#include "options/optionstestlang.h"
#include "options/optionsummary.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace opt;
using mdlMavrell::lng;

namespace {

class OptionSummary : public ::testing::Test {
protected:
    void SetUp() override
    {
        optionstest::loadEnglish();
        optionstest::resetJob();
        using namespace mdlMavrell;
        jobstate::sourceInfo = testenv::sampleSource(640, 480, 90, {}, "mpg123");
    }
    // An XviD conversion turned right, as OK leaves it.
    void conversion()
    {
        using namespace mdlMavrell;
        fillDesignLists(f);
        setCboVideoBitrateItem(f.cboVideoBitrate, false);
        f.cboVideoBitrate.select(8);
        f.cboAudioBitrate.select(6);
        setCboRotateItem(f.cboRotate, false);
        f.cboRotate.select(4);
        f.lblFormatStr.caption = lng[txt::TargetFormatIs] + "XviD";
        jobstate::jobSettings.targetFormat = "XviD";
        jobstate::jobSettings.targetExt = "avi";
        jobstate::jobSettings.fpsText = lng[txt::SameAsSource];
        jobstate::jobSettings.rotateFilter = " -vf-add rotate=1";
        jobstate::jobSettings.scaleFilter = " -vf-add scale=640:480";
        jobstate::jobSettings.audioOpts = " -delay 0 -channels 2 -srate 44100 -af-add channels=2 -af-add volnorm";
        f.lblBrightness.tag = "-2.5";
        f.lblVolume.tag = "6";
    }
    QString note(int w, int h) { return SetMainEncodeNote(f, size, w, h, "Settings", "Encode").text; }

    OptionsForm f;
    NoteSize size;
};

TEST_F(OptionSummary, ConversionInTwoLanguages)
{
    conversion();
    EXPECT_EQ(note(640, 480), "Target format: XviD\n"
                              "Marked range: whole length\n"
                              "Final size: 480 x 640, fps: Same as source\n"
                              "video bit rate: 1152, audio bit rate: 128, normalised\n"
                              "not cropped, no borders, no subtitles, Right 90\n"
                              "Other: brightness -2.5, contrast 0, hue 0, saturation 0, volume 6");

    optionstest::loadChinese();
    conversion();
    jobstate::jobSettings.audioOpts = " -nosound";
    jobstate::jobSettings.scaleFilter = " -vf-add crop=202:120:20:42 -vf-add scale=640:480 -vf-add expand=656:480:8:0:1";
    jobstate::jobSettings.subtitleOpts = " -sub \"/m/a.srt\"";
    jobstate::jobSettings.rotateFilter = " -vf-add flip";
    f.lblMark[0].tag = "5";
    f.lblMark[1].tag = "65.5";
    const QString range = mdlMavrell::FormatTime(5, 3, 1) + " - " + mdlMavrell::FormatTime(65.5f, 3, 1) + " = "
                          + mdlMavrell::FormatTime(60.5f, 1, 1);
    EXPECT_EQ(note(-1, -1), "設定目標格式：XviD\n"
                            "標記範圍：" + range + "\n"
                            "最後畫面大小：640 x 480，每秒畫格：與來源相同\n"
                            "視訊位元率：1152，不輸出聲音\n"
                            "已裁切，加黑邊，有字幕，右轉 90\n"
                            "其他：亮度 -2.5，對比 0，色調 0，飽和度 0，音量 6");
}

TEST_F(OptionSummary, KeptSizeAndEmptyFrameRate)
{
    conversion();
    jobstate::jobSettings.rotateFilter.clear();
    jobstate::jobSettings.fpsText.clear();
    note(352, 288);
    EXPECT_TRUE(note(-1, -1).contains("Final size: 352 x 288, fps: ----\n"));
    EXPECT_TRUE(note(-1, 240).contains("Final size: 352 x 240,"));
    EXPECT_TRUE(SetMainEncodeNote(f, size, -1, -1, "", "").conversionLayout);
}

TEST_F(OptionSummary, SpecialJobsAndSoundTargets)
{
    using namespace mdlMavrell;
    fillDesignLists(f);
    f.lblFormatStr.caption = lng[txt::TargetFormatIs] + "Sound WAV";
    f.cboAudioSample.select(5);
    f.cboAudioBitrate.select(9);
    f.lblVolume.tag = "-4";
    jobstate::jobSettings.targetIsAudio = true;
    jobstate::jobSettings.targetFormat = "Sound WAV";
    jobstate::jobSettings.targetExt = "wav";
    jobstate::jobSettings.actionWord = "  Convert ";
    const QString head = QString(48, '-') + "\nTarget format: Sound WAV\nMarked range: whole length\n";
    EXPECT_EQ(note(0, 0), "Use Settings to set sound or marks.\n" + head + "Convert: volume -4 dB, sample rate: 44100");
    jobstate::jobSettings.targetExt = "mp3";
    EXPECT_EQ(note(0, 0), "Use Settings to set sound or marks.\n" + head + "Convert: volume -4 dB, audio bit rate: 224");
    EXPECT_FALSE(SetMainEncodeNote(f, size, 0, 0, "", "").conversionLayout);

    // The kind decides the layout, not the action word (written in another language here).
    jobstate::jobSettings.targetIsAudio = false;
    jobstate::jobSettings.targetExt = "avi";
    f.lblVolume.tag.clear();
    jobstate::jobSettings.targetFormat = "onlyTransVol";
    jobstate::jobSettings.actionWord = lng[txt::AdjustWord] + lng[txt::VolumeWord];
    jobstate::jobSettings.audioOpts = " -af-add volnorm";
    EXPECT_EQ(note(0, 0), "Use Settings to set the volume.\n" + head
                              + "Adjust volume: volume +0 dB, normalised, audio bit rate: 224");
    jobstate::jobSettings.actionWord = "Adjust Volume";
    jobstate::jobSettings.targetFormat = "onlyCut";
    EXPECT_EQ(note(0, 0), "Use Settings to set the cut marks.\n" + head.chopped(1));
    jobstate::jobSettings.targetFormat = "onlyFix";
    EXPECT_EQ(note(0, 0), "\nPress Encode to repair the whole video.\n" + QString(48, '-')
                              + "\nTarget format: Sound WAV\n");
}

TEST_F(OptionSummary, JobsThatCannotBeDone)
{
    using namespace mdlMavrell;
    conversion();
    jobstate::sourceInfo.srcDemuxer = "audio";
    EXPECT_EQ(note(0, 0), lng[txt::MusicCannotBeVideo]);
    jobstate::sourceInfo.srcDemuxer.clear();
    jobstate::sourceInfo.srcAudioCodec.clear();
    jobstate::jobSettings.targetFormat = "onlyTransVol";
    EXPECT_EQ(note(0, 0), lng[txt::NoAudioForVolume]);
    jobstate::jobSettings.targetFormat = "AudIsMp3";
    EXPECT_EQ(note(0, 0), lng[txt::NoAudioForMp3]);
    jobstate::jobSettings.targetIsAudio = true;
    jobstate::jobSettings.targetFormat = "Sound MP3";
    EXPECT_EQ(note(0, 0), lng[txt::NoAudioForAudioTarget]);
    jobstate::sourceInfo.srcLength = 0;
    jobstate::sourceInfo.srcFps = 0;
    EXPECT_EQ(note(0, 0), "The source could not be analysed.\nChoose another file.");
}

TEST_F(OptionSummary, RangeNote)
{
    using namespace mdlMavrell;
    jobstate::jobSettings.targetFormat = "XviD";
    const QString zero = FormatTime(0, 3, 1);
    EXPECT_EQ(SetScopeNote(f), "Range: " + zero + " - ?? = ??");
    EXPECT_EQ(f.txtScope[1].text, FormatTime(90, 3, 1));
    f.lblMark[0].tag = "5";
    f.lblMark[1].tag = "65.5";
    EXPECT_EQ(SetScopeNote(f), "Range: " + FormatTime(5, 3, 1) + " - " + FormatTime(65.5f, 3, 1) + " = "
                                   + FormatTime(60.5f, 3, 1));
    EXPECT_EQ(f.txtScope[0].text, FormatTime(5, 3, 1));
    f.txtScope[0].enabled = false;
    EXPECT_EQ(SetScopeNote(f), "Repairing the whole video., No marks.");
    jobstate::sourceInfo.srcDemuxer = "audio";
    EXPECT_EQ(SetScopeNote(f), "This format is restricted., No marks.");
}

} // namespace
