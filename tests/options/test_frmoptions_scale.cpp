// The options dialog at scale 2 on a 1920 x 1080 screen (960 x 540 in the dialog's
// pixels, less than its own height): it fits the work area with OK and Cancel on it,
// Escape cancels and Enter confirms.
#include "controls/orvextab.h"
#include "controls/stylebutton.h"
#include "core/languagetable.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "engine/optionpresets.h"
#include "options/frmoptions.h"
#include "optionstestlang.h"
#include "support/scriptedprompts.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace mdlMavrell;

namespace {

// Before the application exists: scale 2 on one offscreen screen of 1920 x 1080.
const bool scaledScreen = [] {
    const auto file = std::filesystem::temp_directory_path() / ("mavrell-screen-" + std::to_string(getpid()) + ".json");
    std::ofstream(file) << R"({"screens":[{"name":"big","x":0,"y":0,"width":1920,"height":1080,)"
                        << R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
    qputenv("QT_SCALE_FACTOR", "2");
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + file.string().c_str());
    return true;
}();

class FakeMain : public MainWindowLink {
public:
    QWidget widget;
    QString note;
    QWidget *mainWidget() override { return &widget; }
    void setEncodeNote(const QString &text) override { note = text; }
    QString encodeNote() const override { return note; }
    QString languageCode() const override { return QStringLiteral("en"); }
    QString settingsButtonCaption() const override { return QStringLiteral("Settings"); }
    QString encodeButtonCaption() const override { return QStringLiteral("Start"); }
    void placeEncodeNote(bool) override {}
};

bool inside(const QRect &area, QWidget *w)
{
    return area.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

} // namespace

TEST(OptionsDialogAtScale2, FitsTheWorkAreaAndEscapeCancelsEnterConfirms)
{
    ASSERT_TRUE(scaledScreen);
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(work.size(), QSize(960, 540));
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2);
    FakeMain main;
    ScriptedPrompts prompts;
    setMainWindowLink(&main);
    ASSERT_TRUE(loadLanguageTable(QStringLiteral("en")));
    optionstest::resetJob();
    optionstest::videoSource();
    jobstate::jobSettings.targetFormat = QStringLiteral("DivX");
    jobstate::jobSettings.targetExt = QStringLiteral("avi");
    FrmOptions &dlg = frmOptions();
    dlg.applyLanguage();
    dlg.applyPreset(engine::presetJob(jobstate::sourceInfo, jobstate::jobSettings, QStringLiteral(" AVI")));
    jobstate::previewState.secPerSliderUnit = engine::secondsPerSliderUnit(jobstate::sourceInfo, 322);
    main.widget.setGeometry(200, 100, 580, 352);
    main.widget.show();

    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        SCOPED_TRACE(key == Qt::Key_Escape ? "Escape" : "Enter");
        dlg.showForSettings(QStringLiteral("/src.avi"));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        EXPECT_TRUE(work.contains(dlg.frameGeometry())) << dlg.frameGeometry().height();
        for (QWidget *w : {static_cast<QWidget *>(dlg.cmdOkCancel[0]), static_cast<QWidget *>(dlg.cmdOkCancel[1]),
                           static_cast<QWidget *>(dlg.tabMn), static_cast<QWidget *>(dlg.picOrvexTab[1]),
                           static_cast<QWidget *>(dlg.lblScopeNote)})
            EXPECT_TRUE(inside(work, w)) << w->objectName().toStdString();
        // The preview lost height, not its controls: the slider still lies under the picture.
        EXPECT_GE(dlg.imgSliderBG->y(), dlg.picPlayerContainer->y() + dlg.picPlayerContainer->height());
        EXPECT_LE(dlg.imgSliderBG->y() + dlg.imgSliderBG->height(), dlg.picPlayerFrame->height());
        if (const QString dir = qEnvironmentVariable("MAVRELL_SHOTS"); !dir.isEmpty())
            dlg.grab().save(dir + "/options_scale2.png");
        EXPECT_FALSE(main.widget.isEnabled());
        dlg.tabMn->setTabNow(1);
        dlg.cboVideoBitrate->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_TRUE(dlg.isHidden());
        EXPECT_TRUE(main.widget.isEnabled());
    }
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
    unloadFrmOptions();
    setMainWindowLink(nullptr);
}
