// The options dialog as a window: its controls by name, the lists the main window
// asks for, language changes, OK's checks and pieces through the message seam, and
// Cancel after a rejected OK.
#include "controls/orvextab.h"
#include "controls/stylebutton.h"
#include "core/console.h"
#include "core/languagetable.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "engine/optionpresets.h"
#include "options/frmoptions.h"
#include "optionstestlang.h"
#include "player/frmplayer.h"
#include "support/mediaprobe.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace mdlMavrell;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// A main window that only records what the dialog tells it.
class FakeMain : public MainWindowLink {
public:
    QWidget widget;
    QString note;
    bool conversionLayout = false;
    QString language = QStringLiteral("en");
    QWidget *mainWidget() override { return &widget; }
    void setEncodeNote(const QString &text) override { note = text; }
    QString encodeNote() const override { return note; }
    QString languageCode() const override { return language; }
    QString settingsButtonCaption() const override { return QStringLiteral("Settings"); }
    QString encodeButtonCaption() const override { return QStringLiteral("Start"); }
    void placeEncodeNote(bool conversion) override { conversionLayout = conversion; }
};


class FrmOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        optionstest::resetJob();
        ASSERT_TRUE(loadLanguageTable(QStringLiteral("en")));
        setMainWindowLink(&main);
        dlg = &frmOptions();
        dlg->applyLanguage();
    }
    void TearDown() override
    {
        unloadFrmOptions();
        setMainWindowLink(nullptr);
        optionstest::resetJob();
    }

    // The preset the engine gives the current job, applied as the source set-up does.
    void presetJob(const QString &format, const QString &ext)
    {
        jobstate::jobSettings.targetFormat = format;
        jobstate::jobSettings.targetExt = ext;
        optionstest::videoSource();
        const engine::OptionPreset p = engine::presetJob(jobstate::sourceInfo, jobstate::jobSettings, QStringLiteral(" AVI"));
        jobstate::previewState.secPerSliderUnit = engine::secondsPerSliderUnit(jobstate::sourceInfo, 322);
        dlg->applyPreset(p);
        dlg->SetMainEncodeNote(jobstate::jobSettings.outWidth, jobstate::jobSettings.outHeight);
    }

    FakeMain main;
    ScriptedPrompts prompts;
    FrmOptions *dlg = nullptr;
};

[[maybe_unused]] QStringList items(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

TEST_F(FrmOptionsTest, OneHiddenInstanceWithItsNamedControls)
{
    EXPECT_EQ(&frmOptions(), dlg);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->size(), QSize(460, 615));
    EXPECT_TRUE(dlg->windowFlags() & Qt::FramelessWindowHint);
    // Controls are found by the names the other windows use, pages by the tab strip's names.
    for (const char *name : {"cboFps", "cboSize", "txtExpand(3)", "optSub(1)", "lblVolume", "imgHue(2)",
                             "picOrvexTab(5)", "picTabMask(4)", "cmdOkCancel(1)", "cmdFocus"})
        EXPECT_NE(dlg->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(dlg->tabMn->Tabs(), 6);
    for (QFrame *mask : dlg->picTabMask) {
        EXPECT_TRUE(mask->isHidden());
        EXPECT_EQ(mask->geometry(), QRect(2, 2, 397, 138));
    }
    EXPECT_TRUE(dlg->shpScope->isHidden());
    EXPECT_EQ(dlg->picPlayer->palette().color(QPalette::Window), QColor(1, 2, 3));  // the player's colour key on X11
    EXPECT_EQ(dlg->lneCrSpec->x(), dlg->picCrSpec->width() / 2);
    EXPECT_EQ(dlg->cboAudioSample->count(), 7);
    EXPECT_EQ(dlg->cboSize->count(), 31);
    EXPECT_EQ(dlg->cboSize->itemText(2), lng[txt::CustomTimes] + lng[txt::SourceRatio]);
    // Unloading stops everything and a later use creates a fresh dialog.
    unloadFrmOptions();
    EXPECT_FALSE(frmOptionsLoaded());
    dlg = &frmOptions();
    EXPECT_TRUE(frmOptionsLoaded());
}

// Everything OK may write into the job, to see that a step changed nothing.
QStringList jobRecord()
{
    return {jobstate::jobSettings.fpsText, jobstate::jobSettings.videoBitrateText, jobstate::jobSettings.audioBitrateText, QString::number(jobstate::jobSettings.outWidth), QString::number(jobstate::jobSettings.outHeight),
            jobstate::jobSettings.scaleFilter, jobstate::jobSettings.colorFilter, jobstate::jobSettings.rotateFilter, jobstate::jobSettings.subtitleOpts, jobstate::jobSettings.audioOpts, jobstate::jobSettings.encodeVolumeOpt,
            QString::number(jobstate::jobSettings.markIn), QString::number(jobstate::jobSettings.markOut), QString::number(jobstate::jobSettings.cropRect[0])};
}

void clickTimes(StyleButton *b, int n)
{
    for (int i = 0; i < n; ++i)
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, 4));
}

// What the main window does before a new source: adjusters back to neutral.
void resetAdjusters(FrmOptions *dlg)
{
    dlg->edit([](opt::OptionsForm &f) {
        f.lblVolPlay.tag = QStringLiteral("100");
        for (opt::Adjuster a : {opt::Adjuster::Volume, opt::Adjuster::Brightness, opt::Adjuster::Contrast,
                                opt::Adjuster::Hue, opt::Adjuster::Saturation}) {
            opt::valueLabel(f, a).tag.clear();
            opt::adjusterButtons(f, a)[2].tag.clear();
        }
    });
    dlg->setLblColorAndVolPara(0, true);
}

bool hasFocusIn(const QWidget *dialogFocus, const QWidget *control)
{
    return dialogFocus && (dialogFocus == control || control->isAncestorOf(dialogFocus));
}

