// The presets per target family and the job defaults stored from them.
#include "engine/optionpresets.h"
#include "engine/testjob.h"

#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "texttable.h"

#include <gtest/gtest.h>

using namespace engine;
using F = TargetFamily;

namespace {

PresetInput input(const char *format, const char *ext, bool audio = false)
{
    PresetInput in;
    in.targetFormat = QString::fromUtf8(format);
    in.targetExt = QString::fromUtf8(ext);
    in.audioTarget = audio;
    in.formatCaption = " FMT [X]";
    in.srcWidth = 1920;
    in.srcHeight = 1080;
    in.outWidth = 1280;
    in.outHeight = 720;
    in.srcFps = 25;
    return in;
}

} // namespace

TEST(OptionPresets, FamiliesInTheirOrder)
{
    struct Case {
        const char *format, *ext;
        bool audio;
        F want;
    } cases[] = {
        {"AudIsMp3", "avi", false, F::Sound},   {"{264} WAV", "wav", true, F::Sound},
        {"onlyTransVol", "dat", false, F::Sound}, {"onlyCut", "vob", false, F::Cut},
        {"onlyFix", "dat", false, F::Repair},   {"MPEG1", "mpg", false, F::Mpeg1},
        {"MPEG2", "mpg", false, F::Mpeg2},      {"VCD", "dat", false, F::Vcd},
        {"DVD", "vob", false, F::Dvd},          {"WMV8", "wmv", false, F::OtherVideo},
        {"H.264", "avi", false, F::OtherVideo},
    };
    for (const Case &c : cases)
        EXPECT_EQ(targetFamily(c.format, c.ext, c.audio), c.want) << c.format;
}

TEST(OptionPresets, ListsHoldTheirItems)
{
    fillMarkerTable();
    const QStringList full = fpsItems(false);
    ASSERT_EQ(full.size(), 14);
    EXPECT_EQ(full[0], QString("{55}"));
    EXPECT_EQ(full[8], QString("20{120}"));
    EXPECT_EQ(full[12], QString("29.97{120}"));
    EXPECT_EQ(fpsItems(true), QStringList({"23.976{120}", "24{120}", "25{120}", "29.97{120}", "30{120}"}));
    ASSERT_EQ(videoBitrateItems(false).size(), 13);
    EXPECT_EQ(videoBitrateItems(false)[8], QString("1152{122}"));
    EXPECT_EQ(videoBitrateItems(true), QStringList({"1152{122}", "1475", "1775{123}", "2400", "4800"}));
    EXPECT_EQ(audioBitrateItems().size(), 12);
    EXPECT_EQ(audioBitrateItems()[9], QString("224{123}"));
    EXPECT_EQ(audioSampleItems()[5], QString("44100"));
    EXPECT_EQ(rotateItems(true).size(), 4);
    EXPECT_EQ(rotateItems(false), QStringList({"{138}", "{139}", "{140}", "{141}", "{143}", "{142}", "{145}", "{144}"}));
}

TEST(OptionPresets, WmvFrameRatesFollowTheSource)
{
    fillMarkerTable();
    struct Case {
        float fps;
        int count;
        const char *selected;
    } cases[] = {
        {25, 9, "20{120}"},      // higher rates are offered, not chosen
        {29.97f, 10, "20{120}"},  // compared in single precision: "29.97" is reached
        {30, 11, "20{120}"},     // the source rate is added but not chosen
        {17, 7, "17"},           // below 20: the source rate is chosen
        {12.5f, 6, "12.5"},
        {3, 2, "3"},
        {0, 1, "{55}"},
    };
    for (const Case &c : cases) {
        const WmvFpsList w = wmvFpsItems(c.fps);
        EXPECT_EQ(w.items.size(), c.count) << c.fps;
        ASSERT_GE(w.selected, 0);
        EXPECT_EQ(w.items[w.selected], QString(c.selected)) << c.fps;
    }
}

