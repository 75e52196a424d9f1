// The main window offscreen: captions in every language, the settings file as the
// window reads and writes it, start-up and closing, and the status lines.
#include "controls/stylebutton.h"
#include "core/cpuload.h"
#include "core/keyvaluetext.h"
#include "core/mdlmavrell.h"
#include "core/systeminfo.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "engine/encodeprogress.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmmain_text.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"
#include "support/mediaprobe.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace mdlMavrell;

namespace {

std::string s(const QString &q) { return q.toStdString(); }

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeText(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every test gets its own program folder (the settings file lives there), scripted
// prompts and a new main window.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        prog.activate();
        jobstate::sourceInfo = {};
        w = &frmMain();
    }
    void TearDown() override
    {
        destroyFrmMain();
        jobstate::sourceInfo = {};
    }
    QString ini() const { return prog.appDir() + "Mavrell.ini"; }

    testenv::ProgramDir prog;
    ScriptedPrompts prompts;
    FrmMain *w = nullptr;
};

} // namespace

TEST_F(MainWindow, CaptionsFollowEachLanguage)
{
    struct Case {
        const char *code;
        const char *input, *encode, *stop, *avi, *changeVol, *sourceFolder, *help, *pathNote;
        const char *family;
    };
    const Case cases[] = {
        {"en", "Source", "Start Conversion", "Stop Conversion",
         "Choose a video and convert it to AVI  [XviD + MP3]", "Choose a file to change its volume: MPG、DAT、VOB",
         "Always save in: the source's folder", "Help topics", "No source chosen yet", "DejaVu Sans"},
        {"tw", "來源", "開始轉換", "停止轉換", "選擇影片，轉換為 AVI  [XviD + MP3]", "選擇MPG、DAT、VOB檔案，直接調整音量",
         "一律存放在：來源檔案所在的資料夾", "說明主題", "尚未選擇來源檔案", "Noto Sans CJK TC"},
        {"gb", "来源", "开始转换", "停止转换", "选择视频，转换为 AVI  [XviD + MP3]", "选择MPG、DAT、VOB文件，直接调整音量",
         "总是保存在：来源文件所在的文件夹", "帮助主题", "尚未选择来源文件", "Noto Sans CJK SC"},
    };
    for (const Case &c : cases) {
        w->applyLanguage(c.code);
        SCOPED_TRACE(c.code);
        EXPECT_EQ(s(w->languageCode()), c.code);
        EXPECT_EQ(s(w->cmdInput->Caption()), c.input);
        EXPECT_EQ(s(w->cmdEncode[0]->Caption()), c.encode);
        EXPECT_EQ(s(w->cmdEncode[1]->Caption()), c.stop);
        EXPECT_EQ(s(w->mnuSrcIsFileToAvi[1]->text()), c.avi);
        EXPECT_EQ(s(w->mnuSrcIsFileToChangeVol[0]->text()), c.changeVol);
        EXPECT_EQ(s(w->mnuTargetDefDir[0]->text()), c.sourceFolder);
        EXPECT_EQ(s(w->mnuHelp->text()), c.help);
        EXPECT_EQ(s(w->lblInput->text()), c.pathNote);
        EXPECT_EQ(s(w->cmdOpt->font().family()), c.family);
        // Exactly one language is checked, the one applied.
        EXPECT_EQ(w->mnuLngEN->isChecked(), c.code == std::string("en"));
        EXPECT_EQ(w->mnuLngTW->isChecked(), c.code == std::string("tw"));
        EXPECT_EQ(w->mnuLngGB->isChecked(), c.code == std::string("gb"));
        // The rest of the menus, joined pieces included.
        EXPECT_EQ(w->mnuSrcIsFileToMpg[4]->text(), lng[txt::ChooseVideoToConvert] + " MPG [MPEG2]  " + lng[txt::Recommended]);
        EXPECT_EQ(w->mnuSrcIsFileToAvi[4]->text(), lng[txt::ChooseVideoToConvert] + " AVI  [" + lng[txt::VideoUnchanged] + " + MP3]");
        EXPECT_EQ(w->mnuSrcIsFileToSound[6]->text(), lng[txt::ChooseFileToAudio] + " OGG");
        EXPECT_EQ(w->mnuSrcIsFileToFix[2]->text(), QString(lng[txt::ChooseFileToRepair]).replace("aaa", "AVI "));
        EXPECT_EQ(w->mnuTargetDefDir[1]->text(), lng[txt::AlwaysSaveIn] + w->mnuTargetDefDir1Tag);
        EXPECT_EQ(w->mnuToPlay[0]->text(), lng[txt::PlayNewFileTip]);
        EXPECT_EQ(w->mnuToPlay2->text(), lng[txt::PlayCurrentTarget]);
        EXPECT_EQ(w->mnuDlFamily[5]->text(), lng[txt::DownloadWord] + mainwin::familyProducts().value(9));
        EXPECT_EQ(w->lblMsgSay->text(), lng[txt::VisitBlog]);
        EXPECT_EQ(w->cmdInput->toolTip(), lng[txt::DragFileHere]);
        EXPECT_TRUE(w->mnuSrcIsFileToMpg[2]->isSeparator());
    }
    // The language popup keeps the languages' own names.
    EXPECT_EQ(s(w->mnuLngTW->text()), "Chinese (Traditional)");
}

