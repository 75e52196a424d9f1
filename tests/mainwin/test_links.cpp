// The help popup's web pages and mail, the hover link and the title bar's buttons,
// offscreen: every address handed to the desktop is caught, nothing really opens.
#include "controls/stylebutton.h"
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "coregui/drawing.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmmain_text.h"
#include "mainwin/frmsplash.h"
#include "player/frmplayer.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace mdlMavrell;

namespace {

std::string s(const QString &q) { return q.toStdString(); }

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher()
    {
        for (const char *scheme : {"https", "http", "mailto", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override
    {
        for (const char *scheme : {"https", "http", "mailto", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QStringList opened;
public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

class Links : public ::testing::Test {
protected:
    void SetUp() override
    {
        prog.activate();
        w = &frmMain();
        w->applyLanguage(QStringLiteral("en"));
    }
    void TearDown() override
    {
        for (QMenu *m : {w->mnuLanguage, w->mnuMainHelp})
            m->hide();
        destroyFrmMain();
        unloadFrmSplash();
    }
    QString takeOne()
    {
        const QString u = urls.opened.value(0);
        EXPECT_EQ(urls.opened.size(), 1) << s(urls.opened.join(' '));
        urls.opened.clear();
        return u;
    }

    testenv::ProgramDir prog;
    ScriptedPrompts prompts;
    UrlCatcher urls;
    FrmMain *w = nullptr;
};

} // namespace

TEST_F(Links, EachWebItemOpensItsPage)
{
    const QString site = QString::fromLatin1(smallwin::homePage);
    struct Case { QAction *item; QString url; };
    const Case cases[] = {
        {w->mnuLearn, site + "software/detail/Mavrell/"},
        {w->mnuNotice, site + "software/notice.htm"},
        {w->mnuUpdate, site + "software/detail/Mavrell.htm"},
        {w->mnuBlog, mainwin::blogPage()},
        {w->mnuVerNote, mainwin::versionNotePage()},
    };
    for (const Case &c : cases) {
        c.item->trigger();
        EXPECT_EQ(s(takeOne()), s(c.url)) << s(c.item->objectName());
    }
    // The version note is a page of the blog that names this version.
    EXPECT_TRUE(mainwin::versionNotePage().startsWith(mainwin::blogPage()));
    EXPECT_TRUE(mainwin::versionNotePage().contains(QString::fromLatin1(mainwin::versionText)));
    for (const QString &u : {site, mainwin::blogPage()})
        EXPECT_TRUE(QUrl(u).host().endsWith(".example")) << s(u);

    // The hover link is the blog.
    w->lblMsgSay->show();
    w->lblMsgSay_Click();
    EXPECT_EQ(s(takeOne()), s(mainwin::blogPage()));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(Links, TheTenSiblingItemsOpenTenValidPagesInMenuOrder)
{
    QStringList seen;
    for (QAction *a : w->mnuDlFamilyNew)
        a->trigger();
    for (QAction *a : w->mnuDlFamily)
        a->trigger();
    seen = urls.opened;
    ASSERT_EQ(seen.size(), 10);
    const QStringList names = mainwin::familyProducts();
    const QString prefix = QString::fromLatin1(smallwin::homePage) + "software/detail/";
    for (int i = 0; i < seen.size(); ++i) {
        const QUrl url(seen[i], QUrl::StrictMode);
        EXPECT_TRUE(url.isValid()) << s(seen[i]);
        EXPECT_TRUE(seen[i].startsWith(prefix) && seen[i].endsWith(".htm")) << s(seen[i]);
        EXPECT_FALSE(seen[i].contains(' ')) << s(seen[i]);
        // The page belongs to the product the item names.
        QString compact = names[i];
        compact.remove(' ');
        EXPECT_TRUE(seen[i].contains(compact)) << s(seen[i]);
        EXPECT_TRUE(w->mnuDownloadFamily->actions().contains(
            i < 4 ? w->mnuDlFamilyNew[size_t(i)] : w->mnuDlFamily[size_t(i - 4)]));
    }
    EXPECT_EQ(QSet<QString>(seen.begin(), seen.end()).size(), 10);

    // An index outside either array opens nothing.
    urls.opened.clear();
    for (int bad : {-1, 4, 99})
        w->mnuDlFamilyNew_Click(bad);
    for (int bad : {-1, 6})
        w->mnuDlFamily_Click(bad);
    EXPECT_EQ(mainwin::familyPage(10), QString());
    EXPECT_TRUE(urls.opened.isEmpty()) << s(urls.opened.join(' '));
}

TEST_F(Links, CooperationMailOnlyOnOkAndThePlayerStopsBeforeTheQuestion)
{
    w->show();
    frmPlayer().show();
    ASSERT_TRUE(playerOpen);
    int statusAtQuestion = -1;
    // Answers the question and notes the player's state at that moment.
    struct Probe final : prompts::UserPrompts {
        Probe() { prompts::install(this); }
        ~Probe() override { prompts::install(nullptr); }
        QList<prompts::MessageRequest> messages;
        int *status = nullptr;
        prompts::Answer answer = prompts::Answer::Ok;
        prompts::Answer message(const prompts::MessageRequest &r) override
        {
            messages.append(r);
            *status = frmPlayer().myStatus;
            return answer;
        }
        prompts::FileAnswer file(const prompts::FileRequest &) override { return {}; }
    } probe;
    probe.status = &statusAtQuestion;

    for (prompts::Answer a : {prompts::Answer::Cancel, prompts::Answer::Ok}) {
        probe.answer = a;
        w->mnuCoopAds->trigger();
    }
    ASSERT_EQ(probe.messages.size(), 2);
    const prompts::MessageRequest &box = probe.messages[0];
    EXPECT_EQ(s(box.text), s(lng[txt::CooperationMailQuestion]));
    EXPECT_EQ(box.buttons, prompts::Buttons::OkCancel);
    EXPECT_EQ(s(box.title), "Mavrell");
    EXPECT_EQ(statusAtQuestion, 5);  // stopped
    EXPECT_EQ(urls.opened, QStringList{mainwin::coopMailAddress()});
    EXPECT_TRUE(mainwin::coopMailAddress().startsWith("mailto:"));
    unloadFrmPlayer();
}

TEST_F(Links, TitleBarButtonsUnlessBusy)
{
    w->Form_Load();
    w->show();
    ASSERT_TRUE(w->isVisible());
    prompts.answer(prompts::Answer::No);  // the close asks; the window stays

    // Index 0 and 1 pop up their menus; 3 asks to close; indexes outside do nothing.
    w->lblButton_Click(0);
    EXPECT_TRUE(w->mnuLanguage->isVisible());
    w->mnuLanguage->hide();
    w->lblButton_Click(1);
    EXPECT_TRUE(w->mnuMainHelp->isVisible());
    w->mnuMainHelp->hide();
    w->lblButton_Click(3);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(s(prompts.lastText()), s(lng[txt::QuitQuestion]));
    EXPECT_TRUE(w->isVisible());
    for (int bad : {-1, 4})
        w->lblButton_Click(bad);
    EXPECT_EQ(prompts.messages.size(), 1);

    // A file dialog open (a button's marker) stops all four; a run stops all but minimise.
    struct Busy { const char *what; std::function<void(bool)> set; bool minimises; };
    const Busy busy[] = {
        {"source dialog", [&](bool on) { w->cmdInput->setTag(on ? "inUse" : ""); }, false},
        {"target dialog", [&](bool on) { w->cmdOutput->setTag(on ? "inUse" : ""); }, false},
        {"conversion", [&](bool on) { w->cmdEncode[1]->setVisible(on); }, true},
    };
    for (const Busy &b : busy) {
        b.set(true);
        for (int i = 0; i < 4; ++i)
            w->lblButton_Click(i);
        EXPECT_FALSE(w->mnuLanguage->isVisible()) << b.what;
        EXPECT_FALSE(w->mnuMainHelp->isVisible()) << b.what;
        EXPECT_EQ(prompts.messages.size(), 1) << b.what;
        EXPECT_EQ(w->isMinimized(), b.minimises) << b.what;
        b.set(false);
        w->showNormal();
    }
}

TEST_F(Links, HoverLinkHidesOverEveryForwardingControl)
{
    w->show();
    QWidget *forwarders[] = {w->imgFun[0],  w->lblEncodeEsti, w->lblEncodeNote, w->lblVer,
                             w->picProgress, w->lblInput,     w->lblOutput,     w->lblVideoSize,
                             w->lblVideoLen};
    for (QWidget *c : forwarders) {
        c->show();
        w->Form_MouseMove(0, 0, 20, 5);
        ASSERT_TRUE(w->lblMsgSay->isVisible());
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), c->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(c, &move);
        EXPECT_FALSE(w->lblMsgSay->isVisible()) << s(c->objectName());
        EXPECT_FALSE(w->imgMsgSay->isVisible()) << s(c->objectName());
    }
}

#include "test_links.moc"
