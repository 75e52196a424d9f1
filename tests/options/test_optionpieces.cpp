// The exact option pieces written for tables of settings: audio, subtitles, picture
// (scale, crop, borders), volume, rotation and colour.
#include "coregui/jobstate.h"
#include "options/optionlists.h"
#include "options/optionpieces.h"
#include "options/optionstestlang.h"
#include "support/scriptedprompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace opt;
using mdlMavrell::lng;

namespace {

class OptionPieces : public ::testing::Test {
protected:
    void SetUp() override
    {
        optionstest::loadEnglish();
        optionstest::resetJob();
        fillDesignLists(f);
        ASSERT_TRUE(dir.isValid());
    }
    QString makeFile(const QString &name)
    {
        const QString path = dir.path() + '/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("1\n00:00:01,000 --> 00:00:02,000\nHello\n");
        return path;
    }
    OptionsForm f;
    QTemporaryDir dir;
};

TEST_F(OptionPieces, AudioPieces)
{
    using namespace mdlMavrell;
    struct Case {
        const char *format;
        const char *ext;
        bool audioTarget;
        bool sound;
        const char *delay;
        int volnorm;
        int srcChannels, srcRate;
        const char *piece;
    };
    const Case cases[] = {
        {"XviD", "avi", false, true, "0.5", 0, 2, 44100, " -delay -0.5 -channels 2 -srate 44100 -af-add channels=2"},
        {"XviD", "avi", false, true, "0.5", 1, 2, 44100,
         " -delay -0.5 -channels 2 -srate 44100 -af-add channels=2 -af-add volnorm"},
        {"onlyCut", "wmv", false, true, "1.5", 0, 1, 22050, " -delay -1.5 -channels 1 -srate 22050 -af-add channels=1"},
        {"onlyFix", "wmv", false, true, "-2", 0, 0, 0, " -delay 2 -channels 2 -srate 44100 -af-add channels=2"},
        {"onlyCut", "avi", false, true, "0", 0, 1, 22050, " -delay 0 -channels 2 -srate 44100 -af-add channels=2"},
        {"Sound MP3", "mp3", true, true, "3", 1, 2, 44100, " -ac 2 -ar 44100"},
        {"XviD", "avi", false, false, "3", 1, 2, 44100, " -nosound"},
        {"XviD", "avi", false, true, "1.2.3", 0, 2, 44100, " -delay -1.2 -channels 2 -srate 44100 -af-add channels=2"},
        {"XviD", "avi", false, true, "-", 0, 2, 44100, " -delay 0 -channels 2 -srate 44100 -af-add channels=2"},
    };
    f.cboAudioSample.select(5);  // 44100
    for (const Case &k : cases) {
        SCOPED_TRACE(k.piece);
        jobstate::jobSettings.targetFormat = k.format;
        jobstate::jobSettings.targetExt = k.ext;
        jobstate::jobSettings.targetIsAudio = k.audioTarget;
        jobstate::sourceInfo.srcAudioChannels = k.srcChannels;
        jobstate::sourceInfo.srcAudioRate = k.srcRate;
        f.optAudio = {option(k.sound), option(!k.sound)};
        f.txtAudioDelay.text = k.delay;
        f.chkAudioVolnorm.value = k.volnorm;
        setAduioPara(f);
        EXPECT_EQ(jobstate::jobSettings.audioOpts, k.piece);
    }
}

TEST_F(OptionPieces, SubtitlePieces)
{
    const QString file = makeFile("a.srt");
    f.subFonts = {{"DejaVu Sans   (DejaVuSans.ttf)", "DejaVu Sans", "/usr/share/fonts/DejaVuSans.ttf"},
                  {"Noto-Sans   (noto.ttc)", "Noto-Sans", "/f/noto.ttc"}};
    for (const auto &font : f.subFonts)
        f.cboSubFont.add(font.text);
    f.optSub = {option(false), option(true)};
    const QString q = "\"" + file + "\"";

    struct Case {
        int font, cp;
        const char *size, *pos, *outline, *blur, *delay;
        QString piece;
    };
    const Case cases[] = {
        {0, 0, "4", "5", "2", "2", "0",
         " -sub " + q + " -font \"DejaVu Sans\" -subfont-text-scale 4 -subfont-outline 2 -subfont-blur 2 -subpos 95"
                        " -subdelay 0"},
        // Limits, halves to even, the delay as typed (positive = later), code pages
        {-1, 1, "150", "120", "9", "9", "1.5",
         " -sub " + q + " -subfont-text-scale 100 -subfont-outline 8 -subfont-blur 8 -subpos 0 -subdelay 1.5 -subcp cp950"},
        {-1, 4, "2.5", "-10", "0", "x", "-2",
         " -sub " + q + " -subfont-text-scale 2 -subfont-outline 0 -subfont-blur 0 -subpos 100 -subdelay -2 -subcp unicode"},
        {-1, 3, "3.5", "50", "1", "1", "0", " -sub " + q + " -subfont-text-scale 4 -subfont-outline 1 -subfont-blur 1"
                                           " -subpos 50 -subdelay 0 -subcp cp1250"},
        // A family with a pattern character is escaped for fontconfig
        {1, 0, "4", "5", "2", "2", "0",
         " -sub " + q + " -font \"Noto\\-Sans\" -subfont-text-scale 4 -subfont-outline 2 -subfont-blur 2 -subpos 95"
                        " -subdelay 0"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.piece.toStdString());
        f.cboSubFont.select(k.font);
        f.cboSubcp.select(k.cp);
        f.txtSubFile.text = "  " + file + " ";
        f.txtSubSize.text = k.size;
        f.txtSubPosHgt.text = k.pos;
        f.txtSubOutline.text = k.outline;
        f.txtSubBlur.text = k.blur;
        f.txtSubDelay.text = k.delay;
        bool failed = false;
        EXPECT_EQ(getSubPara(f, failed, false), k.piece);
        EXPECT_FALSE(failed);
        EXPECT_EQ(f.txtSubFile.text, file);  // trimmed in the box
    }
}

TEST_F(OptionPieces, SubtitlePathIsOneElementOfTheSubList)
{
    EXPECT_EQ(escapeSubListPath("/m/a,b\\c\\,d.srt"), "/m/a\\,b\\c\\\\,d.srt");
    const QString file = makeFile("x,y.srt");
    f.optSub = {option(false), option(true)};
    f.txtSubFile.text = file;
    bool failed = false;
    EXPECT_TRUE(getSubPara(f, failed, true).startsWith(" -sub \"" + dir.path() + "/x\\,y.srt\" -subfont"));

    // A file whose own name ends in a blank keeps it; blanks typed around a name go.
    const QString trail = makeFile("t.srt ");
    f.txtSubFile.text = trail;
    EXPECT_TRUE(getSubPara(f, failed, true).startsWith(" -sub \"" + trail + "\" -subfont"));
    EXPECT_EQ(f.txtSubFile.text, trail);
    f.txtSubFile.text = " " + file + "  ";
    EXPECT_TRUE(getSubPara(f, failed, true).startsWith(" -sub \"" + dir.path() + "/x\\,y.srt\" -subfont"));
    EXPECT_EQ(f.txtSubFile.text, file);
    EXPECT_FALSE(failed);
}

TEST_F(OptionPieces, NoSubtitlesOrAMissingFile)
{
    ScriptedPrompts prompts;
    const QString file = makeFile("a.srt");
    bool failed = false;
    f.txtSubFile.text = file;
    f.optSub = {option(true), option(false)};
    EXPECT_EQ(getSubPara(f, failed, false), "");
    f.optSub = {option(false), option(true)};
    f.optSub[1].enabled = false;  // chosen but disabled
    EXPECT_EQ(getSubPara(f, failed, false), "");

    // A job without burnt-in subtitles writes none, and a missing file stays silent.
    f.optSub[1].enabled = true;
    jobstate::jobSettings.targetFormat = "onlyCut";
    EXPECT_EQ(getSubPara(f, failed, false), "");
    f.txtSubFile.text = dir.path() + "/missing.srt";
    EXPECT_EQ(getSubPara(f, failed, false), "");
    EXPECT_FALSE(failed);
    EXPECT_TRUE(prompts.messages.isEmpty());

    // A video job: quiet gives no message, otherwise the page, the focus and the message.
    jobstate::jobSettings.targetFormat = "XviD";
    EXPECT_EQ(getSubPara(f, failed, true), "");
    EXPECT_FALSE(failed);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(getSubPara(f, failed, false), "");
    EXPECT_TRUE(failed);
    EXPECT_EQ(f.tabNow, 4);
    EXPECT_EQ(f.focusRequest, "txtSubFile");
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().startsWith(lng[txt::SubtitleFileMissing]));
    EXPECT_TRUE(prompts.lastText().endsWith(dir.path() + "/missing.srt"));

