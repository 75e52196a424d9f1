// The target menu: what job each item starts, and the format caption cut from it.
#include "engine/targetmenu.h"

#include "core/mdlmavrell.h"
#include "texttable.h"

#include <gtest/gtest.h>

using namespace engine;
using M = TargetMenu;

TEST(TargetMenu, EveryItemStartsItsJob)
{
    fillMarkerTable();
    struct Case {
        M menu;
        int index;
        const char *ext, *format, *caption;
        bool audio;
    } cases[] = {
        {M::ToMpg, 0, "dat", "VCD", " DAT [VCD]", false},
        {M::ToMpg, 1, "vob", "DVD", " VOB [DVD]", false},
        {M::ToMpg, 3, "mpg", "MPEG1", " MPG [MPEG1]", false},
        {M::ToMpg, 4, "mpg", "MPEG2", " MPG [MPEG2]", false},  // the recommendation is left out
        {M::ToWmv, 0, "wmv", "WMV7", " WMV [WMV7]", false},
        {M::ToWmv, 1, "wmv", "WMV8", " WMV [WMV8]", false},
        {M::ToWmv, 2, "wmv", "MP42", " WMV [MP42]", false},
        {M::ToAvi, 0, "avi", "MP42", " AVI  [MP42 + MP3]", false},
        {M::ToAvi, 1, "avi", "XviD", " AVI  [XviD + MP3]", false},
        {M::ToAvi, 2, "avi", "DivX", " AVI  [DivX + MP3]", false},
        {M::ToAvi, 3, "avi", "H.264", " AVI  [H.264 + MP3]", false},
        {M::ToAvi, 4, "avi", "AudIsMp3", " AVI  [{150} + MP3]", false},
        {M::ToSound, 0, "wav", "{264} WAV", "{264} WAV", true},
        {M::ToSound, 3, "wma", "{264} WMA", "{264} WMA", true},
        {M::ToSound, 6, "ogg", "{264} OGG", "{264} OGG", true},
        {M::ToChangeVol, 0, "mpg|dat|vob", "onlyTransVol", "", false},
        {M::ToChangeVol, 1, "wmv", "onlyTransVol", "", false},
        {M::ToCut, 2, "avi", "onlyCut", "", false},
        {M::ToFix, 0, "mpg|dat|vob", "onlyFix", "", false},
    };
    for (const Case &c : cases) {
        const auto choice = targetChoice(c.menu, c.index);
        ASSERT_TRUE(choice.has_value()) << c.format;
        EXPECT_EQ(choice->ext, QString(c.ext)) << c.format;
        EXPECT_EQ(choice->format, QString(c.format));
        EXPECT_EQ(choice->formatCaption, QString(c.caption)) << c.format;
        EXPECT_EQ(choice->audioTarget, c.audio) << c.format;
    }
    EXPECT_FALSE(targetChoice(M::ToMpg, 2)) << "the separator starts nothing";
    EXPECT_FALSE(targetChoice(M::ToWmv, 3));
    EXPECT_FALSE(targetChoice(M::ToSound, -1));
    EXPECT_FALSE(targetChoice(M::ToFix, 3));
    EXPECT_EQ(targetMenuItems().size(), 29);
}

TEST(TargetMenu, CaptionsComeFromTheTextTable)
{
    fillMarkerTable();
    mdlMavrell::lng[txt::ChooseFileForVolume] = "change the volume of a aaa file";
    EXPECT_EQ(targetMenuCaption(*findTargetMenuItem(M::ToMpg, 4)), QString("{148} MPG [MPEG2]  {149}"));
    EXPECT_EQ(targetMenuCaption(*findTargetMenuItem(M::ToAvi, 4)), QString("{148} AVI  [{150} + MP3]"));
    EXPECT_EQ(targetMenuCaption(*findTargetMenuItem(M::ToSound, 1)), QString("{151} MP3"));
    EXPECT_EQ(targetMenuCaption(*findTargetMenuItem(M::ToChangeVol, 0)),
              QString::fromUtf8("change the volume of a MPG、DAT、VOB file"));
    EXPECT_EQ(targetMenuCaption(*findTargetMenuItem(M::ToCut, 2)), QString("{155}"));
    EXPECT_EQ(findTargetMenuItem(M::ToCut, 2)->controlName, QString("mnuSrcIsFileToCut"));
    // A caption the language step set is what the handler reads.
    EXPECT_EQ(targetChoice(M::ToMpg, 0, "Convert to DAT [VCD]")->formatCaption, QString(" DAT [VCD]"));
}

TEST(TargetMenu, CutFormatCaptionNeedsBothBracketsInOrder)
{
    struct Case {
        const char *caption;
        int back;
        const char *want;
    } cases[] = {
        {"Make a DAT [VCD]", 5, " DAT [VCD]"},
        {"Make a AVI  [DivX + MP3]  (best)", 6, " AVI  [DivX + MP3]"},
        {"no brackets", 5, ""},
        {"only [ open", 5, ""},
        {"ab[VCD]", 5, ""},           // "[" at position 3: the start falls before the text
        {"ab] xxxxxx [", 5, ""},       // "]" before "["
        {"", 5, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cutFormatCaption(QString::fromUtf8(c.caption), c.back), QString::fromUtf8(c.want)) << c.caption;
}
