// The option lists per target family, the WMV frame rates, the rebuild on a language
// change keeping what the user chose, and the key filters.
#include "core/languagetable.h"
#include "coregui/jobstate.h"
#include "options/optionlists.h"
#include "options/optionstestlang.h"

#include <gtest/gtest.h>

using namespace opt;
using mdlMavrell::lng;

namespace {

class OptionLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        optionstest::loadEnglish();
        optionstest::resetJob();
    }
};

TEST_F(OptionLists, TargetFamiliesGetTheirLists)
{
    Combo c;
    setCboFpsItem(c, false);
    ASSERT_EQ(c.count(), 14);
    EXPECT_EQ(c.items[0], lng[txt::SameAsSource]);
    EXPECT_EQ(c.items[5], "12.5");
    EXPECT_EQ(c.items[8], "20 (normal)");
    EXPECT_EQ(c.items[13], "30 (normal)");
    EXPECT_EQ(c.listIndex, -1);

    setCboFpsItem(c, true);
    EXPECT_EQ(c.items, QStringList({"23.976 (normal)", "24 (normal)", "25 (normal)", "29.97 (normal)", "30 (normal)"}));

    setCboVideoBitrateItem(c, false);
    ASSERT_EQ(c.count(), 13);
    EXPECT_EQ(c.items[6], "600 (low quality)");
    EXPECT_FALSE(c.items.contains(lng[txt::SameAsSource]));
    setCboVideoBitrateItem(c, true);
    EXPECT_EQ(c.items, QStringList({"1152 (medium quality)", "1475", "1775 (high quality)", "2400", "4800"}));

    c.select(1);
    setCboRotateItem(c, false);
    EXPECT_EQ(c.count(), 8);
    EXPECT_EQ(c.items[4], lng[txt::TurnRight90]);  // right 90 comes before right 90 and flip
    EXPECT_EQ(c.items[5], lng[txt::TurnRightAndFlip]);
    c.select(6);
    setCboRotateItem(c, true);  // VCD and DVD: no quarter turns, the old choice is gone
    EXPECT_EQ(c.count(), 4);
    EXPECT_EQ(c.listIndex, -1);

    const QStringList sizes = sizeItems();
    ASSERT_EQ(sizes.size(), 31);
    EXPECT_EQ(sizes[2], "Custom x 原比例");
    EXPECT_EQ(sizes[5], "Custom x 16:9");
    EXPECT_EQ(sizes[16], "352 x 240");
    EXPECT_EQ(sizes[28], "720 x 480");
    EXPECT_EQ(sizes[30], "720 x 原比例");
    EXPECT_EQ(audioBitrateItems()[6], "128 (medium quality)");
    EXPECT_EQ(audioBitrateItems().size(), 12);
    EXPECT_EQ(subcpItems()[1], "Traditional Chinese - cp950");
}

TEST_F(OptionLists, WmvFrameRatesNeverExceedTheSource)
{
    struct Case {
        float fps;
        int count;
        QString last;
        QString selected;
    };
    const Case cases[] = {
        {25, 9, "25 (normal)", "20 (normal)"},
        {30, 11, "30", "20 (normal)"},
        {29.97f, 10, "29.97 (normal)", "20 (normal)"},
        {17, 7, "17", "17"},
        {12.5f, 6, "12.5", "12.5"},
        {10, 4, "10", "10"},
        {0, 1, lng[txt::SameAsSource], lng[txt::SameAsSource]},
    };
    for (const Case &k : cases) {
        Combo c;
        setCboFpsItemIsWmv(c, k.fps);
        SCOPED_TRACE(k.fps);
        EXPECT_EQ(c.count(), k.count);
        EXPECT_EQ(c.items.last(), k.last);
        EXPECT_EQ(c.text, k.selected);
    }
}

TEST_F(OptionLists, LanguageChangeKeepsChoicesAndTypedValues)
{
    OptionsForm f;
    fillDesignLists(f);
    f.cboSubcp.select(2);
    f.cboSize.select(5);  // custom 16:9
    f.txtSize[0].text = "500";
    f.lblFormatStr.caption = lng[txt::TargetFormatIs] + "WMV7";
    f.cboAudioBitrate.listIndex = -1;
    f.cboAudioBitrate.text = "100";

    optionstest::loadChinese();
    ChangeLanguage(f);
    EXPECT_EQ(f.cboSubcp.listIndex, 2);
    EXPECT_EQ(f.cboSubcp.text, "簡體中文 - cp936");
    EXPECT_EQ(f.cboSize.text, "自訂 x 16:9");
    EXPECT_EQ(f.txtSize[1].text, "282");  // derived again from the width in the box
    EXPECT_EQ(f.cboAudioBitrate.text, "100");
    EXPECT_EQ(f.lblFormatStr.caption, "設定目標格式 = WMV7");
    EXPECT_EQ(f.lblBrightness.caption, "亮度 = ");
    EXPECT_EQ(f.cboAudioSample.count(), 7);

    f.cboAudioBitrate.select(6);
    optionstest::loadEnglish();
    ChangeLanguage(f);
    EXPECT_EQ(f.cboAudioBitrate.listIndex, 6);
    EXPECT_EQ(f.cboAudioBitrate.text, "128 (medium quality)");
}

