// The options dialog as a window: its controls by name, the lists the main window
// asks for, language changes, OK's checks and pieces through the message seam, and
// Cancel after a rejected OK.
#include "controls/orvextab.h"
#include "controls/stylebutton.h"
#include "core/languagetable.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "engine/optionpresets.h"
#include "options/frmoptions.h"
#include "support/scriptedprompts.h"

#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace mdlMavrell;

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

void resetJob()
{
    resetSourceInfo();
    targetExt.clear();
    targetFormat.clear();
    targetIsAudio = false;
    actionWord.clear();
    outWidth = outHeight = 0;
    fpsText.clear();
    videoBitrateText.clear();
    audioBitrateText.clear();
    markIn = markOut = 0;
    scaleFilter.clear();
    colorFilter.clear();
    rotateFilter.clear();
    cropRect = {};
    subtitleOpts.clear();
    audioOpts.clear();
    encodeVolumeOpt.clear();
}

// A video job: an AVI target from a 640 x 480 source at 25 fps with sound.
void videoSource()
{
    srcWidth = 640;
    srcHeight = 480;
    srcFps = 25;
    srcLength = 10;
    srcDemuxer = QStringLiteral("avi");
    srcAudioCodec = QStringLiteral("mp3");
    srcAudioRate = 44100;
    srcAudioChannels = 2;
}

class FrmOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetJob();
        ASSERT_TRUE(loadLanguageTable(QStringLiteral("en")));
        setMainWindowLink(&main);
        dlg = &frmOptions();
        dlg->applyLanguage();
    }
    void TearDown() override
    {
        unloadFrmOptions();
        setMainWindowLink(nullptr);
        resetJob();
    }

    // The preset the engine gives the current job, applied as the source set-up does.
    void presetJob(const QString &format, const QString &ext)
    {
        targetFormat = format;
        targetExt = ext;
        videoSource();
        const engine::OptionPreset p = engine::presetCurrentJob(QStringLiteral(" AVI"), 322);
        dlg->applyPreset(p);
        dlg->SetMainEncodeNote(outWidth, outHeight);
    }

    FakeMain main;
    ScriptedPrompts prompts;
    FrmOptions *dlg = nullptr;
};

QStringList items(const QComboBox *c)
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
    EXPECT_EQ(dlg->lneCrSpec->x(), dlg->picCrSpec->width() / 2);
    EXPECT_EQ(dlg->cboAudioSample->count(), 7);
    EXPECT_EQ(dlg->cboSize->count(), 31);
    EXPECT_EQ(dlg->cboSize->itemText(2), lng[270] + lng[269]);
    // Unloading stops everything and a later use creates a fresh dialog.
    unloadFrmOptions();
    EXPECT_FALSE(frmOptionsLoaded());
    dlg = &frmOptions();
    EXPECT_TRUE(frmOptionsLoaded());
}

} // namespace