TEST_F(MainWindow, StartUpCreatesTheOptionsDialogHiddenInTheSameLanguage)
{
    writeText(ini(), "Language=gb\r\n");
    w->Form_Load();
    EXPECT_TRUE(frmOptions().isHidden());
    EXPECT_EQ(s(frmOptions().cmdOkCancel[0]->Caption()), s(lng[txt::OkWord]));
    w->mnuLngTW_Click();
    EXPECT_EQ(s(frmOptions().cmdOkCancel[0]->Caption()), "確定");
}

TEST_F(MainWindow, TheOptionsListsKeepTheUsersChoiceAcrossALanguageChange)
{
    w->Form_Load();
    w->applyLanguage("en");
    FrmOptions &o = frmOptions();
    o.setCboFpsItem(false);
    o.cboFps->setCurrentIndex(0);  // entry 055, same as the source
    w->applyLanguage("tw");
    EXPECT_EQ(o.cboFps->currentIndex(), 0);
    EXPECT_EQ(s(o.cboFps->currentText()), "與來源影音相同");

    o.cboFps->setCurrentIndex(-1);
    o.cboFps->setEditText("17.5");  // typed by the user, no item
    w->applyLanguage("gb");
    EXPECT_EQ(s(o.cboFps->currentText()), "17.5");
}

TEST_F(MainWindow, TheLanguagesHelpFileReplacesTheOldOne)
{
    w->Form_Load();
    ASSERT_EQ(w->helpPath, prog.appDir() + "help.chm");
    QDir(prog.appDir()).mkpath("help");
    writeText(prog.appDir() + "help/help_tw.chm", "tw help");
    w->applyLanguage("tw");
    EXPECT_EQ(s(readText(w->helpPath)), "tw help");
    w->applyLanguage("gb");  // no help for this language: the old file stays
    EXPECT_EQ(s(readText(w->helpPath)), "tw help");
}

TEST_F(MainWindow, AnExistingSourceKeepsItsPathAcrossALanguageChange)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("clip one.avi");
    writeText(src, "x");
    w->applyLanguage("en");
    w->lblInput->setText(src);
    w->lblOutput->setText(dir.filePath("clip one.mpg"));
    w->applyLanguage("tw");
    EXPECT_EQ(w->lblInput->text(), src);
    EXPECT_EQ(w->lblOutput->text(), dir.filePath("clip one.mpg"));

    QFile::remove(src);  // the source went away: both labels say so again
    w->applyLanguage("gb");
    EXPECT_EQ(s(w->lblInput->text()), "尚未选择来源文件");
    EXPECT_EQ(s(w->lblOutput->text()), "尚未选择目标文件");
}