TEST_F(FrmOptionsTest, WmvFrameRatesSurviveALanguageChangeByValue)
{
    presetJob(QStringLiteral("WMV7"), QStringLiteral("wmv"));
    dlg->setCboFpsItemIsWmv();
    ASSERT_EQ(dlg->cboFps->count(), 9);
    EXPECT_TRUE(dlg->cboFps->currentText().startsWith(QLatin1String("20")));
    // A typed audio bit rate and the size choice survive the switch too.
    dlg->cboAudioBitrate->setCurrentIndex(-1);
    dlg->cboAudioBitrate->setEditText(QStringLiteral("100"));
    dlg->cboSize->setCurrentIndex(15);  // "320 x " + the keep-proportion word
    dlg->SetSizeSetting();
    ASSERT_EQ(dlg->txtSize[1]->text(), QStringLiteral("240"));
    dlg->txtSize[1]->setText(QStringLiteral("1"));

    ASSERT_TRUE(loadLanguageTable(QStringLiteral("tw")));
    main.language = QStringLiteral("tw");
    dlg->applyLanguage();
    EXPECT_EQ(dlg->cboFps->count(), 9);
    EXPECT_EQ(dlg->cboFps->currentText(), QStringLiteral("20") + lng[txt::QualityNormal]);
    EXPECT_EQ(dlg->cboAudioBitrate->currentText(), QStringLiteral("100"));
    EXPECT_EQ(dlg->cboSize->currentIndex(), 15);
    EXPECT_EQ(dlg->txtSize[1]->text(), QStringLiteral("240"));
    EXPECT_EQ(dlg->cmdOkCancel[0]->Caption(), lng[txt::OkWord]);
    EXPECT_EQ(dlg->optAudio[1]->text(), lng[txt::NoAudioOutput]);
    // The tab captions are the design's in every language.
    EXPECT_EQ(dlg->tabMn->All_Caption().count(QChar(OrvexTab::separator)), 6);
}