    // An empty path asks for a file; a path with a double quote cannot be used.
    f.txtSubFile.text = "   ";
    failed = false;
    getSubPara(f, failed, false);
    EXPECT_TRUE(failed);
    EXPECT_EQ(prompts.lastText(), lng[txt::EnterSubtitleFile]);
    const QString quoted = makeFile("q\"uote.srt");
    f.txtSubFile.text = quoted;
    failed = false;
    EXPECT_EQ(getSubPara(f, failed, false), "");
    EXPECT_TRUE(failed);
}

TEST_F(OptionPieces, PicturePieces)
{
    using namespace mdlMavrell;
    struct Case {
        const char *format;
        int srcW, srcH;
        int outW, outH;
        int t, b, l, r;
        bool crop, cropFirst;
        double left, top, width, height;
        const char *sizeW, *sizeH;
        QString filter;
        int sumW, sumH;
        std::array<int, 6> rect;
    };
    const Case cases[] = {
        {"XviD", 640, 480, 640, 480, 0, 0, 0, 0, false, false, 0, 0, 0, 0, "", "",
         " -vf-add scale=640:480", 640, 480, {}},
        {"XviD", 640, 480, 640, 480, 0, 0, 8, 8, false, false, 0, 0, 0, 0, "", "",
         " -vf-add scale=640:480,expand=656:480:8:0:1", 656, 480, {}},
        {"VCD", 640, 480, 352, 240, 10, 10, 0, 0, false, false, 0, 0, 0, 0, "", "",
         " -vf-add scale=352:220,expand=352:240:0:10:1", 352, 240, {}},
        {"VCD", 640, 480, 352, 240, 0, 0, 200, 200, false, false, 0, 0, 0, 0, "", "",
         " -vf-add scale=8:240,expand=352:240:200:0:1", 352, 240, {}},
        {"XviD", 640, 480, 352, 288, 0, 0, 0, 0, true, true, 10, 21, 101, 60, "352", "288",
         " -vf-add crop=202:120:20:42 -vf-add scale=352:288", 352, 288, {1, 10, 21, 111, 81, 0}},
        {"XviD", 640, 480, 320, 240, 0, 0, 0, 0, true, false, 5, 7, 101, 51, "320", "240",
         " -vf-add scale=320:240 -vf-add crop=102:52:5:7", 102, 52, {1, 5, 7, 106, 58, 0}},
        {"XviD", 640, 480, 352, 288, 4, 4, 0, 0, true, true, 10, 21, 101, 60, "352", "288",
         " -vf-add crop=202:120:20:42 -vf-add scale=352:288 -vf-add expand=352:296:0:4:1", 352, 296,
         {1, 10, 21, 111, 81, 0}},
        {"DVD", 640, 480, 720, 480, 0, 0, 16, 16, true, false, 5, 7, 101, 51, "320", "240",
         " -vf-add scale=688:480 -vf-add crop=102:52:5:7 -vf-add expand=720:480:16:0:1", 720, 480,
         {1, 5, 7, 106, 58, 0}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.filter.toStdString());
        jobstate::jobSettings.targetFormat = k.format;
        jobstate::sourceInfo.srcWidth = k.srcW;
        jobstate::sourceInfo.srcHeight = k.srcH;
        f.txtExpand[0].text = QString::number(k.t);
        f.txtExpand[1].text = QString::number(k.b);
        f.txtExpand[2].text = QString::number(k.l);
        f.txtExpand[3].text = QString::number(k.r);
        f.shpCrop = Shape{k.crop, k.left, k.top, k.width, k.height};
        f.optScaleCrop = {option(!k.cropFirst), option(k.cropFirst)};
        f.picPlayerScaleWidth = 320;
        f.picPlayerScaleHeight = 240;
        f.txtSize[0].text = k.sizeW;
        f.txtSize[1].text = k.sizeH;
        const PicturePieces p = pictureFilters(f, k.outW, k.outH);
        EXPECT_EQ(p.scaleFilter, k.filter);
        EXPECT_EQ(p.summaryWidth, k.sumW);
        EXPECT_EQ(p.summaryHeight, k.sumH);
        EXPECT_EQ(p.cropRect, k.rect);
    }

    // A crop rectangle on a preview of unknown size is not used.
    f.picPlayerScaleWidth = 0;
    f.shpCrop = Shape{true, 5, 7, 101, 51};
    f.txtExpand = {textBox("0"), textBox("0"), textBox("0"), textBox("0")};
    const PicturePieces p = pictureFilters(f, 320, 240);
    EXPECT_EQ(p.scaleFilter, " -vf-add scale=320:240");
    EXPECT_EQ(p.cropRect[0], 0);
}

