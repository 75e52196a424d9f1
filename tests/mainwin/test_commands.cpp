// The main window's commands beside the conversion: choosing the target again, the
// play entry points, a file dropped on the source button, the developer's delete
// button, and what each of them refuses while the window is busy.
#include "conversionwindow.h"
#include "core/console.h"
#include "coregui/jobstate.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace conversiontest;

namespace {

class Commands : public Conversion {
protected:
    // The player window plays path (the real player tool on a generated clip).
    bool playing(const QString &path)
    {
        return QTest::qWaitFor([&] {
            return !w->tmrDrag.isActive() && frmPlayerLoaded() && frmPlayer().myStatus == 1;
        }, 8000) && frmPlayer().player().FileName() == path;
    }
    std::unique_ptr<QMimeData> filesDrop(const QString &path)
    {
        auto data = std::make_unique<QMimeData>();
        data->setUrls({QUrl::fromLocalFile(path)});
        return data;
    }
};

} // namespace

TEST_F(Commands, SaveAsProposesTheTargetAndTakesTheNewName)
{
    pick(TargetMenu::ToAvi, 2, source("mpeg4.avi"));
    const QString target = w->lblOutput->text();
    ASSERT_FALSE(target.isEmpty());
    const QFileInfo info(target);
    const qsizetype asked = prompts.fileRequests.size(), said = prompts.messages.size();

    // Cancelled: nothing changes and the window is free again.
    prompts.cancelFile();
    w->mnuTargetFile_Click();
    ASSERT_EQ(prompts.fileRequests.size(), asked + 1);
    const prompts::FileRequest &r = prompts.fileRequests.last();
    EXPECT_EQ(r.kind, prompts::FileRequest::Save);
    EXPECT_EQ(s(r.initDir), s(info.absolutePath() + "/"));
    EXPECT_EQ(s(r.fileName), s(info.completeBaseName() + "." + jobstate::jobSettings.targetExt));
    ASSERT_FALSE(r.nameFilters.isEmpty());
    EXPECT_TRUE(r.nameFilters.first().startsWith(jobstate::jobSettings.targetExt.toUpper() + " Files")) << s(r.nameFilters.first());
    EXPECT_EQ(s(w->lblOutput->text()), s(target));
    EXPECT_TRUE(w->cmdOutput->Tag().isEmpty());

    // Chosen: the label names the new file; a bare name takes the target's extension.
    const struct { QString answer, expected; } cases[] = {
        {work.filePath("renamed.avi"), work.filePath("renamed.avi")},
        {work.filePath("bare"), work.filePath("bare.") + jobstate::jobSettings.targetExt},
    };
    for (const auto &c : cases) {
        prompts.answerFile(c.answer);
        w->mnuTargetFile_Click();
        EXPECT_EQ(s(w->lblOutput->text()), s(c.expected));
        EXPECT_TRUE(w->cmdOutput->Tag().isEmpty());
    }
    EXPECT_EQ(prompts.messages.size(), said) << s(prompts.lastText());
}