TEST_F(FrmOptionsTest, TargetListsPerFamily)
{
    struct Case {
        const char *format, *ext;
        int fpsItems, videoBitrateItems, rotateItems;
        bool sizeBoxesEnabled;
    } cases[] = {
        {"MPEG1", "mpg", 5, 5, 8, true},
        {"DivX", "avi", 14, 13, 8, true},
        {"VCD", "dat", 14, 13, 4, false},
        {"WMV7", "wmv", 9, 13, 8, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        presetJob(QLatin1String(c.format), QLatin1String(c.ext));
        EXPECT_EQ(dlg->cboFps->count(), c.fpsItems);
        EXPECT_EQ(dlg->cboVideoBitrate->count(), c.videoBitrateItems);
        EXPECT_EQ(dlg->cboRotate->count(), c.rotateItems);
        EXPECT_EQ(dlg->cboRotate->currentIndex(), 0);
        EXPECT_EQ(dlg->txtSize[0]->isEnabled(), c.sizeBoxesEnabled);
        EXPECT_EQ(dlg->lblFormatStr->text(), lng[txt::TargetFormatIs] + QStringLiteral(" AVI"));
        // The audio piece follows the page as the preset left it.
        EXPECT_TRUE(jobstate::jobSettings.audioOpts.startsWith(QLatin1String(" -delay 0 -channels 2 -srate "))) << jobstate::jobSettings.audioOpts.toStdString();
    }
}

TEST_F(FrmOptionsTest, OkRejectsBadFieldsStoringNothing)
{
    struct Case {
        const char *what;
        std::function<void(FrmOptions *)> change;
        QString message;
        int page;
        std::function<QWidget *(FrmOptions *)> focus;
    };
    const std::vector<Case> cases{
        {"frame rate", [](FrmOptions *d) { d->cboFps->setEditText(QStringLiteral("4.9")); },
         QString(lng[txt::FrameRateRange]).replace("aaa", "5").replace("bbb", "30"), 0, [](FrmOptions *d) { return d->cboFps; }},
        {"video bit rate", [](FrmOptions *d) { d->cboVideoBitrate->setEditText(QStringLiteral("9001")); }, lng[txt::VideoBitrateRange], 1,
         [](FrmOptions *d) { return d->cboVideoBitrate; }},
        {"audio bit rate", [](FrmOptions *d) { d->cboAudioBitrate->setEditText(QStringLiteral("321")); }, lng[txt::AudioBitrateRange], 2,
         [](FrmOptions *d) { return d->cboAudioBitrate; }},
        {"width", [](FrmOptions *d) { d->txtSize[0]->setText(QStringLiteral("1281")); }, lng[txt::WidthRange], 1,
         [](FrmOptions *d) { return d->txtSize[0]; }},
        {"height", [](FrmOptions *d) { d->txtSize[1]->setText(QStringLiteral("7")); }, lng[txt::HeightRange], 1,
         [](FrmOptions *d) { return d->txtSize[1]; }},
        {"borders wider than a picture can be",
         [](FrmOptions *d) { d->txtExpand[3]->setText(QStringLiteral("3000000000")); }, lng[txt::BordersTooWide], 1,
         [](FrmOptions *d) { return d->txtExpand[3]; }},
        {"top and bottom borders too high together",
         [](FrmOptions *d) {
             d->txtExpand[0]->setText(QStringLiteral("1073741824"));
             d->txtExpand[1]->setText(QStringLiteral("1073741824"));
         },
         lng[txt::BordersTooWide], 1, [](FrmOptions *d) { return d->txtExpand[0]; }},
        {"flip with a bottom border",
         [](FrmOptions *d) {
             d->cboRotate->setCurrentIndex(2);
             d->txtExpand[1]->setText(QStringLiteral("4"));
         },
         lng[txt::FlipAndBordersClash], 1, [](FrmOptions *d) { return d->txtExpand[1]; }},
        {"missing subtitle file",
         [](FrmOptions *d) {
             d->optSub[1]->setChecked(true);
             d->SetSubSetting(false);
             d->txtSubFile->setText(QStringLiteral("  /nowhere/a.srt "));
         },
         lng[txt::SubtitleFileMissing] + QStringLiteral("\n\n/nowhere/a.srt"), 4, [](FrmOptions *d) { return d->txtSubFile; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
        dlg->showForSettings(QStringLiteral("/src.avi"));
        ASSERT_FALSE(main.widget.isEnabled());
        // A valid field stored before the faulty one must not reach the job either.
        dlg->txtExpand[2]->setText(QStringLiteral("6"));
        c.change(dlg);
        const QStringList before = jobRecord();
        prompts.messages.clear();
        dlg->tabMn->setTabNow(3);
        QTest::mouseClick(dlg->cmdOkCancel[0], Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(prompts.lastText(), c.message);
        EXPECT_EQ(dlg->tabMn->TabNow(), c.page);
        EXPECT_TRUE(hasFocusIn(dlg->focusWidget(), c.focus(dlg)));
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_FALSE(main.widget.isEnabled());
        EXPECT_EQ(jobRecord(), before);
        dlg->cmdOkCancel_Click(1);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_TRUE(main.widget.isEnabled());
    }
}

TEST_F(FrmOptionsTest, OkWritesThePiecesOfTheJob)
{
    // Numbers in pieces keep "." whatever the locale.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    struct Case {
        const char *what;
        std::function<void(FrmOptions *)> change;
        const char *scale, *rotate, *colour, *volume, *audio;
        int noteWidth, noteHeight;
    };
    const std::vector<Case> cases{
        {"plain", [](FrmOptions *) {}, " -vf-add scale=640:480", "", "", "",
         " -delay 0 -channels 2 -srate 22050 -af-add channels=2", 640, 480},
        {"turned, hue, louder, delayed sound",
         [](FrmOptions *d) {
             d->cboRotate->setCurrentIndex(4);
             clickTimes(d->imgHue[1], 2);
             clickTimes(d->imgVolume[1], 3);
             d->txtAudioDelay->setText(QStringLiteral("0.5"));
             d->cboAudioSample->setCurrentIndex(5);
             d->chkAudioVolnorm->setChecked(true);
         },
         " -vf-add scale=640:480", " -vf-add rotate=1", " -vf-add hue=7:1", " -af-add volume=6",
         " -delay -0.5 -channels 2 -srate 44100 -af-add channels=2 -af-add volnorm", 480, 640},
        {"side borders, mirrored, less saturated, no sound",
         [](FrmOptions *d) {
             d->txtExpand[2]->setText(QStringLiteral("8"));
             d->txtExpand[3]->setText(QStringLiteral("008"));
             d->cboRotate->setCurrentIndex(1);
             clickTimes(d->imgSaturation[0], 25);
             clickTimes(d->imgBrightness[1], 10);
             QTest::mouseClick(d->optAudio[1], Qt::LeftButton, {}, QPoint(4, 4));
         },
         " -vf-add scale=640:480,expand=656:480:8:0:1", " -vf-add mirror", " -vf-add eq2=1:1:0:0.5 -vf-add eq=20:0", "",
         " -nosound", 656, 480},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
        resetAdjusters(dlg);
        dlg->txtSize[0]->setText(QStringLiteral("640"));
        dlg->txtSize[1]->setText(QStringLiteral("480"));
        dlg->showForSettings(QStringLiteral("/src.avi"));
        c.change(dlg);
        prompts.messages.clear();
        dlg->cmdOkCancel_Click(0);
        EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_TRUE(main.widget.isEnabled());
        EXPECT_EQ(jobstate::jobSettings.scaleFilter, QString(c.scale));
        EXPECT_EQ(jobstate::jobSettings.rotateFilter, QString(c.rotate));
        EXPECT_EQ(jobstate::jobSettings.colorFilter, QString(c.colour));
        EXPECT_EQ(jobstate::jobSettings.encodeVolumeOpt, QString(c.volume));
        EXPECT_EQ(jobstate::jobSettings.audioOpts, QString(c.audio));
        EXPECT_EQ(jobstate::jobSettings.outWidth, 640);
        EXPECT_TRUE(main.note.contains(QString::number(c.noteWidth) + " x " + QString::number(c.noteHeight)))
            << main.note.toStdString();
        EXPECT_TRUE(main.conversionLayout);
        // The boxes show what was stored, tidied.
        EXPECT_EQ(dlg->txtExpand[3]->text(), c.scale == QString(" -vf-add scale=640:480") ? "0" : "8");
    }
    QLocale::setDefault(previous);
}

TEST_F(FrmOptionsTest, CancelAfterARejectedOkPutsEverythingBack)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->cboSubcp->setCurrentIndex(0);
    dlg->showForSettings(QStringLiteral("/src.avi"));
    const QStringList job = jobRecord();
    const opt::OptionsForm shown = dlg->form();

    dlg->cboSize->setCurrentIndex(5);
    dlg->SetSizeSetting();
    dlg->txtExpand[0]->setText(QStringLiteral("12"));
    QTest::mouseClick(dlg->optScaleCrop[1], Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(dlg->optAudio[1], Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_FALSE(dlg->cboAudioSample->isEnabled());
    dlg->txtAudioDelay->setText(QStringLiteral("3"));
    dlg->chkAudioVolnorm->setChecked(true);
    clickTimes(dlg->imgContrast[1], 3);
    QTest::mouseClick(dlg->optSub[1], Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_TRUE(dlg->txtSubFile->isEnabled());
    dlg->txtSubFile->setText(QStringLiteral("/x.srt"));
    dlg->txtSubSize->setText(QStringLiteral("9"));
    dlg->cboSubcp->setCurrentIndex(2);
    dlg->cboRotate->setCurrentIndex(3);
    dlg->cboVideoBitrate->setEditText(QStringLiteral("31"));  // rejected

    dlg->cmdOkCancel_Click(0);
    ASSERT_EQ(prompts.lastText(), lng[txt::VideoBitrateRange]);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(jobRecord(), job);

    dlg->cmdOkCancel_Click(1);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(main.widget.isEnabled());
    EXPECT_EQ(jobRecord(), job);
    const opt::OptionsForm back = dlg->form();
    EXPECT_EQ(back.cboSize.listIndex, shown.cboSize.listIndex);
    EXPECT_EQ(back.txtSize[0].text, shown.txtSize[0].text);
    EXPECT_EQ(back.txtExpand[0].text, QStringLiteral("0"));
    EXPECT_TRUE(back.optScaleCrop[0].value);
    EXPECT_TRUE(back.optAudio[0].value);
    EXPECT_TRUE(back.cboAudioSample.enabled);
    EXPECT_EQ(back.txtAudioDelay.text, QStringLiteral("0"));
    EXPECT_EQ(back.chkAudioVolnorm.value, 0);
    EXPECT_EQ(back.lblContrast.tag, shown.lblContrast.tag);
    EXPECT_EQ(dlg->lblContrast->text(), lng[txt::ContrastWord] + QStringLiteral(" = +0 %"));
    EXPECT_TRUE(back.optSub[0].value);
    EXPECT_FALSE(back.txtSubFile.enabled);
    EXPECT_EQ(back.txtSubFile.text, shown.txtSubFile.text);
    EXPECT_EQ(back.txtSubSize.text, shown.txtSubSize.text);
    EXPECT_EQ(back.cboSubcp.listIndex, 0);
    EXPECT_EQ(back.cboRotate.listIndex, shown.cboRotate.listIndex);
    EXPECT_EQ(back.cboVideoBitrate.text, shown.cboVideoBitrate.text);
    EXPECT_EQ(back.cboFps.text, shown.cboFps.text);
}

TEST_F(FrmOptionsTest, KeyFiltersLetOnlyTheirCharactersThrough)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    QTest::mouseClick(dlg->optSub[1], Qt::LeftButton, {}, QPoint(4, 4));
    struct Case {
        QLineEdit *box;
        const char *typed, *shown;
    } cases[] = {
        {dlg->cboVideoBitrate->lineEdit(), "12.a3", "123"},
        {dlg->cboFps->lineEdit(), "29.97x", "29.97"},
        {dlg->txtAudioDelay, "-1.5b", "-1.5"},
        {dlg->txtSubDelay, "+-2,5", "-25"},
        {dlg->txtExpand[0], "1-2.", "12"},
        {dlg->txtSubSize, "4a", "4"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        c.box->clear();
        QTest::keyClicks(c.box, QLatin1String(c.typed));
        EXPECT_EQ(c.box->text(), QLatin1String(c.shown));
    }
    // Backspace still works in a filtered box.
    QTest::keyClick(dlg->txtSubSize, Qt::Key_Backspace);
    EXPECT_EQ(dlg->txtSubSize->text(), QString());

    // Enter in the width box derives the height at once and types nothing.
    dlg->cboSize->setCurrentIndex(5);  // custom width, 16:9
    dlg->SetSizeSetting();
    ASSERT_FALSE(dlg->txtSize[1]->isEnabled());
    dlg->txtSize[0]->setText(QStringLiteral("500"));
    QTest::keyClick(dlg->txtSize[0], Qt::Key_Return);
    EXPECT_EQ(dlg->txtSize[0]->text(), QStringLiteral("500"));
    EXPECT_EQ(dlg->txtSize[1]->text(), QStringLiteral("282"));
}

TEST_F(FrmOptionsTest, AdjusterButtonsStepClampAndCaption)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->setLblColorAndVolPara(0, true);
    clickTimes(dlg->imgBrightness[1], 51);
    EXPECT_EQ(dlg->lblBrightness->property("Tag").toString(), QStringLiteral("100"));
    EXPECT_EQ(dlg->lblBrightness->text(), lng[txt::BrightnessWord] + QStringLiteral(" = +100 %"));
    clickTimes(dlg->imgBrightness[2], 1);
    EXPECT_EQ(dlg->lblBrightness->text(), lng[txt::BrightnessWord] + QStringLiteral(" = +0 %"));

    clickTimes(dlg->imgHue[0], 60);
    EXPECT_EQ(dlg->lblHue->text(), lng[txt::HueWord] + QStringLiteral(" = -100 ") + lng[txt::Units]);
    EXPECT_EQ(dlg->lneCrSpec->x(), 1);
    clickTimes(dlg->imgHue[1], 100);
    EXPECT_EQ(dlg->lneCrSpec->x(), dlg->picCrSpec->width() - 1);

    // Without sound the volume adjuster does nothing.
    QTest::mouseClick(dlg->optAudio[1], Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(dlg->lblVolume->isEnabled());
    clickTimes(dlg->imgVolume[1], 2);
    EXPECT_EQ(dlg->lblVolume->property("Tag").toString(), QString());

    // Playback volume: the buttons show on demand and step by five within 0..100.
    EXPECT_TRUE(dlg->lblVol[0]->isHidden());
    clickTimes(dlg->lblVolPlay, 1);
    EXPECT_FALSE(dlg->lblVol[0]->isHidden());
    EXPECT_FALSE(dlg->lblVol[1]->isHidden());
    EXPECT_EQ(dlg->lblNote->text(), lng[txt::AdjustVolumeTip]);
    clickTimes(dlg->lblVol[1], 1);
    EXPECT_EQ(dlg->lblVolPlay->Tag(), QStringLiteral("100"));
    clickTimes(dlg->lblVol[0], 3);
    EXPECT_EQ(dlg->lblVolPlay->Tag(), QStringLiteral("85"));
    EXPECT_EQ(dlg->lblVolPlay->toolTip(), lng[txt::VolumeWord] + QStringLiteral(" = 85"));
}

TEST_F(FrmOptionsTest, SummaryReachesTheMainWindowInTheCurrentLanguage)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->SetMainEncodeNote(352, 288);
    const QString english = main.note;
    // The colon brings its blank: the one after "=" is not doubled.
    EXPECT_TRUE(english.startsWith("Target format: AVI")) << english.toStdString();
    EXPECT_TRUE(english.contains(lng[txt::FinalPictureSize] + QStringLiteral("352 x 288"))) << english.toStdString();

    ASSERT_TRUE(loadLanguageTable(QStringLiteral("gb")));
    dlg->applyLanguage();  // the source has a length: the summary is rewritten, its size kept
    EXPECT_NE(main.note, english);
    EXPECT_TRUE(main.note.contains(lng[txt::FinalPictureSize] + QStringLiteral("352 x 288"))) << main.note.toStdString();
    EXPECT_TRUE(main.note.startsWith(QString(lng[txt::TargetFormatIs]).replace(" = ", lng[txt::ColonSeparator]))) << main.note.toStdString();
}

TEST_F(FrmOptionsTest, DraggingMovesTheWindowWithTheLeftButtonOnly)
{
    dlg->move(100, 100);
    dlg->show();
    const QPoint start = dlg->pos();
    QWidget *label = dlg->lblFpsStr;
    QTest::mousePress(label, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseMove(label, QPoint(30, 20));
    QTest::mouseRelease(label, Qt::RightButton, {}, QPoint(30, 20));
    EXPECT_EQ(dlg->pos(), start);

    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(label, QPoint(4, 4));
    QTest::mouseMove(label, QPoint(24, 14));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(24, 14));
    // The window follows from the press: the first move (1 pixel) moves the label with
    // it, so the pointer ends 21 + 1 pixels from where it was pressed.
    EXPECT_EQ(dlg->pos(), start + QPoint(22, 12));
}

TEST_F(FrmOptionsTest, DeveloperSwitchNeedsTheMarkerFile)
{
    struct Console : FakeMain {
        int visibleCalls = 0;
        bool visible = false;
        void setConsoleWindowVisible(bool v) override
        {
            ++visibleCalls;
            visible = v;
        }
    } console;
    setMainWindowLink(&console);
    testenv::ProgramDir dir;
    dir.activate();
    QTest::mouseClick(dlg, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(prompts.messages.isEmpty());

    QFile marker(dir.appDir() + QStringLiteral("Quennet.ico"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    prompts.answer(prompts::Answer::Yes);
    QTest::mouseClick(dlg, Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].buttons, prompts::Buttons::YesNo);
    EXPECT_TRUE(showDosOutput);
    EXPECT_TRUE(console.visible);
    prompts.answer(prompts::Answer::No);
    QTest::mouseClick(dlg, Qt::RightButton, {}, QPoint(450, 600));
    EXPECT_FALSE(showDosOutput);
    EXPECT_FALSE(console.visible);
    // The left button, or a right click on a control, asks nothing.
    QTest::mouseClick(dlg, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(dlg->lblSubFontStr, Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(prompts.messages.size(), 2);
    setMainWindowLink(&main);
}

TEST_F(FrmOptionsTest, ClosingFromTheWindowSystemCountsAsCancel)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    dlg->txtExpand[1]->setText(QStringLiteral("9"));
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(main.widget.isEnabled());
    EXPECT_EQ(dlg->txtExpand[1]->text(), QStringLiteral("0"));
    EXPECT_TRUE(frmOptionsLoaded());
}

TEST_F(FrmOptionsTest, OkWritesTheSubtitlePieceFromThePage)
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/a.srt");
    QFile srt(file);
    ASSERT_TRUE(srt.open(QIODevice::WriteOnly));
    srt.close();
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->cboSubcp->setCurrentIndex(0);
    dlg->showForSettings(QStringLiteral("/src.avi"));
    QTest::mouseClick(dlg->optSub[1], Qt::LeftButton, {}, QPoint(4, 4));
    // A font whose family name needs no escaping for the tools' font pattern.
    const QList<mdlGetFontsFile::FontItem> fonts = dlg->form().subFonts;
    int font = 0;
    while (font < fonts.size() && fonts[font].family.contains(QRegularExpression(QStringLiteral("[-:,\\\\]"))))
        ++font;
    ASSERT_LT(font, fonts.size());
    dlg->cboSubFont->setCurrentIndex(font);
    const QString family = fonts[font].family;
    dlg->txtSubFile->setText(QStringLiteral(" ") + file + QStringLiteral(" "));
    dlg->txtSubPosHgt->setText(QStringLiteral("120"));
    dlg->txtSubOutline->setText(QStringLiteral("9"));
    dlg->txtSubDelay->setText(QStringLiteral("1.5"));
    dlg->cboSubcp->setCurrentIndex(1);
    dlg->cmdOkCancel_Click(0);
    ASSERT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
    // The delay goes in as typed: a positive value shows the subtitles later.
    EXPECT_EQ(jobstate::jobSettings.subtitleOpts, QStringLiteral(" -sub \"") + file + QStringLiteral("\" -font \"") + family
                                + QStringLiteral("\" -subfont-text-scale 4 -subfont-outline 8 -subfont-blur 2 -subpos 0")
                                + QStringLiteral(" -subdelay 1.5 -subcp cp950"));
    EXPECT_EQ(dlg->txtSubFile->text(), file);
    EXPECT_TRUE(main.note.contains(lng[txt::SubtitlesWord])) << main.note.toStdString();
}

TEST_F(FrmOptionsTest, UnloadingEndsThePreviewPlayer)
{
    bool show = false;
    ASSERT_EQ(mdlConsole::StartConsole(QStringLiteral("/bin/sleep 30"), dlg, show), 0);
    ASSERT_TRUE(mdlConsole::IsRunning());
    unloadFrmOptions();
    EXPECT_FALSE(mdlConsole::IsRunning());
    dlg = &frmOptions();
}

TEST_F(FrmOptionsTest, StoppingThePreviewClosesThePlayerWindowUnlessAskedNotTo)
{
    testenv::ProgramDir dir;
    dir.activate();
    frmPlayer();
    dlg->setStopDosIo(false, true);
    EXPECT_TRUE(frmPlayerLoaded());
    EXPECT_EQ(dlg->picPlayerTag, QStringLiteral("Pause"));
    EXPECT_TRUE(dlg->picTime->isHidden());
    // OK and Cancel stop the preview the full way.
    dlg->showForSettings(QStringLiteral("/src.avi"));
    dlg->cmdOkCancel_Click(1);
    EXPECT_FALSE(frmPlayerLoaded());
    // The console's call without arguments does the same.
    frmPlayer();
    static_cast<ConsoleOwner *>(dlg)->setStopDosIo();
    EXPECT_FALSE(frmPlayerLoaded());
}

} // namespace

// ---------------------------------------------------------------- as a user works the dialog

namespace {

// A grab to look at, when MAVRELL_SHOTS names a folder.
void saveShot(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("MAVRELL_SHOTS");
    if (!dir.isEmpty())
        w->grab().save(dir + "/" + name + ".png");
}

} // namespace

TEST_F(FrmOptionsTest, NumberListsTakeOnlyWhatTheirFilterLetsThroughTypedOrPasted)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    struct Case {
        QComboBox *combo;
        int page;
        QString typed, pasted, expected;
    };
    const Case cases[] = {
        {dlg->cboFps, 0, "2a9.97x", "1,5b.0", "29.9715.0"},
        {dlg->cboVideoBitrate, 1, "8a0.0k", "1 2x", "80012"},
        {dlg->cboAudioBitrate, 2, "-12.8", "9z", "1289"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.combo->objectName().toStdString());
        dlg->tabMn->setTabNow(c.page);
        QTest::mouseClick(c.combo->lineEdit(), Qt::LeftButton, {}, QPoint(5, 5));
        QWidget *typing = QApplication::focusWidget();
        ASSERT_TRUE(typing == c.combo || typing == c.combo->lineEdit());
        QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(typing, Qt::Key_Backspace);
        QTest::keyClicks(typing, c.typed);
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(typing, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(c.combo->currentText(), c.expected);
    }
    saveShot(dlg, "options_typed");
}

// The sample-rate list offers the rates the target's sound encoder takes, also after a
// change of language; the rate chosen from it reaches the job.
TEST_F(FrmOptionsTest, TheSampleRateListOffersWhatTheTargetsEncoderTakes)
{
    presetJob(QStringLiteral("MPEG1"), QStringLiteral("mpg"));
    dlg->applyLanguage();
    EXPECT_EQ(items(dlg->cboAudioSample), QStringList({"16000", "22050", "24000", "32000", "44100", "48000"}));
    EXPECT_EQ(dlg->cboAudioSample->currentText(), QStringLiteral("22050"));
    dlg->showForSettings(QStringLiteral("/src.mpg"));
    dlg->tabMn->setTabNow(2);
    QTest::mouseClick(dlg->cboAudioSample, Qt::LeftButton, {}, QPoint(5, 5));
    QWidget *list = dlg->cboAudioSample->view();
    ASSERT_TRUE(list->isVisible());
    saveShot(list->window(), "options_samplerates");
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dlg->cboAudioSample->currentText(), QStringLiteral("16000"));
    dlg->cmdOkCancel_Click(0);
    EXPECT_TRUE(jobstate::jobSettings.audioOpts.contains(QLatin1String(" -srate 16000 "))) << jobstate::jobSettings.audioOpts.toStdString();

    jobstate::jobSettings.targetIsAudio = true;
    presetJob(QStringLiteral("Sound AC3"), QStringLiteral("ac3"));
    EXPECT_EQ(items(dlg->cboAudioSample), QStringList({"32000", "44100", "48000"}));
    EXPECT_EQ(dlg->cboAudioSample->currentText(), QStringLiteral("32000"));
}

TEST_F(FrmOptionsTest, BoxesItOpensAndTheTabCaptionsKeepTheirOwnColours)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    dlg->tabMn->setTabNow(2);
    // The chosen tab's caption stands out from the other five.
    QMap<QRgb, int> captionColours;
    for (QLabel *l : dlg->tabMn->findChildren<QLabel *>()) {
        l->ensurePolished();
        if (!l->text().isEmpty())
            captionColours[l->palette().color(QPalette::WindowText).rgb()] += 1;
    }
    QList<int> counts = captionColours.values();
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, QList<int>({1, 5}));
    // The page's own labels stay white on the dark skin.
    dlg->lblAudioBitrateStr->ensurePolished();
    EXPECT_EQ(dlg->lblAudioBitrateStr->palette().color(QPalette::WindowText), QColor(Qt::white));

    // The developer's question from a right click on the bare surface: a real box.
    testenv::ProgramDir dir;
    dir.activate();
    QFile marker(dir.appDir() + "Quennet.ico");
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    QPoint bare;
    for (int y = dlg->height() - 2; y > 0 && bare.isNull(); --y)
        if (!dlg->childAt(QPoint(dlg->width() - 4, y)))
            bare = QPoint(dlg->width() - 4, y);
    ASSERT_FALSE(bare.isNull());
    prompts::install(nullptr);
    bool seen = false;
    QColor text, expected;
    QTimer::singleShot(0, qApp, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = true;
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        if (label) {
            label->ensurePolished();
            text = label->palette().color(QPalette::WindowText);
            expected = QApplication::palette(label).color(QPalette::WindowText);
        }
        saveShot(box, "options_question");
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    QTest::mouseClick(dlg, Qt::RightButton, {}, bare);
    prompts::install(&prompts);
    EXPECT_TRUE(seen);
    EXPECT_EQ(text, expected);
    EXPECT_NE(text, QColor(Qt::white));
    EXPECT_FALSE(showDosOutput);
}

TEST_F(FrmOptionsTest, OpensWhollyInsideTheScreensWorkArea)
{
    const QRect avail = dlg->screen()->availableGeometry();
    // A main window near the bottom-right corner would centre the dialog past the edges.
    main.widget.setGeometry(avail.right() - 200, avail.bottom() - 100, 580, 352);
    main.widget.show();
    dlg->showForSettings(QStringLiteral("/src.avi"));
    const QRect g = dlg->frameGeometry();
    EXPECT_GE(g.left(), avail.left());
    EXPECT_LE(g.right(), avail.right());
    EXPECT_GE(g.top(), avail.top());
    EXPECT_TRUE(g.bottom() <= avail.bottom() || g.top() == avail.top()) << g.top();
    dlg->cmdOkCancel_Click(1);
}

// The menu's Paste of a number list's edit field goes through the same filter.
TEST_F(FrmOptionsTest, ContextMenuPasteIsFilteredToo)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    dlg->tabMn->setTabNow(1);
    QLineEdit *edit = dlg->cboVideoBitrate->lineEdit();
    edit->setText(QStringLiteral("8"));
    edit->end(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("0x0 kbit"));
    QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &menuAsked);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction *paste = nullptr;  // the menu's own Paste, found by what it does
    for (QAction *a : menu->actions())
        if (a->text().contains(QStringLiteral("Paste")))
            paste = a;
    ASSERT_NE(paste, nullptr);
    saveShot(menu, "options_paste_menu");
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(paste).center());
    EXPECT_EQ(dlg->cboVideoBitrate->currentText(), QStringLiteral("800"));
}

