// The main window's share of the single-instance hand-off, the splash, the about and
// donation boxes and the developer window.
#include "mainwin/frmmain.h"

#include "core/mdlmavrell.h"
#include "core/userprompts.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmdevcmd.h"
#include "mainwin/frmdonation.h"
#include "mainwin/frmsplash.h"
#include "mainwin/singleinstance.h"

#include <QCoreApplication>
#include <QPointer>

using namespace mdlMavrell;

void FrmMain::sendDdeCommand(const QString &cmd)
{
    // A copy that does not answer is not told anything; this copy ends all the same.
    QCoreApplication::processEvents();
    singleinstance::sendDdeCommand(cmd, instanceName);
    QCoreApplication::processEvents();
}

void FrmMain::Form_LinkExecute(const QString &CmdStr, int &Cancel)
{
    Q_UNUSED(CmdStr);  // the program takes no arguments of its own
    Cancel = 0;
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void FrmMain::mnuAbout_Click()
{
    stopPlayerBeforeClosing();
    QPointer<FrmAbout> box(&frmAbout(this));
    box->exec();
    unloadFrmAbout();
}

void FrmMain::mnuMoney_Click()
{
    stopPlayerBeforeClosing();
    showDonation(this);
}

void FrmMain::showDonation(QWidget *owner)
{
    QPointer<FrmMoney> box(&frmMoney(owner ? owner : this));
    box->exec();
    unloadFrmMoney();
}

void FrmMain::setConsoleWindowVisible(bool visible)
{
    if (visible)
        frmOutput().show();
    else if (frmOutputLoaded())
        frmOutput().hide();
}

void FrmMain::Form_MouseDown(int Button, int Shift, float X, float Y)
{
    if (Button == 2) {
        if (!iconFileExists())
            return;
        const prompts::Answer a = prompts::MsgBox(QStringLiteral("是否開啟 Dos 輸出視窗？"), prompts::Buttons::YesNo,
                                                  prompts::Icon::None, QStringLiteral("Mavrell"), this);
        showDosOutput = a == prompts::Answer::Yes;
        setConsoleWindowVisible(showDosOutput);
        return;
    }
    unloadFrmSplash();
}