TEST(OptionPresets, VideoFamilies)
{
    fillMarkerTable();
    struct Case {
        const char *format, *ext;
        int w, h, sizeIndex;
        bool sizeEnabled, cropFirst, scaleCropEnabled, audioOff, fpsEnabled;
        const char *fps, *vbr, *abr, *rate;
        bool audioLocked;
        int rotateItems;
    } cases[] = {
        {"MPEG1", "mpg", 1280, 720, 1, true, false, true, true, true, "23.976{120}", "1152{122}", "64{121}", "22050", false, 8},
        {"MPEG2", "mpg", 1280, 720, 1, true, false, true, true, true, "23.976{120}", "1152{122}", "64{121}", "22050", false, 8},
        {"VCD", "dat", 352, 240, 16, false, true, false, false, false, "29.97{120}", "1152{122}", "224{123}", "44100", true, 4},
        {"DVD", "vob", 720, 480, 28, false, true, false, false, false, "29.97{120}", "4800", "320", "48000", true, 4},
        {"DivX", "avi", 1280, 720, 1, true, false, true, true, true, "20{120}", "1152{122}", "64{121}", "22050", false, 8},
        {"WMV7", "wmv", 1280, 720, 1, true, false, true, true, true, "20{120}", "1152{122}", "64{121}", "22050", false, 8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        const OptionPreset p = optionPreset(input(c.format, c.ext));
        EXPECT_EQ(p.formatText, QString(" FMT [X]"));
        EXPECT_EQ(p.actionWord, QString("{15}"));
        EXPECT_EQ(p.optCaption, QString("{15}{27}"));
        EXPECT_EQ(p.encodeCaption, QString("{13}{15}"));
        EXPECT_EQ(p.stopCaption, QString("{14}{15}"));
        EXPECT_TRUE(p.scopeEnabled);
        EXPECT_EQ(p.sizeWidth, c.w);
        EXPECT_EQ(p.sizeHeight, c.h);
        EXPECT_EQ(p.sizeIndex, c.sizeIndex);
        EXPECT_EQ(p.sizeEnabled, c.sizeEnabled);
        EXPECT_EQ(p.sizeListEnabled, c.sizeEnabled);
        EXPECT_EQ(p.cropFirst, c.cropFirst);
        EXPECT_EQ(p.scaleCropEnabled, c.scaleCropEnabled);
        EXPECT_TRUE(p.audioOnEnabled);
        EXPECT_EQ(p.audioOffEnabled, c.audioOff);
        EXPECT_EQ(p.fps.enabled, c.fpsEnabled);
        EXPECT_EQ(p.fps.text, QString(c.fps));
        EXPECT_EQ(p.videoBitrate.text, QString(c.vbr));
        EXPECT_EQ(p.videoBitrate.enabled, !c.audioLocked);
        EXPECT_EQ(p.audioBitrate.text, QString(c.abr));
        EXPECT_EQ(p.audioSample.text, QString(c.rate));
        EXPECT_EQ(p.audioBitrate.enabled, !c.audioLocked);
        EXPECT_EQ(p.audioSample.enabled, !c.audioLocked);
        EXPECT_EQ(p.rotate.items.size(), c.rotateItems);
        EXPECT_EQ(p.rotate.index, 0);
        EXPECT_TRUE(p.rotate.enabled);
        EXPECT_TRUE(p.delayNormEnabled);
        EXPECT_TRUE(p.bordersEnabled);
        EXPECT_TRUE(p.pictureEnabled);
        EXPECT_TRUE(p.volumeEnabled);
        EXPECT_EQ(p.firstPage, 0);

        const JobDefaults d = jobDefaults(p);
        EXPECT_EQ(d.scaleFilter, " -vf-add scale=" + QString::number(c.w) + ":" + QString::number(c.h));
        EXPECT_EQ(d.fpsText, QString(c.fps));
        EXPECT_EQ(d.videoBitrateText, QString(c.vbr));
        EXPECT_EQ(d.audioBitrateText, QString(c.abr));
    }
}

TEST(OptionPresets, SoundLikeFamilies)
{
    fillMarkerTable();
    struct Case {
        const char *format, *ext;
        bool audio;
        const char *formatText, *action, *opt, *encode;
        bool abrEnabled;
        const char *abr;
        bool rateEnabled;
        const char *rate;
        bool delay, scope, audioOn, volume;
        int page;
    } cases[] = {
        {"onlyTransVol", "dat", false, "{55}", "{38}{66}", "{66}{27}", "{13}{38}", false, "224{123}", false, "44100", true, true, true, true, 2},
        {"onlyTransVol", "vob", false, "{55}", "{38}{66}", "{66}{27}", "{13}{38}", false, "320", false, "48000", true, true, true, true, 2},
        {"AudIsMp3", "avi", false, " FMT [X]", "{15}", "{15}{27}", "{13}{15}", true, "64{121}", true, "22050", true, true, true, true, 2},
        {"{264} WAV", "wav", true, " FMT [X]", "{162}{264} WAV ", "{15}{27}", "{13}{15}", false, "64{121}", true, "22050", false, true, true, true, 2},
        {"{264} MP3", "mp3", true, " FMT [X]", "{162}{264} MP3 ", "{15}{27}", "{13}{15}", true, "64{121}", true, "22050", false, true, true, true, 2},
        {"onlyCut", "avi", false, "{55}", "{52}{54}", "{52}{27}", "{13}{52}", false, "{55}", false, "22050", false, true, false, false, 0},
        {"onlyFix", "wmv", false, "{55}", "{53}{54}", "{83}", "{13}{53}", false, "{55}", false, "22050", false, false, false, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.ext);
        const OptionPreset p = optionPreset(input(c.format, c.ext, c.audio));
        EXPECT_EQ(p.formatText, QString(c.formatText));
        EXPECT_EQ(p.actionWord, QString(c.action));
        EXPECT_EQ(p.optCaption, QString(c.opt));
        EXPECT_EQ(p.encodeCaption, QString(c.encode));
        EXPECT_EQ(p.audioBitrate.enabled, c.abrEnabled);
        EXPECT_EQ(p.audioBitrate.text, QString(c.abr));
        EXPECT_EQ(p.audioSample.enabled, c.rateEnabled);
        EXPECT_EQ(p.audioSample.text, QString(c.rate));
        EXPECT_EQ(p.delayNormEnabled, c.delay);
        EXPECT_EQ(p.scopeEnabled, c.scope);
        EXPECT_EQ(p.audioOnEnabled, c.audioOn);
        EXPECT_FALSE(p.audioOffEnabled);
        EXPECT_EQ(p.volumeEnabled, c.volume);
        EXPECT_EQ(p.firstPage, c.page);
        // No picture settings: the source size, nothing to choose.
        EXPECT_EQ(p.fps.index, -1);
        EXPECT_EQ(p.fps.text, QString("{55}"));
        EXPECT_FALSE(p.fps.enabled);
        EXPECT_EQ(p.videoBitrate.text, QString("{55}"));
        EXPECT_EQ(p.sizeWidth, 1920);
        EXPECT_EQ(p.sizeHeight, 1080);
        EXPECT_EQ(p.sizeIndex, sizeItemSource);
        EXPECT_FALSE(p.sizeEnabled);
        EXPECT_FALSE(p.cropFirst);
        EXPECT_FALSE(p.scaleCropEnabled);
        EXPECT_FALSE(p.bordersEnabled);
        EXPECT_FALSE(p.pictureEnabled);
        EXPECT_FALSE(p.rotate.enabled);
        EXPECT_EQ(p.rotate.items.size(), 8);
    }
}

TEST(OptionPresets, StoredDefaultsFromTheSharedRecords)
{
    fillMarkerTable();
    namespace m = mdlMavrell;
    testjob::job.targetFormat = "MPEG1";
    testjob::job.targetExt = "mpg";
    testjob::job.targetIsAudio = false;
    testjob::source.srcWidth = 1920;
    testjob::source.srcHeight = 1080;
    testjob::job.outWidth = 1280;
    testjob::job.outHeight = 720;
    testjob::source.srcLength = 30;
    const OptionPreset p = presetJob(testjob::source, testjob::job, " MPG [MPEG1]");
    testjob::preview.secPerSliderUnit = secondsPerSliderUnit(testjob::source, 300);
    EXPECT_EQ(p.family, F::Mpeg1);
    EXPECT_EQ(p.formatText, QString(" MPG [MPEG1]"));
    EXPECT_EQ(testjob::job.actionWord, QString("{15}"));
    EXPECT_EQ(testjob::job.scaleFilter, QString(" -vf-add scale=1280:720"));
    EXPECT_EQ(testjob::job.fpsText, QString("23.976{120}"));
    EXPECT_EQ(testjob::job.videoBitrateText, QString("1152{122}"));
    EXPECT_EQ(testjob::job.audioBitrateText, QString("64{121}"));
    EXPECT_FLOAT_EQ(testjob::preview.secPerSliderUnit, 0.1f);

    // A source without a picture stores a scale piece of 0 x 0 for a sound job.
    testjob::job.targetFormat = "{264} MP3";
    testjob::job.targetExt = "mp3";
    testjob::job.targetIsAudio = true;
    testjob::source.srcWidth = testjob::source.srcHeight = testjob::job.outWidth = testjob::job.outHeight = 0;
    storeJobDefaults(jobDefaults(optionPreset(PresetInput::of(testjob::source, testjob::job, "{264} MP3"))), testjob::job);
    EXPECT_EQ(testjob::job.scaleFilter, QString(" -vf-add scale=0:0"));
    EXPECT_EQ(testjob::job.fpsText, QString("{55}"));
    EXPECT_EQ(testjob::job.audioBitrateText, QString("64{121}"));
}

// After a language change a job keeps its kind and takes its words from the new table:
// a sound target's kind name, the action word, the format shown, a rate of the source's.
TEST(OptionPresets, ARetranslatedJobKeepsItsKind)
{
    struct Case {
        const char *format, *ext;
        bool audio;
        const char *fps;
        const char *kind, *action, *formatText, *fpsAfter;
    } cases[] = {
        {"Audio MP3", "mp3", true, "", "聲音 MP3", "轉換為聲音 MP3 ", "聲音 MP3", ""},
        {"onlyCut", "avi", false, "Same as the source", "onlyCut", "剪輯影片", "與來源影音相同", "與來源影音相同"},
        {"onlyTransVol", "mpg", false, "Same as the source", "onlyTransVol", "調整音量", "與來源影音相同", "與來源影音相同"},
        {"MP42", "avi", false, "20  (normal)", "MP42", "轉換", " AVI  [MP42 + MP3]", "20  (normal)"},
        {"MP42", "wmv", false, "12", "MP42", "轉換", " WMV [MP42]", "12"},
        {"AudIsMp3", "avi", false, "", "AudIsMp3", "轉換", " AVI  [影像不變 + MP3]", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        ASSERT_TRUE(mdlMavrell::loadLanguageTable(QStringLiteral("en")));
        jobrecords::JobSettings job;
        job.targetFormat = QString::fromUtf8(c.format);
        job.targetExt = QString::fromUtf8(c.ext);
        job.targetIsAudio = c.audio;
        job.fpsText = QString::fromUtf8(c.fps);
        job.actionWord = QStringLiteral("English");
        ASSERT_TRUE(mdlMavrell::loadLanguageTable(QStringLiteral("tw")));
        const JobTexts t = retranslateJob(job);
        EXPECT_EQ(job.targetFormat.toStdString(), c.kind);
        EXPECT_EQ(job.targetIsAudio, c.audio);
        EXPECT_EQ(job.actionWord.toStdString(), c.action);
        EXPECT_EQ(t.actionWord, job.actionWord);
        EXPECT_EQ(t.formatText.toStdString(), c.formatText);
        EXPECT_EQ(job.fpsText.toStdString(), c.fpsAfter);
    }
}