// English captions that the program joins from several entries read as English.
TEST_F(FrmOptionsTest, JoinedEnglishCaptionsReadAsEnglish)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    // Labels start with their first word; joined entries read on in small letters.
    EXPECT_EQ(dlg->lblVideoBitrateStr->text(), QString::fromUtf8("Settings › Video bit rate = "));
    EXPECT_EQ(dlg->lblAudioBitrateStr->text(), QString::fromUtf8("Settings › Audio bit rate = "));
    EXPECT_TRUE(main.note.contains(QStringLiteral("no subtitles, no flip or rotation\n"))) << main.note.toStdString();
    jobstate::jobSettings.targetFormat = QStringLiteral("onlyFix");
    dlg->txtScope[0]->setEnabled(false);
    dlg->SetScopeNote();
    EXPECT_EQ(dlg->lblScopeNote->text(), QStringLiteral("Repair works on the whole video, so no time marks can be set"));
    dlg->tabMn->setTabNow(3);
    QTest::mouseClick(dlg->imgHue[1], Qt::LeftButton, {}, QPoint(5, 5));
    const QRegularExpression hue(QStringLiteral("^Hue = \\d+ \\(-100 to 100\\)$"));
    EXPECT_TRUE(hue.match(dlg->lblHue->text()).hasMatch()) << dlg->lblHue->text().toStdString();
    saveShot(dlg, "options_colour_page");
    dlg->cmdOkCancel_Click(1);
}