TEST_F(MainWindow, SettingsFileRulesOnOddFiles)
{
    QTemporaryDir folder;
    const QString existing = folder.path();  // written without its trailing "/"
    const QString home = QDir::homePath() + "/";
    const QSize screen = w->screen()->geometry().size();
    const int centreX = (screen.width() * 15 - w->width() * 15) / 2 / 15;
    const int centreY = (screen.height() * 15 - w->height() * 15) / 2 / 15;
    const int rightmost = screen.width() - w->width();
    const QString locale = mdlLocaleLng::GetLocaleLng();

    struct Case {
        QByteArray file;
        int x, y;
        QString language;
        bool fixedFolder;
        QString folder;
    };
    const Case cases[] = {
        {"MainLeft=1500\r\nMainTop=600\r\nLanguage=gb\r\nTargetDefDirMode=1\r\nTargetDefDir=" + existing.toUtf8() + "\r\n",
         100, 40, "gb", true, existing + "/"},
        {"  MAINLEFT=1500  \nmaintop=600\nLANGUAGE=tw\n", 100, 40, "tw", false, home},
        {"MainLeft =1500\r\nMainTop = 600\r\n", centreX, centreY, locale, false, home},
        {"MainLeft=99999999\r\nMainTop=-30\r\n", rightmost, 0, locale, false, home},
        {"Language=fr\r\n", centreX, centreY, locale, false, home},
        {"Language=\r\n", centreX, centreY, locale, false, home},
        {"Language=TW\r\n", centreX, centreY, "tw", false, home},
        {"Language=Gb\r\n", centreX, centreY, "gb", false, home},
        {"Language=gb\r\nLanguage=en\r\n", centreX, centreY, "en", false, home},
        {"Language=gb\r\nLanguage=fr\r\n", centreX, centreY, "gb", false, home},  // the last code of ours
        {"TargetDefDirMode=2\r\nTargetDefDir=/no/such/folder\r\n", centreX, centreY, locale, false, home},
        {"TargetDefDirMode=1\r\nTargetDefDir=\r\n", centreX, centreY, locale, true, home},
        {"garbage\r\n\r\n=\r\nColour=red\r\n", centreX, centreY, locale, false, home},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        destroyFrmMain();
        w = &frmMain();
        writeText(ini(), c.file);
        w->loadSettings();
        EXPECT_EQ(w->iniPath, ini());
        EXPECT_EQ(w->x(), c.x);
        EXPECT_EQ(w->y(), c.y);
        EXPECT_EQ(w->languageCode(), c.language);
        EXPECT_FALSE(lng[txt::SourceWord].isEmpty());  // never a blank window
        EXPECT_EQ(w->mnuTargetDefDir[1]->isChecked(), c.fixedFolder);
        EXPECT_EQ(w->mnuTargetDefDir[0]->isChecked(), !c.fixedFolder);
        EXPECT_EQ(w->mnuTargetDefDir1Tag, c.folder);
    }
}

// A file of repeated lines: the language is applied once, after the file is read (the
// help file of a language applied on the way would have been copied), and applying
// languages again and again leaves the progress boxes' fonts as after the first time.
TEST_F(MainWindow, RepeatedLinesApplyTheLanguageOnce)
{
    QDir(prog.appDir()).mkpath("help");
    writeText(prog.appDir() + "help/help_tw.chm", "tw help");
    QByteArray file;
    for (int i = 0; i < 5000; ++i)
        file += "Language=tw\r\nMainLeft=1500\r\n";
    file += "Language=gb\r\n";
    writeText(ini(), file);
    w->Form_Load();
    EXPECT_EQ(s(w->languageCode()), "gb");
    EXPECT_EQ(w->x(), 100);
    EXPECT_FALSE(QFile::exists(w->helpPath)) << "a language of the file was applied before the last";

    std::vector<QStringList> families;
    for (const char *code : {"tw", "gb", "en", "tw", "gb", "en"}) {
        w->applyLanguage(code);
        families.push_back(w->picProgress->font().families());
        EXPECT_EQ(w->picEncodeEsti->font().families(), families.back()) << code;
        EXPECT_EQ(families.back().removeDuplicates(), 0) << code;
    }
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(families[i + 3], families[i]) << s(families[i + 3].join(", "));
    EXPECT_EQ(families[0].first(), "Verdana");
}

// A file grown far beyond its lines is read only in its first lines: the start does
// not wait for it, and a line cut at the limit counts for nothing.
TEST_F(MainWindow, AHugeSettingsFileIsReadInItsFirstLines)
{
    QByteArray file = "MainLeft=1500\r\nLanguage=gb\r\n";
    while (file.size() < 3 * (1 << 20))
        file += "Colour=red\r\n";
    file += "Language=tw\r\n";
    writeText(ini(), file);
    w->loadSettings();
    EXPECT_EQ(w->x(), 100);
    EXPECT_EQ(s(w->languageCode()), "gb");

    // The limit falls inside a line: "MainLeft=15" of "MainLeft=1500" is no position.
    const QByteArray head = "MainLeft=600\r\n";
    const qsizetype prefix = keyvaluetext::maxFileBytes - 11;
    writeText(ini(), head + QByteArray(prefix - head.size() - 2, 'x') + "\r\nMainLeft=1500\r\n");
    w->loadSettings();
    EXPECT_EQ(w->x(), 40);
}

