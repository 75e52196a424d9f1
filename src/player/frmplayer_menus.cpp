// The player window's context menu, drops, close sequence and settings file.
#include "player/frmplayer.h"

#include "controls/orvexbutton.h"
#include "core/commdialog.h"
#include "core/console.h"
#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "coregui/desktop.h"
#include "coregui/jobstate.h"
#include "player/playerlayout.h"
#include "player/playersettings.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

namespace {

QWidget *mainWidget()
{
    MainWindowLink *link = mdlMavrell::mainWindowLink();
    return link ? link->mainWidget() : nullptr;
}

// The main window's source button carries "inUse" while another window uses the
// shared file dialog.
void setSourceButtonTag(const QString &tag)
{
    if (QWidget *main = mainWidget())
        if (QObject *b = main->findChild<QObject *>(QStringLiteral("cmdInput")))
            b->setProperty("Tag", tag);
}

} // namespace

void FrmPlayer::popupMenu()
{
    mnuMain->popup(QCursor::pos());
}

void FrmPlayer::mnuOpen_Click()
{
    InUse use(this);
    setSourceButtonTag(QStringLiteral("inUse"));
    mbStop_Click();
    CommDialog &dlg = mdlMavrell::commDialog();
    dlg.hwndOwner = this;
    dlg.setFilter(mdlMavrell::openFileFilter);
    dlg.setFilterIndex(1);
    dlg.FileName.clear();
    const QString file = dlg.ShowOpen(true, false);
    // Closed while the dialog was up, the window plays nothing more.
    if (!file.isEmpty() && !closePending_)
        playSingle(file);
    setSourceButtonTag(QString());
}

void FrmPlayer::mnuExplorer_Click()
{
    mdlMavrell::ShowInExplorer(player().FileName());
}

void FrmPlayer::mnuShowHideMain_Click()
{
    QWidget *main = mainWidget();
    if (mnuShowHideMainTag == QLatin1String("hide")) {
        if (main)
            main->show();
        mnuShowHideMainTag.clear();
        mnuShowHideMain->setText(mdlMavrell::lng[txt::HideMainProgram]);
    } else {
        if (main)
            main->hide();
        mnuShowHideMainTag = QStringLiteral("hide");
        mnuShowHideMain->setText(mdlMavrell::lng[txt::ShowMainProgram]);
    }
}

void FrmPlayer::mnuKeepDef_Click()
{
    myPutSize(true);
}

void FrmPlayer::mnuKeepWH_Click()
{
    // The menu has already flipped the check mark.
    myPutSize(false);
}

void FrmPlayer::mnuTopMost_Click()
{
    mdlMavrell::SetTopMost(this, mnuTopMost->isChecked());
}

void FrmPlayer::mnuEnd_Click()
{
    close();
}

void FrmPlayer::pausePrFn()
{
    if (myStatus == MPlayer::Playing)
        mbPause_Click();
    update();
}

void FrmPlayer::setTimeLabelsVisible(bool flag)
{
    lblTtTime->setVisible(flag);
    lblSplit->setVisible(flag);
    lblCurTime->setVisible(flag);
    lblCover->setVisible(flag);
}

void FrmPlayer::Form_OLEDragDrop(const QMimeData *data)
{
    if (isBusy || jobstate::previewState.playerMode > 0 || !data)
        return;
    QString path;
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        if (urls.isEmpty() || !urls.first().isLocalFile())
            return;
        path = urls.first().toLocalFile();
    } else if (data->hasText()) {
        path = mdlMavrell::PathAsTyped(data->text());
        if (path.startsWith(QLatin1String("file:")))
            path = QUrl(path).toLocalFile();
    } else {
        return;
    }
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    if (!mdlMavrell::fileObject().FileExists(path))
        return;
    tmrDragTag = path;
    tmrDrag.start();
}

void FrmPlayer::tmrDrag_Timer()
{
    tmrDrag.stop();
    const QString path = tmrDragTag;
    tmrDragTag.clear();
    playSingle(path);
}

void FrmPlayer::loadSettings()
{
    const playersettings::Values v = playersettings::parse(playersettings::readFile(settingsPath));
    const int tx = std::max(1, mdlMavrell::twipsPerPixelX);
    const int ty = std::max(1, mdlMavrell::twipsPerPixelY);
    // The stored corner is the window's inner one and is placed as such: the frame a
    // window manager puts round it is not known before the window shows. The frame
    // known so far is kept on the screen with it.
    if (v.left && v.top) {
        const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
        const QPoint frameAt = playerlayout::placeOnScreens(QPoint(*v.left / tx, *v.top / ty) - frameOffset,
                                                            frameGeometry().size(), screenAreas());
        setGeometry(QRect(frameAt + frameOffset, size()));
    }
    if (v.keepWH)
        mnuKeepWH->setChecked(*v.keepWH);
    if (v.topMost) {
        mnuTopMost->setChecked(*v.topMost);
        mdlMavrell::SetTopMost(this, mnuTopMost->isChecked());
    }
    if (v.volume)
        picVolPosTag = QString::number(*v.volume);
    if (!v.rectFound) {
        const QRect screenRect = screenAreas().value(0, QRect(0, 0, 1280, 1024));
        const QSize outer = frameGeometry().size();
        move(screenRect.x() + (screenRect.width() - outer.width()) / 2,
             screenRect.y() + (screenRect.height() - outer.height()) / 2);
    }
}

bool FrmPlayer::saveSettings()
{
    const QPoint at = normalPos_;
    const QString text = playersettings::compose(at.x() * mdlMavrell::twipsPerPixelX,
                                                 at.y() * mdlMavrell::twipsPerPixelY, mnuKeepWH->isChecked(),
                                                 mnuTopMost->isChecked(), int(numbertext::Val(picVolPosTag)));
    return playersettings::writeFile(settingsPath, text);
}

void FrmPlayer::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    // The position saved is the normal window's inner corner, also when it is maximized
    // now: the window reopens where it was, with or without a frame round it.
    normalPos_ = geometry().topLeft();
    if (isMinimized() || isMaximized() || isFullScreen()) {
        normalPos_ = normalGeometry().topLeft();
        setWindowState(Qt::WindowNoState);
    }
    mbStop_Click();
    player().closeMCI();
    saveSettings();
    mdlMavrell::playerOpen = false;
    jobstate::previewState.playerMode = 0;
    if (QWidget *main = mainWidget())
        main->show();
}