// ---------------------------------------------------------------- by keyboard

namespace {

// Whether w is something the user sees on the dialog: on the chosen page (or off the
// pages), not under a page's mask, inside the client area.
bool seenOnDialog(FrmOptions *dlg, QWidget *w)
{
    if (!w || w->window() != dlg || !w->isVisible())
        return false;
    for (size_t i = 0; i < dlg->picTabMask.size(); ++i)
        if (dlg->picTabMask[i]->isVisible() && dlg->picOrvexTab[i]->isAncestorOf(w))
            return false;
    return dlg->rect().contains(QRect(w->mapTo(dlg, QPoint(0, 0)), w->size()));
}

QWidget *typingTarget()
{
    return QApplication::focusWidget();
}

// A key as the X server hands it to Qt: Tab, Backspace, Delete, Enter and Escape carry
// their control character as text.
void xKey(QWidget *w, QKeyCombination k)
{
    static const QMap<int, QString> controls{{Qt::Key_Tab, QStringLiteral("\t")},
                                             {Qt::Key_Backspace, QStringLiteral("\b")},
                                             {Qt::Key_Delete, QStringLiteral("\x7f")},
                                             {Qt::Key_Return, QStringLiteral("\r")},
                                             {Qt::Key_Escape, QStringLiteral("\x1b")}};
    if (controls.contains(k.key()))
        QTest::sendKeyEvent(QTest::Click, w, k.key(), controls[k.key()], k.keyboardModifiers());
    else
        QTest::keyClick(w, k.key(), k.keyboardModifiers());
}

} // namespace