TEST_F(Commands, SaveAsWithoutASourceSaysSoAndOpensNoDialog)
{
    w->mnuTargetFile_Click();
    EXPECT_TRUE(prompts.fileRequests.isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(w->cmdOutput->Tag().isEmpty());
}

// The drop hands the file to the timer; the timer plays it in the player window.
TEST_F(Commands, DroppedClipPlaysInThePlayerWindow)
{
    const QString clip = source("mpeg4.avi");
    auto data = filesDrop(clip);
    ASSERT_TRUE(w->cmdInput_OLEDragDrop(data.get()));
    EXPECT_TRUE(w->tmrDrag.isActive());
    EXPECT_FALSE(frmPlayerLoaded());  // nothing plays inside the drop itself
    EXPECT_TRUE(playing(clip));
    EXPECT_TRUE(w->mnuToPlay0Tag.isEmpty());
    EXPECT_TRUE(w->cmdInput->Tag().isEmpty());
    EXPECT_TRUE(prompts.fileRequests.isEmpty());

    // A second drop, this time as the source button receives it, while the first
    // plays: the first stops and the new one plays.
    const QString other = source("h264.mp4");
    auto second = filesDrop(other);
    EXPECT_TRUE(w->cmdInput->acceptDrops());
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, second.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->cmdInput, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, second.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->cmdInput, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(playing(other));
}

TEST_F(Commands, WhatADropCarries)
{
    const QString clip = source("tone.wav");
    QMimeData none;
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/clip.avi"))});
    QMimeData text;
    text.setText(QStringLiteral("C:\\\\video\\\\clip.avi"));
    QMimeData missing;
    missing.setUrls({QUrl::fromLocalFile(work.filePath("gone.avi"))});
    auto local = filesDrop(clip);

    EXPECT_EQ(s(FrmMain::droppedPath(&none)), "");
    EXPECT_EQ(s(FrmMain::droppedPath(&remote)), "");
    EXPECT_EQ(s(FrmMain::droppedPath(&text)), "C:\\video\\clip.avi");
    EXPECT_EQ(s(FrmMain::droppedPath(local.get())), s(clip));
    // Dropped text loses the line break it was selected with; a name's own blank stays.
    const QString trail = work.filePath("trail.wav ");
    ASSERT_TRUE(QFile::copy(clip, trail));
    const std::pair<QString, QString> typedCases[] = {
        {clip + "\n", clip}, {" " + clip + " \r\n", clip}, {trail, trail}, {trail + "\n", trail}};
    for (const auto &[typed, taken] : typedCases) {
        QMimeData d;
        d.setText(typed);
        EXPECT_EQ(s(FrmMain::droppedPath(&d)), s(taken)) << s(typed);
    }

    // Only an existing local file is taken.
    for (const QMimeData *d : {static_cast<const QMimeData *>(&none), static_cast<const QMimeData *>(&remote),
                               static_cast<const QMimeData *>(&text), static_cast<const QMimeData *>(&missing)}) {
        EXPECT_FALSE(w->cmdInput_OLEDragDrop(d));
        EXPECT_FALSE(w->tmrDrag.isActive());
        EXPECT_TRUE(w->mnuToPlay0Tag.isEmpty());
    }
}

// While a conversion runs (Stop shown) or a dialog of the window is open, the drop,
// the Save-As and the target button do nothing; a drop whose timer finds the window
// busy is forgotten.
TEST_F(Commands, NothingHappensWhileTheWindowIsBusy)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    const QString target = w->lblOutput->text();
    w->mnuToPlay_Click(1);
    ASSERT_TRUE(playing(src));
    const qsizetype asked = prompts.fileRequests.size();

    const std::function<void(bool)> busyStates[] = {
        [this](bool on) { w->cmdEncode[1]->setVisible(on); },
        [this](bool on) { w->cmdInput->setTag(on ? QStringLiteral("inUse") : QString()); },
        [this](bool on) { w->cmdOutput->setTag(on ? QStringLiteral("inUse") : QString()); },
    };
    for (const auto &busy : busyStates) {
        busy(true);
        auto data = filesDrop(src);
        EXPECT_FALSE(w->cmdInput_OLEDragDrop(data.get()));
        EXPECT_FALSE(w->tmrDrag.isActive());
        prompts.answerFile(work.filePath("other.avi"));
        w->mnuTargetFile_Click();
        w->cmdOutput_Click();
        EXPECT_FALSE(w->mnuTarget->isVisible());
        EXPECT_TRUE(frmPlayerLoaded());  // the target button would have closed it
        EXPECT_EQ(s(w->lblOutput->text()), s(target));
        prompts.fileAnswers.clear();
        busy(false);
    }
    EXPECT_EQ(prompts.fileRequests.size(), asked);

    // Taken while free, then a conversion starts before the timer's tick.
    auto data = filesDrop(src);
    ASSERT_TRUE(w->cmdInput_OLEDragDrop(data.get()));
    w->cmdEncode[1]->show();
    w->tmrDrag_Timer();
    EXPECT_TRUE(w->mnuToPlay0Tag.isEmpty());
    EXPECT_FALSE(w->tmrDrag.isActive());
    w->cmdEncode[1]->hide();
}