TEST_F(MainWindow, SavedSettingsReadBackWhole)
{
    QTemporaryDir folder;
    writeText(ini(), "Colour=red\r\nMainLeft=1500\r\nMainTop=600\r\nLanguage=tw\r\n");
    w->loadSettings();
    w->mnuTargetDefDir[0]->setChecked(false);
    w->mnuTargetDefDir[1]->setChecked(true);
    w->mnuTargetDefDir1Tag = folder.path() + "/";
    ASSERT_TRUE(w->saveSettings());
    // Five lines, in their order, CR LF; other keys are not kept.
    EXPECT_EQ(readText(ini()), "MainLeft=1500\r\nMainTop=600\r\nLanguage=tw\r\nTargetDefDirMode=1\r\nTargetDefDir="
                                   + folder.path() + "/\r\n");

    destroyFrmMain();
    w = &frmMain();
    w->loadSettings();
    EXPECT_EQ(w->pos(), QPoint(100, 40));
    EXPECT_EQ(s(w->languageCode()), "tw");
    EXPECT_TRUE(w->mnuTargetDefDir[1]->isChecked());
    EXPECT_EQ(w->mnuTargetDefDir1Tag, folder.path() + "/");
    EXPECT_EQ(w->mnuTargetDefDir[1]->text(), lng[txt::AlwaysSaveIn] + folder.path() + "/");
}

TEST_F(MainWindow, FirstStartWritesTheSettingsAndASecondLeavesThem)
{
    ASSERT_FALSE(QFile::exists(ini()));
    w->Form_Load();
    EXPECT_FALSE(w->iniExistedAtStart());
    const QString written = readText(ini());
    const QString expected = "MainLeft=" + QString::number(w->x() * 15) + "\r\nMainTop=" + QString::number(w->y() * 15)
                             + "\r\nLanguage=" + mdlLocaleLng::GetLocaleLng() + "\r\nTargetDefDirMode=0\r\nTargetDefDir="
                             + QDir::homePath() + "/\r\n";
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(w->tmrCPU.isActive());
    EXPECT_EQ(w->tmrCPU.interval(), 1000);
    EXPECT_TRUE(w->tmrFun.isActive());
    EXPECT_TRUE(w->cmdEncode[1]->isHidden());
    EXPECT_EQ(openFileFilter.size(), 997);
    EXPECT_EQ(openFileFilter.count('|'), 29);  // 15 description and pattern pairs
    EXPECT_TRUE(prompts.messages.isEmpty());   // no help file: nothing opens, nothing asked

    destroyFrmMain();
    writeText(ini(), "MainLeft=30\r\nLanguage=gb\r\n");
    w = &frmMain();
    w->Form_Load();
    EXPECT_TRUE(w->iniExistedAtStart());
    EXPECT_EQ(s(readText(ini())), "MainLeft=30\r\nLanguage=gb\r\n");
    EXPECT_EQ(s(w->languageCode()), "gb");
}

TEST_F(MainWindow, DeveloperControlsOnlyWithTheMarkerFile)
{
    w->Form_Load();
    for (QWidget *c : std::initializer_list<QWidget *>{w->cmdDelSrc, w->chkCheckAsfMci, w->chkCheckCmd, w->cboCmdEditSpec})
        EXPECT_TRUE(c->isHidden()) << s(c->objectName());

    destroyFrmMain();
    writeText(prog.appDir() + "Quennet.ico", "");
    w = &frmMain();
    w->Form_Load();
    for (QWidget *c : std::initializer_list<QWidget *>{w->cmdDelSrc, w->chkCheckAsfMci, w->chkCheckCmd, w->cboCmdEditSpec})
        EXPECT_FALSE(c->isHidden()) << s(c->objectName());
    EXPECT_EQ(w->cboCmdEditSpec->currentIndex(), 0);
}

TEST_F(MainWindow, ClosingAsksAndSavesOnlyOnYes)
{
    w->Form_Load();
    w->show();
    QFile::remove(ini());

    prompts.answer(prompts::Answer::No);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(QFile::exists(ini()));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].text, lng[txt::QuitQuestion]);
    EXPECT_EQ(prompts.messages[0].buttons, prompts::Buttons::YesNo);

    w->move(40, 60);
    prompts.answer(prompts::Answer::Yes);
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(readText(ini()).startsWith("MainLeft=600\r\nMainTop=900\r\n"));
}