TEST_F(FrmOptionsTest, TabAndShiftTabStayOnWhatTheUserSees)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
    dlg->tabMn->setTabNow(0);
    const QString bitrate = dlg->cboVideoBitrate->currentText();
    const QString width = dlg->txtSize[0]->text();

    // Type a frame rate, Tab twice, type "500": nothing of a hidden page changes.
    QTest::mouseClick(dlg->cboFps->lineEdit(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClicks(typingTarget(), QStringLiteral("25"));
    QTest::keyClick(typingTarget(), Qt::Key_Tab);
    QTest::keyClick(typingTarget(), Qt::Key_Tab);
    QTest::keyClicks(typingTarget(), QStringLiteral("500"));
    EXPECT_EQ(dlg->cboVideoBitrate->currentText(), bitrate);
    EXPECT_EQ(dlg->txtSize[0]->text(), width);

    // A whole round either way lands only on what shows, and reaches the dialog's buttons.
    struct Walk {
        int page;
        bool masked;
        Qt::KeyboardModifiers mods;
    } walks[] = {{0, false, {}}, {1, false, Qt::ShiftModifier}, {4, true, {}}};
    for (const Walk &walk : walks) {
        SCOPED_TRACE(walk.page);
        dlg->picTabMask[4]->setVisible(walk.masked);
        dlg->tabMn->setTabNow(walk.page);
        dlg->lblPlay->setFocus();
        bool reachedOk = false, reachedPage = false;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(typingTarget(), Qt::Key_Tab, walk.mods);
            QWidget *w = typingTarget();
            ASSERT_TRUE(seenOnDialog(dlg, w)) << (w ? w->objectName().toStdString() : "none");
            reachedOk |= w == dlg->cmdOkCancel[0];
            reachedPage |= dlg->picOrvexTab[size_t(walk.page)]->isAncestorOf(w);
        }
        EXPECT_TRUE(reachedOk);
        EXPECT_EQ(reachedPage, !walk.masked);
    }
    dlg->picTabMask[4]->hide();
    dlg->cmdOkCancel_Click(1);
}