TEST_F(OptionPieces, VolumeRotationAndColour)
{
    using namespace mdlMavrell;
    struct Vol {
        bool audioTarget;
        const char *tag, *neutral;
        const char *piece;
    };
    // A sound target's "-vol" is linear (256 = unchanged): the label's dB become 256 * 10^(dB/20).
    const Vol vols[] = {
        {true, "6", "", " -vol 511"},     {true, "-6", "", " -vol 128"},  {true, "-30", "", " -vol 8"},
        {true, "20", "", " -vol 2560"},   {true, "-100", "", " -vol 0"},  {false, "6", "", " -af-add volume=6"},
        {false, "-30", "", " -af-add volume=-30"}, {true, "", "", ""},    {false, "4", "4", ""},
        {false, "0", "4", " -af-add volume=0"},
    };
    for (const Vol &v : vols) {
        SCOPED_TRACE(v.piece);
        jobstate::jobSettings.targetIsAudio = v.audioTarget;
        f.lblVolume.tag = v.tag;
        f.imgVolume[2].tag = v.neutral;
        EXPECT_EQ(volumePiece(f), v.piece);
    }

    const char *rotations[] = {"", " -vf-add mirror", " -vf-add flip", " -vf-add flip,mirror",
                               " -vf-add rotate=1", " -vf-add rotate=0", " -vf-add rotate=2", " -vf-add rotate=3"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(getRotateFilter(i), rotations[i]);
    EXPECT_EQ(getRotateFilter(-1), "");

    struct Colour {
        const char *hue, *sat, *bright, *contrast;
        const char *piece;
    };
    const Colour colours[] = {
        {"", "", "", "", ""},
        {"50", "", "", "", " -vf-add hue=90:1"},
        {"-2", "", "", "", " -vf-add hue=-4:1"},
        {"", "-50", "", "", " -vf-add eq2=1:1:0:0.5"},
        {"", "50", "", "", " -vf-add eq2=1:1:0:2"},
        {"", "-100", "", "", " -vf-add eq2=1:1:0:0"},
        {"", "", "20", "", " -vf-add eq=20:0"},
        {"", "", "", "-8", " -vf-add eq=0:-8"},
        {"10", "2", "20", "4", " -vf-add hue=18:1 -vf-add eq2=1:1:0:1.04 -vf-add eq=20:4"},
    };
    for (const Colour &c : colours) {
        SCOPED_TRACE(c.piece);
        f.lblHue.tag = c.hue;
        f.lblSaturation.tag = c.sat;
        f.lblBrightness.tag = c.bright;
        f.lblContrast.tag = c.contrast;
        EXPECT_EQ(colorPiece(f), c.piece);
    }
}

} // namespace