TEST_F(MainWindow, ClosingStopsThePlayerAndUnloadsItOnYes)
{
    w->Form_Load();
    w->show();
    frmPlayer().show();
    ASSERT_TRUE(playerOpen);

    prompts.answer(prompts::Answer::No);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(frmPlayerLoaded());  // left open, stopped
    EXPECT_EQ(frmPlayer().myStatus, 5);

    prompts.answer(prompts::Answer::Yes);
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_FALSE(playerOpen);
}

TEST_F(MainWindow, NoCloseWhileTheWindowIsBusy)
{
    w->Form_Load();
    w->show();
    QFile::remove(ini());
    // A conversion runs (Stop shown), a file dialog is open (marker), a probe runs.
    const std::function<void(bool)> busy[] = {
        [&](bool on) { w->cmdEncode[1]->setVisible(on); },
        [&](bool on) { w->cmdInput->setTag(on ? "inUse" : ""); },
        [&](bool on) { w->cmdOutput->setTag(on ? "inUse" : ""); },
        [&](bool on) { w->lblEncodeNoteCheck->setVisible(on); },
        [&](bool on) { w->lblInputCheck->setVisible(on); },
    };
    for (const auto &set : busy) {
        set(true);
        EXPECT_FALSE(w->close());  // the window manager's close
        w->lblButton_Click(3);     // the title bar's close
        EXPECT_TRUE(w->isVisible());
        set(false);
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(ini()));

    // While a conversion runs only minimising works.
    w->cmdEncode[1]->show();
    w->lblButton_Click(2);
    EXPECT_TRUE(w->isMinimized());
    w->cmdEncode[1]->hide();
}

// A close asked for while the player opens a file the main window gave it (its probe
// lets events run) is not lost: it is carried out, with its question, once the file is open.
TEST_F(MainWindow, ACloseWhileThePlayerOpensAFileFollowsTheOpening)
{
    prog.fakeTool(1, "case \"$*\" in\n"
                     " *'-frames 0'*) exec perl -e 'select(undef, undef, undef, 1.5); exec @ARGV' "
                     "/usr/bin/mplayer \"$@\" -vo null -ao null ;;\n"
                     "esac\n"
                     "exec /usr/bin/mplayer \"$@\" -vo null -ao null\n");
    w->Form_Load();
    w->show();
    const std::pair<const char *, std::function<void()>> closes[] = {
        {"the title bar's close", [&] { w->lblButton_Click(3); }},
        {"the window manager's close", [&] { w->close(); }},
    };
    for (const auto &[how, close] : closes) {
        SCOPED_TRACE(how);
        w->lblInput->setText(testenv::fixture("long.avi"));
        prompts.messages.clear();
        prompts.answer(prompts::Answer::No);
        bool askedMeanwhile = true;
        QTimer::singleShot(300, w, [&] {
            close();
            askedMeanwhile = !prompts.messages.isEmpty();
        });
        w->mnuToPlay_Click(1);
        EXPECT_FALSE(askedMeanwhile);
        EXPECT_EQ(frmPlayer().myStatus, 1);  // the file opened and plays
        ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.messages.isEmpty(); }, 3000)) << "the close was lost";
        EXPECT_EQ(prompts.lastText(), lng[txt::QuitQuestion]);
        EXPECT_EQ(frmPlayer().myStatus, 5);  // stopped before the question
        EXPECT_TRUE(w->isVisible());         // and No keeps the window
    }
    unloadFrmPlayer();
}

TEST_F(MainWindow, HoverLinkOnlyOverTheTopStrip)
{
    w->applyLanguage("en");
    const float strip = float(w->cmdInput->y() + 10);
    struct Case { float x, y; bool shown; };
    const Case cases[] = {{20, 5, true}, {20, strip - 1, true}, {20, strip, false}, {0, 5, false}, {20, 0, false}};
    for (const Case &c : cases) {
        w->Form_MouseMove(0, 0, c.x, c.y);
        EXPECT_EQ(!w->lblMsgSay->isHidden(), c.shown) << c.x << "," << c.y;
        EXPECT_EQ(!w->imgMsgSay->isHidden(), c.shown);
    }
}