TEST_F(Commands, TargetButtonClosesThePlayerAndOffersAnExistingTargetOnly)
{
    const QString src = source("mpeg4.avi");
    pick(TargetMenu::ToAvi, 2, src);
    const QString target = w->lblOutput->text();
    w->mnuToPlay_Click(1);
    ASSERT_TRUE(playing(src));

    w->cmdOutput_Click();
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_FALSE(playerOpen);
    EXPECT_FALSE(w->mnuToPlay2->isEnabled());  // nothing converted yet
    w->mnuTarget->close();

    ASSERT_TRUE(QFile::copy(src, target));
    w->cmdOutput_Click();
    EXPECT_TRUE(w->mnuToPlay2->isEnabled());
    w->mnuTarget->close();
    w->mnuToPlay2_Click();
    EXPECT_TRUE(playing(target));
}

TEST_F(Commands, PlayEntryPoints)
{
    const QString clip = source("tone.wav");

    // A new file: the open dialog, cancelled, plays nothing and frees the window.
    prompts.cancelFile();
    w->mnuToPlay_Click(0);
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests.last().kind, prompts::FileRequest::Open);
    EXPECT_FALSE(prompts.fileRequests.last().multiSelect);
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_TRUE(w->cmdInput->Tag().isEmpty());

    // A file the test refuses: entry 010 and the path, nothing plays.
    w->lblInput->setText(work.filePath("gone.avi"));
    w->mnuToPlay_Click(1);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(s(prompts.lastText()), s(lng[txt::InvalidFileName] + "\n\n" + work.filePath("gone.avi")));
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_TRUE(w->cmdInput->Tag().isEmpty());

    // Chosen in the dialog: it plays.
    prompts.answerFile(clip);
    w->mnuToPlay_Click(0);
    EXPECT_TRUE(playing(clip));
    EXPECT_TRUE(w->cmdInput->Tag().isEmpty());
}

// The user closes the player window while it comes up: the program goes on, the closed
// window plays nothing and no player tool is left running.
TEST_F(Commands, PlayerClosedWhileItComesUpPlaysNothing)
{
    const QString clip = source("tone.wav");
    w->lblInput->setText(clip);
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (frmPlayerLoaded() && frmPlayer().isVisible()) {
            frmPlayer().close();
            closer.stop();
        }
    });
    closer.start();
    w->mnuToPlay_Click(1);
    EXPECT_FALSE(closer.isActive());  // it was closed as it came up
    QTest::qWait(1500);
    EXPECT_FALSE(frmPlayerLoaded());
    EXPECT_FALSE(mdlConsole::IsRunning());

    // The next play opens a new window that plays.
    w->mnuToPlay_Click(1);
    EXPECT_TRUE(playing(clip));
}

TEST_F(Commands, DeveloperDeletesTheSourceOnYesOnly)
{
    const QString src = source("tone.wav");
    w->lblInput->setText(src);

    prompts.answer(Answer::No);
    w->cmdDelSrc_Click();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0].buttons, prompts::Buttons::YesNo);
    EXPECT_EQ(prompts.messages[0].defaultButton, 1);
    EXPECT_TRUE(QFileInfo::exists(src));

    // Not while a conversion runs.
    w->cmdEncode[1]->show();
    w->cmdDelSrc_Click();
    w->cmdEncode[1]->hide();
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(src));

    prompts.answer(Answer::Yes);
    w->cmdDelSrc_Click();
    EXPECT_FALSE(QFileInfo::exists(src));
    EXPECT_EQ(s(prompts.lastText()), s(QStringLiteral("來源影音：刪除成功")));
    EXPECT_EQ(s(w->lblInput->text()), s(src));  // the labels stay

    w->cmdDelSrc_Click();
    EXPECT_EQ(s(prompts.lastText()), s(QStringLiteral("來源影音：不存在")));
}
