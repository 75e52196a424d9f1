// Page rules: sizes derived from the size list, which audio and subtitle controls are
// enabled, the default subtitle font, and the adjusters' stepping and captions.
#include "coregui/jobstate.h"
#include "options/optionlists.h"
#include "options/optionpages.h"
#include "options/optionstestlang.h"

#include <gtest/gtest.h>

using namespace opt;
using mdlMavrell::lng;

namespace {

class OptionPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        optionstest::loadEnglish();
        optionstest::resetJob();
        fillDesignLists(f);
    }
    OptionsForm f;
};

TEST_F(OptionPages, SizeItemsFillTheBoxes)
{
    struct Case {
        int srcW, srcH;
        int item;
        QString widthBefore;
        QString width, height;
        bool widthEnabled, heightEnabled;
    };
    const Case cases[] = {
        {720, 480, 0, "1", "720", "480", false, false},     // same as the source
        {720, 480, 15, "", "320", "214", false, false},     // 320 x keep: 213.3 -> 213, odd -> 214
        {720, 576, 15, "", "320", "256", false, false},
        {0, 0, 26, "", "640", "640", false, false},         // unknown source: proportion 1
        {720, 480, 2, "360", "360", "240", true, false},    // custom width, source proportion
        {720, 480, 2, "", "720", "480", true, false},       // empty width takes the source's
        {720, 480, 5, "500", "500", "282", true, false},    // 16:9: 281.25 -> 282
        {720, 480, 4, "500", "500", "300", true, false},    // 1.66:1
        {720, 480, 4, "5", "5", "4", true, false},
        {720, 480, 3, "abc", "720", "540", true, false},    // 4:3, not a number counts as 0
        {720, 480, 1, "123", "123", "77", true, true},      // custom size keeps both boxes
        {720, 480, 29, "", "720", "576", false, false},     // fixed W x H
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.item);
        jobstate::sourceInfo.srcWidth = k.srcW;
        jobstate::sourceInfo.srcHeight = k.srcH;
        f.txtSize[0].text = k.widthBefore;
        f.txtSize[1].text = "77";
        f.cboSize.select(k.item);
        SetSizeSetting(f);
        EXPECT_EQ(f.txtSize[0].text, k.width);
        EXPECT_EQ(f.txtSize[1].text, k.height);
        EXPECT_EQ(f.txtSize[0].enabled, k.widthEnabled);
        EXPECT_EQ(f.txtSize[1].enabled, k.heightEnabled);
    }
}

TEST_F(OptionPages, LeavingTheWidthBoxDerivesTheHeight)
{
    jobstate::sourceInfo.srcWidth = 640;
    jobstate::sourceInfo.srcHeight = 480;
    f.cboSize.select(5);  // custom 16:9
    f.txtSize[0].text = "400";
    SetSizeSetting(f);
    f.txtSize[0].text = "1000";
    txtSizeLostFocus(f, 0);
    EXPECT_EQ(f.txtSize[1].text, "562");  // 562.5 -> 562
    f.cboSize.select(1);                  // custom: the height is the user's
    SetSizeSetting(f);
    f.txtSize[1].text = "99";
    txtSizeLostFocus(f, 0);
    EXPECT_EQ(f.txtSize[1].text, "99");
}

TEST_F(OptionPages, KeepProportionItemsWorkWhateverTheTableCallsThem)
{
    lng[txt::SourceRatio] = "keep ratio";  // a table whose word differs from the fixed items'
    fillDesignLists(f);
    jobstate::sourceInfo.srcWidth = 720;
    jobstate::sourceInfo.srcHeight = 576;
    f.cboSize.select(22);  // "480 x 原比例"
    SetSizeSetting(f);
    EXPECT_EQ(f.txtSize[0].text, "480");
    EXPECT_EQ(f.txtSize[1].text, "384");
}

TEST_F(OptionPages, AudioControlsFollowTheSoundChoiceAndTarget)
{
    jobstate::jobSettings.targetExt = "wav";
    jobstate::jobSettings.targetIsAudio = true;
    f.cboAudioBitrate.enabled = false;  // as the wav target's set-up left it
    f.txtAudioDelay.text = "3";
    f.optAudio = {option(false), option(true)};
    SetAudioSetting(f, true);
    EXPECT_EQ(f.txtAudioDelay.text, "0");
    EXPECT_FALSE(f.cboAudioBitrate.enabled);
    EXPECT_FALSE(f.cboAudioSample.enabled);
    EXPECT_TRUE(f.txtAudioDelay.enabled);  // sound targets leave delay and normalisation alone
    EXPECT_FALSE(f.lblVolume.enabled);
    EXPECT_EQ(f.imgVolume[2].mousePointer, 0);

    jobstate::jobSettings.targetExt = "avi";
    jobstate::jobSettings.targetIsAudio = false;
    SetAudioSetting(f, false);
    EXPECT_FALSE(f.cboAudioBitrate.enabled);
    EXPECT_FALSE(f.chkAudioVolnorm.enabled);
    f.optAudio = {option(true), option(false)};
    SetAudioSetting(f, false);
    EXPECT_TRUE(f.cboAudioBitrate.enabled && f.txtAudioDelay.enabled && f.lblVolume.enabled);
    EXPECT_EQ(f.imgVolume[1].mousePointer, 99);
}