TEST_F(MainWindow, SourceInformationLines)
{
    w->applyLanguage("en");
    struct Case { int width, height; float length, fps; const char *size, *len; };
    const Case cases[] = {
        {320, 240, 3.5f, 25, "Source picture size: 320 x 240", "Source length: 00:00:04, frames per second: 25"},
        {720, 576, 2.5f, 29.97f, "Source picture size: 720 x 576", "Source length: 00:00:02, frames per second: 29.97"},
        {0, 0, 3725, 0, "Source picture size: unknown", "Source length: 01:02:05, frames per second: unknown"},
        {320, 240, 0, 25, "Source picture size: 320 x 240", "Source length: unknown, frames per second: unknown"},
    };
    for (const Case &c : cases) {
        jobstate::sourceInfo = testenv::sampleSource(c.width, c.height, c.length, {}, {}, c.fps);
        w->setVideoInfoNote();
        EXPECT_EQ(s(w->lblVideoSize->text()), c.size);
        EXPECT_EQ(s(w->lblVideoLen->text()), c.len);
    }
    // A language change rewrites them.
    w->applyLanguage("tw");
    EXPECT_EQ(s(w->lblVideoSize->text()), "來源畫面大小：320 x 240");
}

TEST_F(MainWindow, CpuLineNeverShowsANegativeLoad)
{
    w->applyLanguage("en");
    QTemporaryDir dir;
    const QString stat = dir.filePath("stat");
    writeText(stat, "cpu  100 0 100 800 0 0 0 0 0 0\n");
    w->cpuMeter = std::make_unique<cpuUsageNT>(stat);
    w->cpuMeter->Initialize();
    writeText(stat, "cpu  200 0 200 1400 0 0 0 0 0 0\n");
    w->tmrCPU_Timer();
    EXPECT_TRUE(w->lblEncodeEsti->text().startsWith("CPU load: 2"));  // a quarter of the time was busy
    EXPECT_TRUE(w->lblEncodeEsti->text().endsWith(" %"));

    QFile::remove(stat);  // unreadable counters: the meter says -1
    w->tmrCPU_Timer();
    EXPECT_EQ(s(w->lblEncodeEsti->text()), "CPU load: 0.0 %");
    EXPECT_EQ(s(mainwin::cpuLineText("-0.5")), "CPU load: 0.0 %");
    EXPECT_EQ(s(mainwin::cpuLineText("100")), "CPU load: 100 %");
}

TEST_F(MainWindow, RemainingTimeWhileARunGoesOn)
{
    w->applyLanguage("en");
    qint64 now = 1'000'000;
    w->tickSource = [&now] { return now; };
    auto printed = [&] { return s(w->picEncodeEsti->property("printed").toString()); };

    w->tmrCPU_Timer();  // no run: the time line stays as it was
    EXPECT_EQ(printed(), "");

    w->setProgressNote(0, "start", false);
    w->encodeStarted(now, encodeprogress::startEstimateText());
    EXPECT_FALSE(w->picEncodeEsti->isHidden());
    EXPECT_EQ(printed(), "Elapsed 00:00:00, at most ? min left");

    now += 30'000;
    w->setProgressNote(0.4f, "", false);
    w->tmrCPU_Timer();
    EXPECT_EQ(printed(), "Elapsed 00:00:30, at most ? min left");

    w->setProgressNote(10, "", false);
    w->tmrCPU_Timer();
    EXPECT_EQ(printed(), "Elapsed 00:00:30, at most 5 min left");
    EXPECT_EQ(s(w->picProgress->Tag), "10");

    now += 30'000;  // progress stands still: the estimate is kept
    w->tmrCPU_Timer();
    EXPECT_EQ(printed(), "Elapsed 00:01:00, at most 5 min left");

    w->encodeEnded();
    EXPECT_TRUE(w->picEncodeEsti->isHidden());
}

namespace {

// A grab to look at, when MAVRELL_SHOTS names a folder.
void saveShot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("MAVRELL_SHOTS");
    if (!dir.isEmpty())
        widget->grab().save(dir + "/" + name + ".png");
}

} // namespace

