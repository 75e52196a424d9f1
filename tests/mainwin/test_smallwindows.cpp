// The splash and its fade, the about, donation and developer windows, the closing order
// and the walking figure, offscreen and through the prompt seam.
#include "core/cmdoutput.h"
#include "core/devconsole.h"
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "core/systeminfo.h"
#include "core/toolpaths.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmdevcmd.h"
#include "mainwin/frmdonation.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmsplash.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace mdlMavrell;

namespace {

std::string s(const QString &q) { return q.toStdString(); }

void writeText(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Collects the addresses the windows hand to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher()
    {
        for (const char *scheme : {"https", "http", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override
    {
        for (const char *scheme : {"https", "http", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QStringList opened;
public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

// Runs f as soon as the modal loop that follows has started.
void whenModal(std::function<void()> f) { QTimer::singleShot(0, qApp, std::move(f)); }

class SmallWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        prog.activate();
        showDosOutput = false;
        mainFormShown = false;
        ASSERT_TRUE(loadLanguageTable(QStringLiteral("en")));
    }
    void TearDown() override
    {
        unloadFrmSplash();
        unloadFrmAbout();
        unloadFrmMoney();
        unloadFrmOutput();
        destroyFrmMain();
        devconsole::install(nullptr);
        showDosOutput = false;
        mainFormShown = false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    testenv::ProgramDir prog;
    ScriptedPrompts prompts;
};

} // namespace

// ---------------------------------------------------------------- splash

TEST(SplashFade, AlphaPerHandledTick)
{
    struct Case {
        int firstSeen;
        std::vector<std::pair<int, int>> tickAlpha;  // tick, alpha set on it
    };
    const Case cases[] = {
        {20, {{20, 0}, {30, 25}, {120, 250}, {121, 252}, {122, 255}, {125, 255}}},
        {1, {{1, 0}, {120, 250}, {121, 252}, {122, 254}, {123, 255}}},
        {119, {{119, 0}, {120, 250}, {121, 255}}},
        // Seen only at the end: no fade at all, the splash's close makes it opaque.
        {120, {{120, -1}, {121, -1}, {125, -1}}},
    };
    for (const Case &c : cases) {
        splash::FadeState st;
        std::map<int, int> got;
        for (int t = 1; t <= 125; ++t)
            got[t] = splash::fadeTick(st, t >= c.firstSeen);
        EXPECT_EQ(st.firstTick, c.firstSeen);
        for (auto [tick, alpha] : c.tickAlpha)
            EXPECT_EQ(got[tick], alpha) << "first seen " << c.firstSeen << ", tick " << tick;
        for (int t = 1; t < c.firstSeen; ++t)
            EXPECT_EQ(got[t], -1);
    }
    splash::FadeState one;
    splash::fadeTick(one, true);
    EXPECT_FLOAT_EQ(one.step, 2.1008403f);
    for (int t = 2; t <= 125; ++t)
        splash::fadeTick(one, true);
    EXPECT_FALSE(splash::finished(one));
    splash::fadeTick(one, true);
    EXPECT_TRUE(splash::finished(one));
}

TEST(SplashFade, MarqueeLanguage)
{
    struct Case {
        bool exists;
        const char *text, *locale;
        bool chinese;
    };
    const Case cases[] = {
        {true, "MainLeft=1\r\nLanguage=tw\r\n", "en", true},
        {true, "Language=gb\r\n", "tw", false},
        {true, "Language=en\r\n", "tw", false},
        {true, "language=tw\r\n", "tw", false},  // the key in another letter case
        {true, "", "tw", false},
        {false, "", "tw", true},
        {false, "", "gb", false},
        {false, "", "en", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(splash::chineseMarquee(c.exists, QString::fromUtf8(c.text), QString::fromLatin1(c.locale)), c.chinese)
            << c.text << " / " << c.locale;
    EXPECT_EQ(splash::englishText().split("\r\n").size(), 10);
    EXPECT_EQ(splash::chineseText().split("\r\n").size(), 10);
    EXPECT_FALSE(splash::englishText().endsWith("\r\n"));
}

TEST_F(SmallWindows, SplashFadesTheMainWindowInAndClosesAfterItsLastTick)
{
    writeText(prog.appDir() + "Mavrell.ini", "Language=tw\r\n");
    FrmMain &main = frmMain();
    FrmSplash &sp = frmSplash();
    EXPECT_TRUE(sp.showsChinese());
    EXPECT_TRUE(sp.lblMarquee->text().startsWith(QStringLiteral("歡迎您使用 Orvex")));
    EXPECT_TRUE(sp.timeMarquee.isActive());
    EXPECT_EQ(sp.timeMarquee.interval(), 25);
    EXPECT_TRUE(sp.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(main.windowOpacity(), 0.0);  // hidden until the fade

    const int top = sp.lblMarquee->y();
    for (int t = 1; t < 20; ++t)
        sp.timeMarquee_Timer();
    EXPECT_EQ(main.windowOpacity(), 0.0);  // not yet seen shown: no fade
    mainFormShown = true;
    for (int t = 20; t <= 30; ++t)
        sp.timeMarquee_Timer();
    EXPECT_NEAR(main.windowOpacity(), 25 / 255.0, 0.003);
    EXPECT_EQ(sp.lblMarqueeTop(), -30);  // one twip a tick
    EXPECT_EQ(sp.lblMarquee->y(), top - 2);

    for (int t = 31; t <= 125; ++t)
        sp.timeMarquee_Timer();
    ASSERT_TRUE(frmSplashLoaded());
    sp.timeMarquee_Timer();  // tick 126
    EXPECT_FALSE(frmSplashLoaded());
    EXPECT_EQ(main.windowOpacity(), 1.0);
}

TEST_F(SmallWindows, SplashNeverSeeingTheMainWindowStillEndsWithItOpaque)
{
    FrmMain &main = frmMain();
    FrmSplash &sp = frmSplash();
    EXPECT_EQ(sp.showsChinese(), mdlLocaleLng::GetLocaleLng() == "tw");  // no settings file
    for (int t = 1; t <= 126; ++t)
        if (frmSplashLoaded())
            sp.timeMarquee_Timer();
    EXPECT_FALSE(frmSplashLoaded());
    EXPECT_EQ(main.windowOpacity(), 1.0);
}

TEST_F(SmallWindows, AClickOnTheSplashOrTheMainWindowClosesIt)
{
    FrmMain &main = frmMain();
    struct Case {
        const char *what;
        std::function<void()> click;
    };
    const Case cases[] = {
        {"splash text", [] { QTest::mouseClick(frmSplash().lblMarquee, Qt::RightButton); }},
        {"splash picture", [] { QTest::mouseClick(&frmSplash(), Qt::LeftButton, {}, QPoint(5, 5)); }},
        {"main window", [&] { QTest::mousePress(&main, Qt::LeftButton, {}, QPoint(300, 60)); }},
        {"title-bar button", [&] { main.lblButton_Click(2); }},
    };
    for (const Case &c : cases) {
        frmSplash().show();
        ASSERT_EQ(main.windowOpacity(), 0.0) << c.what;
        c.click();
        EXPECT_FALSE(frmSplashLoaded()) << c.what;
        EXPECT_EQ(main.windowOpacity(), 1.0) << c.what;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.showNormal();
    }
}

// ---------------------------------------------------------------- about and donation

TEST_F(SmallWindows, AboutBoxInEachLanguageWithItsLinks)
{
    UrlCatcher urls;
    for (const char *code : {"en", "tw", "gb"}) {
        ASSERT_TRUE(loadLanguageTable(QString::fromLatin1(code)));
        FrmAbout &box = frmAbout();
        EXPECT_EQ(box.lblVersion->text(), QString(lng[txt::VersionLine]).replace("aaa", "1.8.2")) << code;
        EXPECT_TRUE(box.lblVersion->text().contains("1.8.2"));
        EXPECT_FALSE(box.lblVersion->text().contains("aaa"));
        EXPECT_EQ(s(box.lblTitle->text()), "Mavrell");
        EXPECT_EQ(box.lblTitleNote[1]->text(), lng[txt::AboutConverts]);
        EXPECT_EQ(box.cmdOK->text(), lng[txt::CloseWord]);
        // The links follow their captions, whatever their length.
        EXPECT_EQ(box.lblHomepage->x(), box.lblWebTxt->x() + box.lblWebTxt->width() + 5) << code;
        EXPECT_EQ(box.lblMail->x(), box.lblMailTxt->x() + box.lblMailTxt->width() + 5) << code;
        EXPECT_FALSE(box.picIcon->pixmap().isNull());
        unloadFrmAbout();
    }
    FrmAbout &box = frmAbout();
    QTest::mouseClick(box.lblHomepage, Qt::LeftButton);
    QTest::mouseClick(box.lblMail, Qt::LeftButton);
    EXPECT_EQ(urls.opened, (QStringList{QString::fromLatin1(smallwin::homePage) + "index.html",
                                        QStringLiteral("mailto:") + smallwin::authorMail}));
}

TEST_F(SmallWindows, HelpMenuShowsTheBoxesModalAndOkUnloadsThem)
{
    FrmMain &main = frmMain();
    bool sawAbout = false, sawMoney = false;
    whenModal([&] {
        sawAbout = frmAboutLoaded() && frmAbout().isVisible() && frmAbout().isModal()
                   && frmAbout().parentWidget() == &main;
        QTest::mouseClick(frmAbout().cmdOK, Qt::LeftButton);
    });
    main.mnuAbout->trigger();
    EXPECT_TRUE(sawAbout);
    EXPECT_FALSE(frmAboutLoaded());

    UrlCatcher urls;
    whenModal([&] {
        FrmMoney &box = frmMoney();
        EXPECT_TRUE(box.isVisible() && box.isModal());
        EXPECT_EQ(s(box.txtMoney->toPlainText()), s(QString(lng[txt::HowToDonate]).replace("\r\n", "\n")));
        EXPECT_EQ(box.lblDonation->text(), lng[txt::DonationText]);
        EXPECT_EQ(box.lblMailTxt->text(), lng[txt::EmailWord]);
        EXPECT_EQ(box.cmdOK->text(), lng[txt::CloseWord]);
        EXPECT_EQ(box.lblMail->x(), box.lblMailTxt->x() + box.lblMailTxt->width() + 5);
        EXPECT_FALSE(box.txtPayPal->text().isEmpty());
        sawMoney = true;
        QTest::mouseClick(box.lblMail, Qt::LeftButton);
        box.close();  // the window's own close works like OK
    });
    main.mnuMoney->trigger();
    EXPECT_TRUE(sawMoney);
    EXPECT_FALSE(frmMoneyLoaded());
    EXPECT_EQ(urls.opened, QStringList{QStringLiteral("mailto:") + smallwin::authorMail});
    // The lines of the payment details are lines, not "\n" marks.
    EXPECT_FALSE(lng[txt::HowToDonate].contains("\\n"));
}

// ---------------------------------------------------------------- developer window

TEST_F(SmallWindows, ReviewHandsOverTheEditedCommandOnlyOnConfirm)
{
    FrmMain &main = frmMain();
    const QString cmd = QStringLiteral("/p/OrvexRes2 \"/v/a.avi\" -o \"/v/a.mpg\"");
    struct Case {
        const char *what;
        std::function<void(FrmOutput &)> act;
        QString expected;
    };
    const Case cases[] = {
        {"confirm edited",
         [](FrmOutput &w) {
             QTest::mouseClick(w.txtOutput->viewport(), Qt::LeftButton);
             QTest::keyClick(w.txtOutput, Qt::Key_End, Qt::ControlModifier);
             QTest::keyClicks(w.txtOutput, " -quiet");
             QTest::mouseClick(w.cmdOkCancel[0], Qt::LeftButton);
         },
         cmd + " -quiet"},
        {"confirm as it stands", [](FrmOutput &w) { QTest::mouseClick(w.cmdOkCancel[0], Qt::LeftButton); }, cmd},
        {"cancel", [](FrmOutput &w) { QTest::mouseClick(w.cmdOkCancel[1], Qt::LeftButton); }, QString()},
        {"close", [](FrmOutput &w) { w.close(); }, QString()},
        {"escape", [](FrmOutput &w) { QTest::keyClick(&w, Qt::Key_Escape); }, QString()},
    };
    for (const Case &c : cases) {
        showDosOutput = true;
        main.chkCheckCmdTag = QStringLiteral("left from before");
        bool shown = false;
        prompts.windowActions.push_back([&](QDialog &d) {
            FrmOutput &w = frmOutput();
            shown = &d == &w && w.isVisible() && w.isModal() && w.txtOutput->toPlainText() == cmd;
            c.act(w);
        });
        EXPECT_EQ(FrmOutput::reviewCommand(&main, cmd), c.expected) << c.what;
        EXPECT_TRUE(shown) << c.what;
        EXPECT_EQ(main.chkCheckCmdTag, c.expected) << c.what;
        EXPECT_FALSE(frmOutputLoaded()) << c.what;
        EXPECT_FALSE(showDosOutput) << c.what;  // unloading ends the console mode
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(SmallWindows, DeveloperWindowLayoutAndLoad)
{
    FrmOutput &w = frmOutput();
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    w.show();
    EXPECT_TRUE(w.txtOutput->toPlainText().isEmpty());
    EXPECT_EQ(w.cmdOkCancel[0]->text(), QStringLiteral("確定命令列"));
    EXPECT_EQ(w.cmdOkCancel[1]->text(), QStringLiteral("取消命令列"));
    for (QSize size : {QSize(760, 480), QSize(300, 200), QSize(1000, 90)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.txtOutputSpec->geometry(), QRect(0, 0, size.width(), w.txtOutputSpec->height()));
        EXPECT_EQ(w.cmdOkCancel[0]->y(), w.txtOutputSpec->height());
        EXPECT_EQ(w.txtOutput->y(), w.cmdOkCancel[0]->y() + w.cmdOkCancel[0]->height());
        EXPECT_EQ(w.txtOutput->width(), size.width());
        const int rest = size.height() - w.txtOutputSpec->height() - w.cmdOkCancel[0]->height() - 7;
        EXPECT_EQ(w.txtOutput->height(), std::max(rest, 0)) << size.width() << "x" << size.height();
    }
    // Both header lines show, also above the scroll bar of a command line wider than the box.
    w.resize(760, 480);
    w.setCommand(QStringLiteral("first line ") + QString(400, QLatin1Char('x')) + QStringLiteral("\nsecond line"));
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.txtOutputSpec->horizontalScrollBar()->isVisible());
    const QTextBlock second = w.txtOutputSpec->document()->findBlockByNumber(1);
    ASSERT_EQ(second.text(), QStringLiteral("second line"));
    const QRect shown = w.txtOutputSpec->viewport()->rect();
    for (const QTextBlock &b : {w.txtOutputSpec->document()->firstBlock(), second}) {
        const QRect line = w.txtOutputSpec->cursorRect(QTextCursor(b));
        EXPECT_TRUE(shown.contains(line)) << line.top() << ".." << line.bottom() << " in " << shown.bottom();
    }
}

TEST_F(SmallWindows, ConsoleModeMirrorsARealToolRunIntoTheWindow)
{
    FrmMain &main = frmMain();
    main.Form_Load();
    unloadFrmSplash();
    ASSERT_FALSE(frmOutputLoaded());
    showDosOutput = true;
    const QString cmd = prog.pluginPath(3) + QStringLiteral(" -hide_banner -version");
    const QString out = cmdoutput::GetCmdOutput(cmd);
    ASSERT_TRUE(out.contains("ffmpeg version")) << s(out.left(200));
    ASSERT_TRUE(frmOutputLoaded());  // created by the first mirrored text
    FrmOutput &w = frmOutput();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.txtOutputSpec->toPlainText().endsWith(cmd));
    EXPECT_TRUE(w.txtOutputSpec->toPlainText().startsWith(QStringLiteral("目前的路徑 = ")));
    EXPECT_EQ(w.txtOutput->toPlainText(), QString(out).replace("\r\n", "\n"));

    // Output added while the developer has text selected still goes at the end.
    w.txtOutput->selectAll();
    w.appendOutput("tail");
    EXPECT_TRUE(w.txtOutput->toPlainText().endsWith("tail"));

    // Closing the window ends the console mode; the next run is not mirrored.
    w.close();
    EXPECT_FALSE(showDosOutput);
    EXPECT_FALSE(frmOutputLoaded());
    cmdoutput::GetCmdOutput(cmd);
    EXPECT_FALSE(frmOutputLoaded());
}

TEST_F(SmallWindows, RightClickSwitchesTheConsoleOnlyInDeveloperMode)
{
    FrmMain &main = frmMain();
    main.Form_MouseDown(2, 0, 10, 10);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_FALSE(frmOutputLoaded());

    writeText(prog.appDir() + "Quennet.ico", "");
    prompts.answer(prompts::Answer::Yes);
    QTest::mouseClick(&main, Qt::RightButton, {}, QPoint(300, 60));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), QStringLiteral("是否開啟 Dos 輸出視窗？"));
    EXPECT_TRUE(prompts.messages.last().buttons == prompts::Buttons::YesNo);
    EXPECT_TRUE(showDosOutput);
    EXPECT_TRUE(frmOutputLoaded() && frmOutput().isVisible());

    prompts.answer(prompts::Answer::No);
    main.Form_MouseDown(2, 0, 10, 10);
    EXPECT_FALSE(showDosOutput);
    EXPECT_FALSE(frmOutputLoaded() && frmOutput().isVisible());
}

// ---------------------------------------------------------------- closing

TEST_F(SmallWindows, ClosingUnloadsTheSmallWindowsOnYesOnly)
{
    FrmMain &main = frmMain();
    main.Form_Load();
    main.show();
    frmOutput().show();
    showDosOutput = true;
    ASSERT_TRUE(frmSplashLoaded());
    const QString ini = prog.appDir() + "Mavrell.ini";
    QFile::remove(ini);

    prompts.answer(prompts::Answer::No);
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(frmSplashLoaded());
    EXPECT_TRUE(frmOutputLoaded());
    EXPECT_FALSE(QFile::exists(ini));

    prompts.answer(prompts::Answer::Yes);
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(frmSplashLoaded());
    EXPECT_EQ(main.windowOpacity(), 1.0);  // the splash's close leaves it opaque
    EXPECT_FALSE(frmOutputLoaded());
    EXPECT_FALSE(showDosOutput);
    EXPECT_TRUE(QFile::exists(ini));
    EXPECT_EQ(prompts.messages.size(), 2);
}

// ---------------------------------------------------------------- walking figure

TEST_F(SmallWindows, TheFigureTurnsOncePerCrossing)
{
    FrmMain &main = frmMain();
    const int left = main.lblEncodeNote->x();
    int turns = 0;
    int lastVisible = 0;
    for (int step = 0; step < 1000; ++step) {
        main.tmrFun_Timer();
        const bool right = !main.imgFun[0]->isHidden(), leftFacing = !main.imgFun[1]->isHidden();
        ASSERT_NE(right, leftFacing) << "exactly one figure shows, step " << step;
        const int now = right ? 0 : 1;
        if (now != lastVisible) {
            ++turns;
            // The figure that walked is back at its own start; the other one starts at its end.
            if (now == 1) {
                EXPECT_EQ(main.imgFun[0]->x(), left);
                EXPECT_GE(main.imgFun[1]->x() + main.imgFun[1]->width(), main.width() - 2);
            } else {
                EXPECT_EQ(main.imgFun[1]->x(), main.width() - main.imgFun[1]->width());
                EXPECT_LE(main.imgFun[0]->x(), left + 2);
            }
        }
        lastVisible = now;
        for (QLabel *f : main.imgFun)
            ASSERT_TRUE(f->x() >= left - 2 && f->x() + f->width() <= main.width() + 2) << step;
    }
    // 2 pixels a step over a walk of (width - figure - left): about one turn every 180 steps.
    const int walk = (main.width() - main.imgFun[0]->width() - left) / 2;
    EXPECT_NEAR(turns, 1000 / walk, 1);
}

#include "test_smallwindows.moc"
