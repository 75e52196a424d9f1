// The main window's commands that start no conversion: choosing the target file again,
// the play entry points that hand a file to the player window, a file dropped on the
// source button, and the developer's delete-source button.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/commdialog.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "coregui/jobstate.h"
#include "engine/identifyprobe.h"
#include "player/frmplayer.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

using namespace mdlMavrell;

namespace {

const QString inUseMarker = QStringLiteral("inUse");

// Lets the source button take dropped files and hands each drop to the window.
class SourceDropFilter : public QObject {
public:
    explicit SourceDropFilter(FrmMain *window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *e = static_cast<QDragMoveEvent *>(event);
            if (!FrmMain::droppedPath(e->mimeData()).isEmpty())
                e->acceptProposedAction();
            else
                e->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *e = static_cast<QDropEvent *>(event);
            if (window_->cmdInput_OLEDragDrop(e->mimeData()))
                e->acceptProposedAction();
            else
                e->ignore();
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    FrmMain *window_;
};

} // namespace

void FrmMain::connectCommands()
{
    cmdInput->setAcceptDrops(true);
    cmdInput->installEventFilter(new SourceDropFilter(this));
    connect(&tmrDrag, &QTimer::timeout, this, &FrmMain::tmrDrag_Timer);
    connect(mnuToPlay[0], &QAction::triggered, this, [this] { mnuToPlay_Click(0); });
    connect(mnuToPlay[1], &QAction::triggered, this, [this] { mnuToPlay_Click(1); });
    connect(mnuToPlay2, &QAction::triggered, this, &FrmMain::mnuToPlay2_Click);
    connect(mnuTargetFile, &QAction::triggered, this, &FrmMain::mnuTargetFile_Click);
    connect(cmdDelSrc, &QPushButton::clicked, this, &FrmMain::cmdDelSrc_Click);
}

void FrmMain::mnuTargetFile_Click()
{
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return;
    if (!checkSourceReady(false))
        return;
    cmdOutput->setTag(inUseMarker);

    QString current = lblOutput->text();
    const QString upperExt = jobstate::jobSettings.targetExt.toUpper();
    CommDialog &dlg = commDialog();
    dlg.hwndOwner = this;
    dlg.DialogTitle.clear();
    dlg.setFilter(upperExt + QStringLiteral(" Files(*.") + jobstate::jobSettings.targetExt + QStringLiteral(")|*.") + jobstate::jobSettings.targetExt
                  + QStringLiteral("|All Files (*.*)|*.*"));
    dlg.setFilterIndex(1);
    dlg.DefaultExt = upperExt;
    QString forFolder = current;
    dlg.InitDir = AddSlash(fileObject().GetParentFolderName(forFolder));
    QString forName = current;
    dlg.FileName = fileObject().GetBaseName(forName) + QLatin1Char('.') + jobstate::jobSettings.targetExt;

    const QString remembered = QDir::currentPath();
    QString chosen = dlg.ShowSave(false);
    if (!chosen.isEmpty() && !Quotable(chosen)) {
        // The target goes into the encoder's command line: the old one stays.
        prompts::FileMsgBox(lng[txt::InvalidFileName], chosen, this);
    } else if (!chosen.isEmpty()) {
        lblOutput->setText(chosen);
        lblOutput->setToolTip(chosen);
        lblOutput->update();
    }
    SetCurrentDir(AddSlash(remembered));
    cmdOutput->setTag(QString());
    alignPathLabels();
}

void FrmMain::mnuToPlay_Click(int index)
{
    if (playerOpen && frmPlayerLoaded())
        frmPlayer().mbStop_Click();

    QString path;
    if (index == 0 && mnuToPlay0Tag.isEmpty()) {
        CommDialog &dlg = commDialog();
        dlg.hwndOwner = this;
        dlg.DialogTitle.clear();
        dlg.setFilter(openFileFilter);
        dlg.setFilterIndex(1);
        dlg.FileName.clear();
        cmdInput->setTag(inUseMarker);
        path = dlg.ShowOpen(false, false);
    } else {
        cmdInput->setTag(inUseMarker);
        if (index == 0)
            path = mnuToPlay0Tag;
        else if (index == 1)
            path = lblInput->text();
        else
            path = lblOutput->text();
    }

    if (!path.isEmpty()) {
        if (engine::checkFileExists(path)) {
            // The walking figure stops while the player plays.
            playOpening_ = true;
            showPlayerAndPlay(path, [this] { stopFunEffect(); });
            playOpening_ = false;
        } else {
            prompts::FileMsgBox(lng[txt::InvalidFileName], path, this);
        }
    }
    mnuToPlay0Tag.clear();
    cmdInput->setTag(QString());
    // The close the user asked for while the file opened, now that this handler ends.
    if (closeAfterOpening_) {
        closeAfterOpening_ = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void FrmMain::mnuToPlay2_Click()
{
    mnuToPlay_Click(2);
}

QString FrmMain::droppedPath(const QMimeData *data)
{
    if (!data)
        return {};
    QString path;
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        if (urls.isEmpty() || !urls.first().isLocalFile())
            return {};
        path = urls.first().toLocalFile();
    } else if (data->hasText()) {
        // Dropped text often ends in a line break; a name's own blanks stay.
        path = PathAsTyped(data->text());
    } else {
        return {};
    }
    path.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    return path;
}

bool FrmMain::cmdInput_OLEDragDrop(const QMimeData *data)
{
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return false;
    QString path = droppedPath(data);
    if (path.isEmpty() || !fileObject().FileExists(path))
        return false;
    // Played from the timer, once the drop itself has returned.
    mnuToPlay0Tag = path;
    tmrDrag.start();
    return true;
}

void FrmMain::tmrDrag_Timer()
{
    tmrDrag.stop();
    // A conversion or a dialog that began after the drop keeps the window: the drop is dropped.
    if (busyGuard() || !cmdEncode[1]->isHidden()) {
        mnuToPlay0Tag.clear();
        return;
    }
    mnuToPlay_Click(0);
}

void FrmMain::cmdDelSrc_Click()
{
    refreshProgress();
    // The source of a running conversion or of an open dialog stays.
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return;
    QString src = lblInput->text();
    if (!fileObject().FileExists(src)) {
        prompts::MsgBox(QStringLiteral("來源影音：不存在"), prompts::Buttons::Ok, prompts::Icon::None,
                        QStringLiteral("Mavrell"), this);
        return;
    }
    prompts::MessageRequest ask;
    ask.text = QStringLiteral("確定要刪除來源影音？");
    ask.buttons = prompts::Buttons::YesNo;
    ask.defaultButton = 1;
    ask.parent = this;
    if (prompts::current().message(ask) != prompts::Answer::Yes)
        return;
    fileObject().DeleteFile(src);
    if (!fileObject().FileExists(src))
        prompts::MsgBox(QStringLiteral("來源影音：刪除成功"), prompts::Buttons::Ok, prompts::Icon::None,
                        QStringLiteral("Mavrell"), this);
}