// The settings summary of a conversion shows whole in every language, centred on the
// settings button as long as it fits between the target path and the progress bar.
TEST_F(MainWindow, SettingsSummaryShowsWholeBesideTheSettingsButton)
{
    w->show();
    for (const char *code : {"en", "tw", "gb"}) {
        SCOPED_TRACE(code);
        w->applyLanguage(code);
        jobstate::sourceInfo = testenv::sampleSource(640, 480, 10, "avi", "mp3");
        jobstate::jobSettings.targetFormat = "DivX";
        jobstate::jobSettings.targetExt = "avi";
        jobstate::jobSettings.fpsText = "25";
        jobstate::jobSettings.scaleFilter = " -vf-add scale=640:480,expand=656:480:8:0:1";
        frmOptions().SetMainEncodeNote(640, 480);
        QLabel *note = w->lblEncodeNote;
        ASSERT_TRUE(note->text().contains(lng[txt::FinalPictureSize])) << s(note->text());
        EXPECT_LE(note->heightForWidth(note->width()), note->height());
        EXPECT_GT(note->y(), w->lblOutput->geometry().bottom());
        EXPECT_LT(note->geometry().bottom(), w->shpBlock->y());
        // Centred, unless that would reach into the progress bar or the target path.
        const int centred = (2 * w->cmdOpt->y() + w->cmdOpt->height() - note->height()) / 2 - 2;
        const int lowest = w->shpBlock->y() - 2 - note->height();
        EXPECT_EQ(note->y(), std::max(std::min(centred, lowest), w->lblOutput->geometry().bottom() + 3));
        // No divider line runs through the summary's text.
        const QImage shot = w->grab().toImage();
        const QRgb divider = qRgb(0xc3, 0xcf, 0xdb);
        for (int y = note->y(); y <= note->geometry().bottom(); ++y) {
            int run = 0, longest = 0;
            for (int x = note->x(); x <= note->geometry().right(); ++x) {
                run = shot.pixel(x, y) == divider ? run + 1 : 0;
                longest = std::max(longest, run);
            }
            EXPECT_LT(longest, 40) << "a line at y = " << y;
        }
        saveShot(w, QStringLiteral("main_summary_") + code);
    }
}

// A drag that starts on a label moves the window with the pointer (here there is no
// system move) and ends with the button.
TEST_F(MainWindow, DragFromALabelMovesTheWindowUntilTheButtonIsReleased)
{
    w->show();
    w->move(40, 30);
    const QPoint start = w->pos();
    for (QLabel *label : {static_cast<QLabel *>(w->lblEncodeNote), static_cast<QLabel *>(w->lblVideoLen)}) {
        SCOPED_TRACE(s(label->objectName()));
        w->move(start);
        const QPoint at(5, 5);
        const QPoint global = label->mapToGlobal(at);
        QTest::mousePress(label, Qt::LeftButton, {}, at);
        QTest::mouseMove(label, label->mapFromGlobal(global + QPoint(10, 4)));
        QTest::mouseMove(label, label->mapFromGlobal(global + QPoint(30, 20)));
        EXPECT_EQ(w->pos(), start + QPoint(30, 20));
        QTest::mouseRelease(label, Qt::LeftButton, {}, label->mapFromGlobal(global + QPoint(30, 20)));
        QTest::mouseMove(label, label->mapFromGlobal(global + QPoint(70, 50)));
        EXPECT_EQ(w->pos(), start + QPoint(30, 20));
    }
}

// Message boxes speak the chosen language on their buttons too.
TEST_F(MainWindow, MessageBoxButtonsFollowTheLanguage)
{
    struct Case {
        const char *code;
        const char *yes, *no, *face;
    };
    const Case cases[] = {{"en", "&Yes", "&No", "Noto Sans CJK TC"},
                          {"tw", "是(&Y)", "否(&N)", "Noto Sans CJK TC"},
                          {"gb", "是(&Y)", "否(&N)", "Noto Sans CJK SC"}};
    prompts::install(nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        w->applyLanguage(c.code);
        QString yes, no;
        QStringList faces;
        QTimer::singleShot(0, qApp, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            yes = box->button(QMessageBox::Yes)->text();
            no = box->button(QMessageBox::No)->text();
            if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
                faces = testenv::facesOf(QString::fromUtf8("不翻轉，不旋轉。"), label->font());
            saveShot(box, QStringLiteral("box_") + c.code);
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        });
        EXPECT_EQ(prompts::MsgBox(lng[txt::QuitQuestion], prompts::Buttons::YesNo), prompts::Answer::No);
        EXPECT_EQ(s(yes), c.yes);
        EXPECT_EQ(s(no), c.no);
        // Chinese in a box takes the glyph forms of the language's script.
        EXPECT_EQ(faces, QStringList{QLatin1String(c.face)}) << s(faces.join(','));
    }
    w->applyLanguage("en");
    prompts::install(&prompts);
}