// Every kind of number box takes the editing keys of any box; only typed characters are
// filtered. Tab leaves the box (a range box checks its time then).
TEST_F(FrmOptionsTest, NumberBoxesTakeTheEditingKeys)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
    dlg->optSub[1]->click();
    dlg->SetSubSetting(false);
    struct Box {
        QLineEdit *edit;
        int page;
        bool rangeBox;
    } boxes[] = {
        {dlg->txtExpand[0], 1, false},          {dlg->txtAudioDelay, 2, false},
        {dlg->txtSubSize, 4, false},            {dlg->cboFps->lineEdit(), 0, false},
        {dlg->cboVideoBitrate->lineEdit(), 1, false}, {dlg->txtScope[0], 0, true},
    };
    struct Step {
        QList<QKeyCombination> keys;
        const char *text;  // after the keys
    } steps[] = {
        {{Qt::Key_Home, Qt::Key_Delete}, "234"},
        {{Qt::Key_End, Qt::Key_Backspace}, "23"},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Delete}, "2"},
        {{Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_C, Qt::Key_End, Qt::CTRL | Qt::Key_V}, "22"},
        {{Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_X}, ""},
        {{Qt::CTRL | Qt::Key_V, Qt::Key_Left, Qt::Key_A, Qt::Key_3}, "232"},
    };
    for (const Box &b : boxes) {
        SCOPED_TRACE(b.edit->objectName().toStdString());
        dlg->tabMn->setTabNow(b.page);
        b.edit->setText(QStringLiteral("1234"));
        QTest::mouseClick(b.edit, Qt::LeftButton, {}, QPoint(b.edit->width() - 3, 5));
        QWidget *box = typingTarget();
        ASSERT_TRUE(box == b.edit || box == b.edit->parentWidget());
        QTest::keyClick(box, Qt::Key_End);
        for (const Step &s : steps) {
            for (const QKeyCombination k : s.keys)
                xKey(box, k);
            EXPECT_EQ(b.edit->text(), QLatin1String(s.text)) << QKeySequence(s.keys.value(0)).toString().toStdString();
        }
        const qsizetype asked = prompts.messages.size();
        xKey(box, Qt::Key_Tab);
        EXPECT_NE(typingTarget(), box);
        EXPECT_EQ(prompts.messages.size() - asked, b.rangeBox ? 1 : 0);
        QTest::keyClick(typingTarget(), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(typingTarget(), box);
    }
    dlg->cmdOkCancel_Click(1);
}

