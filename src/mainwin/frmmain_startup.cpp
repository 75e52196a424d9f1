// Start-up of the main window, in its fixed order.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/commdialog.h"
#include "core/cpuload.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/toolprocesses.h"
#include "engine/runrecord.h"
#include "mainwin/frmmain_look.h"
#include "mainwin/frmmain_text.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmdevcmd.h"
#include "mainwin/frmsplash.h"
#include "mainwin/singleinstance.h"
#include "mainwin/settingsfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

using namespace mdlMavrell;

void FrmMain::Form_Load()
{
    // The folders (appDir, tempDir) are fixed by the program's start before the window exists.
    twipsPerPixelX = 15;
    twipsPerPixelY = 15;
    setWindowTitle(QStringLiteral("Mavrell"));
    setWindowIcon(smallwin::programIcon());

    // The splash hides this window and fades it in later.
    frmSplash().show();
    QCoreApplication::processEvents();

    // A copy already at work gets our command line, and this copy ends at once; its
    // tools are left alone. Otherwise this copy answers later launches.
    if (!instanceName.isEmpty()) {
        const QString cmdLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
        ddeReceiver_ = std::make_unique<singleinstance::Receiver>();
        connect(ddeReceiver_.get(), &singleinstance::Receiver::commandReceived, this, [this](const QString &cmd) {
            int cancel = 0;
            Form_LinkExecute(cmd, cancel);
        });
        if (ddeReceiver_->listen(instanceName) == singleinstance::Receiver::Claim::OtherCopy) {
            ddeReceiver_.reset();
            sendDdeCommand(cmdLine);
            handedOff_ = true;
            if (endProgram)
                endProgram();
            return;
        }
    }

    // In developer mode the tools' commands and output go to the developer window.
    devcmd::installConsoleBridge();

    // Tools an earlier run left behind, and what a conversion killed outright left
    // beside its target (the tools are gone by now).
    if (!appDir.isEmpty())
        mdlConsole::KillPlayersIn(appDir + QStringLiteral("plugins/OrvexRes"));
    runrecord::clearLeftovers(SettingsFolder());

    for (ClickableLabel *b : lblButton)
        b->setCursor(Qt::PointingHandCursor);
    lblMsgSay->setCursor(Qt::PointingHandCursor);

    if (iconFileExists()) {
        for (QWidget *w : std::initializer_list<QWidget *>{cmdDelSrc, chkCheckAsfMci, chkCheckCmd, cboCmdEditSpec})
            w->show();
        cboCmdEditSpec->setCurrentIndex(0);
        setFixedSize(look::windowSize.width(), look::windowSize.height() + look::developerRowHeight);
    }

    alignPathLabels();
    cmdEncode[1]->hide();
    lblEncodeNote->clear();

    cpuMeter = std::make_unique<cpuUsageNT>();
    cpuMeter->Initialize();

    CommDialog &dlg = commDialog();
    dlg.hwndOwner = this;
    dlg.FlagsDir = 0x64;
    dlg.FlagsOpen = 0x81004;
    dlg.FlagsSave = 6;
    dlg.InitDir.clear();

    mnuTargetDefDir1Tag = AddSlash(QDir::homePath());
    openFileFilter = mainwin::openFileFilterText();

    lblVer->setText(QString::fromLatin1(mainwin::versionText));
    helpPath = settingsfile::settingsFolder() + QStringLiteral("help.chm");

    // The settings (which apply the language and create the options dialog, hidden).
    iniPath = settingsfile::settingsFolder() + QStringLiteral("Mavrell.ini");
    iniExistedAtStart_ = QFileInfo::exists(iniPath);
    loadSettings();
    if (!QFileInfo::exists(iniPath))
        saveSettings();

    tmrCPU.start();
    tmrFun.start();

    // A first start opens the help when there is one.
    QString help = helpPath;
    if (!iniExistedAtStart_ && fileObject().FileExists(help))
        mnuHelp_Click();
}