TEST_F(OptionPages, SubtitleControlsAndDefaults)
{
    const QList<mdlGetFontsFile::FontItem> fonts{
        {"Arial   (arial.ttf)", "Arial", "/f/arial.ttf"},
        {"KaiTi   (KAIU.TTF)", "KaiTi", "/f/kaiu.ttf"},
        {"Arial   (Arial.ttf)", "Arial", "/g/Arial.ttf"},
    };
    fillSubFontList(f, fonts, "tw");
    // Sorted as a font list is: case aside, the two Arial files keep their order.
    EXPECT_EQ(f.cboSubFont.items, QStringList({"Arial   (arial.ttf)", "Arial   (Arial.ttf)", "KaiTi   (KAIU.TTF)"}));
    EXPECT_EQ(f.subFonts[2].file, "/f/kaiu.ttf");
    EXPECT_EQ(f.cboSubFont.listIndex, 2);
    EXPECT_EQ(defaultSubFontIndex(f.cboSubFont.items, "en"), 1);  // the last Arial
    EXPECT_EQ(defaultSubFontIndex(f.cboSubFont.items, "gb"), 1);  // no simhei.ttf
    EXPECT_EQ(defaultSubFontIndex({"Abyssinica   (a.ttf)"}, "tw"), 0);

    // Without those files the system's fonts of the same kind stand in.
    const QStringList items{"Abyssinica   (a.ttf)", "DejaVu Sans   (DejaVuSans-Bold.ttf)",
                            "DejaVu Sans   (DejaVuSans.ttf)", "Noto Sans CJK SC   (NotoSansCJK-Bold.ttc)",
                            "Noto Sans CJK SC   (NotoSansCJK-Regular.ttc)", "Noto Sans CJK TC   (NotoSansCJK-Regular.ttc)"};
    const QStringList families{"Abyssinica", "DejaVu Sans", "DejaVu Sans", "Noto Sans CJK SC", "Noto Sans CJK SC",
                               "Noto Sans CJK TC"};
    EXPECT_EQ(defaultSubFontIndex(items, "tw", families), 5);
    EXPECT_EQ(defaultSubFontIndex(items, "gb", families), 4);
    EXPECT_EQ(defaultSubFontIndex(items, "en", families), 2);

    f.cboSubFont.select(0);
    f.txtSubSize.text = "9";
    f.txtSubDelay.text = "1.5";
    f.optSub = {option(true), option(false)};
    SetSubSetting(f, true);
    EXPECT_EQ(f.cboSubFont.listIndex, 2);
    EXPECT_EQ(f.txtSubSize.text, "4");
    EXPECT_EQ(f.txtSubDelay.text, "0");
    EXPECT_FALSE(f.txtSubFile.enabled || f.mbSubFIle.enabled || f.cboSubcp.enabled || f.txtSubBlur.enabled
                 || f.lblSubDelayStr.enabled);
    f.optSub = {option(false), option(true)};
    f.txtSubSize.text = "9";
    SetSubSetting(f, false);
    EXPECT_EQ(f.txtSubSize.text, "9");
    EXPECT_TRUE(f.txtSubFile.enabled && f.mbSubFIle.enabled && f.cboSubFont.enabled && f.lblSubcpStr.enabled);
}

TEST_F(OptionPages, AdjustersStepByTwoWithinLimits)
{
    struct Case {
        Adjuster a;
        QString tag;
        int index;
        QString after;
        QString caption;
    };
    const Case cases[] = {
        {Adjuster::Brightness, "98", 1, "100", "brightness = +100 %"},
        {Adjuster::Brightness, "100", 1, "100", "brightness = +100 %"},
        {Adjuster::Contrast, "-100", 0, "-100", "contrast = -100 %"},
        {Adjuster::Saturation, "", 0, "-2", "saturation = -2 %"},
        {Adjuster::Hue, "", 1, "2", "hue = 2 value"},
        {Adjuster::Hue, "-4", 0, "-6", "hue = -6 value"},
        {Adjuster::Volume, "6", 1, "8", "volume = +8 dB"},
        {Adjuster::Volume, "6", 2, "", "volume = +0 dB"},  // reset to the empty reset tag
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << k.tag.toStdString() << " " << k.index);
        valueLabel(f, k.a).tag = k.tag;
        adjusterClick(f, k.a, k.index);
        EXPECT_EQ(valueLabel(f, k.a).tag, k.after);
        EXPECT_EQ(valueLabel(f, k.a).caption, k.caption);
    }

    f.lblVolume.enabled = false;  // no sound chosen: the volume buttons do nothing
    f.lblVolume.tag = "4";
    adjusterClick(f, Adjuster::Volume, 1);
    EXPECT_EQ(f.lblVolume.tag, "4");

    setLblColorAndVolPara(f, 0, true);  // empty tags read as 0
    f.lblContrast.tag.clear();
    setLblColorAndVolPara(f, 2, false);
    EXPECT_EQ(f.lblContrast.caption, "contrast = +0 %");
    EXPECT_EQ(f.lblVolPlay.toolTip, "volume = 100");
}

TEST_F(OptionPages, HueMarkerAndPlaybackVolume)
{
    f.picCrSpecScaleWidth = 200;
    f.lblHue.tag = "-98";
    adjusterClick(f, Adjuster::Hue, 0);
    EXPECT_EQ(f.lneCrSpecX, 1);
    EXPECT_EQ(hueMarkerX(100, 200), 199);
    EXPECT_EQ(hueMarkerX(0, 200), 100);

    f.lblVolPlay.tag = "100";
    EXPECT_EQ(playbackVolumeClick(f, 1), "volume 100 1");
    f.lblVolPlay.tag = "3";
    EXPECT_EQ(playbackVolumeClick(f, 0), "volume 0 1");
    EXPECT_EQ(f.lblVolPlay.toolTip, "volume = 0");
    EXPECT_EQ(lblVolPlayClick(f), 233);
    EXPECT_TRUE(f.lblVol[1].visible);
    EXPECT_EQ(lblVolPlayClick(f), 232);
}

} // namespace