TEST_F(OptionLists, TargetListsAreRebuiltForTheTargetAndFoundByValue)
{
    using namespace mdlMavrell;
    OptionsForm f;
    jobstate::jobSettings.targetExt = "wmv";
    jobstate::jobSettings.targetFormat = "WMV8";
    jobstate::sourceInfo.srcFps = 25;
    setCboFpsItem(f.cboFps, false);
    setCboFpsItemIsWmv(f.cboFps, jobstate::sourceInfo.srcFps);
    ASSERT_EQ(f.cboFps.text, "20 (normal)");
    setCboVideoBitrateItem(f.cboVideoBitrate, false);
    f.cboVideoBitrate.select(9);  // 1475
    setCboRotateItem(f.cboRotate, false);
    f.cboRotate.select(4);

    optionstest::loadChinese();
    rebuildTargetLists(f);
    EXPECT_EQ(f.cboFps.count(), 9);             // still the WMV list
    EXPECT_EQ(f.cboFps.text, "20(正常)");         // not "14.985" of the general list
    EXPECT_EQ(f.cboVideoBitrate.text, "1475");
    EXPECT_EQ(f.cboRotate.text, "右轉 90");

    // The source's own value and a typed value survive as well.
    f.cboFps.select(0);
    f.cboVideoBitrate.listIndex = -1;
    f.cboVideoBitrate.text = "700";
    optionstest::loadEnglish();
    rebuildTargetLists(f);
    EXPECT_EQ(f.cboFps.text, lng[txt::SameAsSource]);
    EXPECT_EQ(f.cboVideoBitrate.listIndex, -1);
    EXPECT_EQ(f.cboVideoBitrate.text, "700");

    // An MPEG-1 target: the general "25" is found in the MPEG list by value.
    jobstate::jobSettings.targetExt = "mpg";
    jobstate::jobSettings.targetFormat = "MPEG1";
    setCboFpsItem(f.cboFps, true);
    f.cboFps.select(2);
    rebuildTargetLists(f);
    EXPECT_EQ(f.cboFps.text, "25 (normal)");
}

TEST_F(OptionLists, KeyFilters)
{
    struct Case {
        KeyFilter filter;
        char key;
        bool passes;
    };
    const Case cases[] = {
        {KeyFilter::FpsCombo, '.', true},      {KeyFilter::FpsCombo, 'a', false},
        {KeyFilter::FpsCombo, '7', true},      {KeyFilter::BitrateCombo, '.', false},
        {KeyFilter::BitrateCombo, 'a', false}, {KeyFilter::BitrateCombo, 8, true},
        {KeyFilter::DigitsBox, '.', false},    {KeyFilter::DigitsBox, '-', false},
        {KeyFilter::DigitsBox, 13, false},     {KeyFilter::SignedDecimal, '-', true},
        {KeyFilter::SignedDecimal, '.', true}, {KeyFilter::SignedDecimal, ',', false},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.key);
        EXPECT_EQ(filterKey(k.filter, k.key), k.passes ? k.key : 0);
    }
}

} // namespace

// The fixed "W x <source ratio>" items read in the language in use and still derive
// the height from the width.
TEST(OptionListsBuiltIn, SourceRatioItemsFollowTheLanguage)
{
    ASSERT_TRUE(mdlMavrell::loadLanguageTable("en"));
    const QStringList en = opt::sizeItems();
    EXPECT_EQ(en[15].toStdString(), "320 x source ratio");
    EXPECT_EQ(en[30].toStdString(), "720 x source ratio");
    for (const QString &item : en)
        EXPECT_FALSE(item.contains(QStringLiteral("原"))) << item.toStdString();
    ASSERT_TRUE(mdlMavrell::loadLanguageTable("tw"));
    EXPECT_EQ(opt::sizeItems()[30], QStringLiteral("720 x 原比例"));
}