// In an open list Escape closes the list and Enter picks its item, as in any dialog; the
// dialog stays open with its edits. With no list open, Escape cancels and Enter confirms
// from whatever control has the focus. The keys go to the window the X server would send
// them to: the list's pop-up while it is open.
TEST_F(FrmOptionsTest, AnOpenListTakesEscapeAndEnter)
{
    presetJob(QStringLiteral("DivX"), QStringLiteral("avi"));
    dlg->showForSettings(QStringLiteral("/src.avi"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
    dlg->optSub[1]->click();
    dlg->SetSubSetting(false);
    dlg->tabMn->setTabNow(1);
    QTest::mouseClick(dlg->txtExpand[0], Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(dlg->windowHandle(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dlg->txtExpand[0], QStringLiteral("9"));

    struct List {
        QComboBox *list;
        int page;
    } lists[] = {{dlg->cboFps, 0},          {dlg->cboRotate, 0},       {dlg->cboVideoBitrate, 1},
                 {dlg->cboSize, 1},         {dlg->cboAudioBitrate, 2}, {dlg->cboAudioSample, 2},
                 {dlg->cboSubFont, 4},      {dlg->cboSubcp, 4}};
    for (const List &l : lists) {
        SCOPED_TRACE(l.list->objectName().toStdString());
        dlg->tabMn->setTabNow(l.page);
        ASSERT_TRUE(l.list->isEnabled() && l.list->isVisible());
        ASSERT_GE(l.list->count(), 2);
        l.list->setCurrentIndex(0);
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            l.list->setFocus();
            l.list->showPopup();
            QWidget *popup = QApplication::activePopupWidget();
            ASSERT_TRUE(popup);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
            QTest::keyClick(popup->windowHandle(), Qt::Key_Down);
            QTest::keyClick(popup->windowHandle(), key);
            EXPECT_FALSE(QApplication::activePopupWidget());
            EXPECT_TRUE(dlg->isVisible());
            EXPECT_FALSE(main.widget.isEnabled());
            EXPECT_EQ(l.list->currentIndex(), key == Qt::Key_Escape ? 0 : 1);
            EXPECT_EQ(dlg->txtExpand[0]->text(), QStringLiteral("9"));
        }
    }
    dlg->optSub[0]->click();
    dlg->SetSubSetting(false);

    // No list open: the key reaches the dialog from a closed list, a box or a skinned
    // button; the size and range boxes keep their own Enter.
    struct Key {
        QWidget *focus;
        int page;
        Qt::Key key;
        bool closes;
        const char *border;  // afterwards
    } keys[] = {{dlg->txtSize[0], 1, Qt::Key_Return, false, "9"},
                {dlg->txtScope[0], 0, Qt::Key_Return, false, "9"},
                {dlg->cboRotate, 0, Qt::Key_Escape, true, "0"},
                {dlg->txtExpand[2], 1, Qt::Key_Escape, true, "0"},
                {dlg->cmdOkCancel[0], 1, Qt::Key_Escape, true, "0"},
                {dlg->cboAudioSample, 2, Qt::Key_Return, true, "9"},
                {dlg->txtExpand[2], 1, Qt::Key_Enter, true, "9"},
                {dlg->cmdOkCancel[1], 1, Qt::Key_Return, true, "9"}};
    for (const Key &k : keys) {
        SCOPED_TRACE(k.focus->objectName().toStdString());
        if (!dlg->isVisible())
            dlg->showForSettings(QStringLiteral("/src.avi"));
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg));
        dlg->txtExpand[0]->setText(QStringLiteral("9"));
        dlg->tabMn->setTabNow(k.page);
        k.focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), k.focus);
        QTest::keyClick(dlg->windowHandle(), k.key, k.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(dlg->isVisible(), !k.closes);
        EXPECT_EQ(main.widget.isEnabled(), k.closes);
        EXPECT_EQ(dlg->txtExpand[0]->text(), QLatin1String(k.border));
    }
}

// ---------------------------------------------------------------- languages

TEST_F(FrmOptionsTest, ChineseTakesTheFaceOfItsScript)
{
    struct Case {
        const char *code, *face;
    } cases[] = {{"tw", "Noto Sans CJK TC"}, {"gb", "Noto Sans CJK SC"}, {"en", "Noto Sans CJK TC"}};
    const QString chinese = QString::fromUtf8("不翻轉，不旋轉。");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        main.language = QLatin1String(c.code);
        ASSERT_TRUE(loadLanguageTable(main.language));
        dlg->applyLanguage();
        // The tab captions are Chinese in every language; in Chinese every control is.
        EXPECT_EQ(testenv::facesOf(chinese, dlg->tabMn->TabCapFont()), QStringList{QLatin1String(c.face)});
        if (main.language != QLatin1String("en")) {
            for (QWidget *w : {static_cast<QWidget *>(dlg->cboRotate), static_cast<QWidget *>(dlg->lblRotateStr2),
                               static_cast<QWidget *>(dlg->cmdOkCancel[0]), static_cast<QWidget *>(dlg->optAudio[0])})
                EXPECT_EQ(testenv::facesOf(chinese, w->font()), QStringList{QLatin1String(c.face)})
                    << w->objectName().toStdString();
        }
        // English keeps Arial (its stand-in) for its text.
        if (main.language == QLatin1String("en")) {
            EXPECT_EQ(testenv::facesOf(QStringLiteral("OK"), dlg->cmdOkCancel[0]->font()), QStringList{"Liberation Sans"});
        }
    }
    main.language = QStringLiteral("en");
}

// The frame-rate box shows "same as the source" whole and from its start, the rotation
// box each of its items, in every language, and the picture beside them gives way.
TEST_F(FrmOptionsTest, FrameRateBoxShowsItsLongestItemWhole)
{
    for (const char *code : {"en", "tw", "gb"}) {
        SCOPED_TRACE(code);
        main.language = QLatin1String(code);
        ASSERT_TRUE(loadLanguageTable(main.language));
        dlg->applyLanguage();
        dlg->setCboFpsItem(false);
        dlg->cboFps->setCurrentIndex(0);
        QLineEdit *edit = dlg->cboFps->lineEdit();
        ASSERT_EQ(edit->text(), lng[txt::SameAsSource]);
        EXPECT_LE(QFontMetrics(edit->font()).horizontalAdvance(edit->text()), edit->width() - 4);
        EXPECT_EQ(edit->cursorPosition(), 0);
        EXPECT_LE(dlg->imgFun->geometry().right(), dlg->picOrvexTab[0]->width());
        // So does the rotation box every item of its list, the long quarter turns too.
        dlg->setCboRotateItem(false);
        for (int i = 0; i < dlg->cboRotate->count(); ++i) {
            dlg->cboRotate->setCurrentIndex(i);
            QStyleOptionComboBox opt;
            opt.initFrom(dlg->cboRotate);
            opt.currentText = dlg->cboRotate->currentText();
            const QRect field = dlg->cboRotate->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                                        QStyle::SC_ComboBoxEditField, dlg->cboRotate);
            EXPECT_LE(QFontMetrics(dlg->cboRotate->font()).horizontalAdvance(opt.currentText), field.width())
                << opt.currentText.toStdString();
        }
        EXPECT_LE(dlg->cboRotate->geometry().right(), dlg->picOrvexTab[0]->width());
        // The picture beside them gives way, or steps aside.
        for (QWidget *box : {static_cast<QWidget *>(dlg->cboFps), static_cast<QWidget *>(dlg->cboRotate)})
            EXPECT_TRUE(dlg->imgFun->isHidden() || dlg->imgFun->x() > box->geometry().right());
        dlg->tabMn->setTabNow(0);
        saveShot(dlg, (QStringLiteral("options_main_page_") + main.language).toLatin1().constData());
    }
    main.language = QStringLiteral("en");
}
