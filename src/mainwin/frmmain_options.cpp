// What the main window asks of the options dialog and the player window when the
// language changes and when the program closes. The dialog's and the player's own
// routines are reached only from here.
#include "mainwin/frmmain.h"

#include "core/console.h"
#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"

#include <QCoreApplication>

using namespace mdlMavrell;

void FrmMain::applyOptionsLanguage()
{
    // Reaching the dialog creates it, hidden, the first time (at start-up). Its own
    // language step sets its captions, rebuilds its lists keeping the user's choice and,
    // with a source loaded, the settings summary; the page masks follow.
    frmOptions().applyLanguage();
    if (jobstate::sourceInfo.srcLength > 0)
        setOptionTabMasks();
    if (playerOpen && frmPlayerLoaded())
        frmPlayer().ChangeLanguage();
}

void FrmMain::stopPlayerBeforeClosing()
{
    if (playerOpen && frmPlayerLoaded()) {
        frmPlayer().mbStop_Click();
        QCoreApplication::processEvents();
    }
}

void FrmMain::unloadOtherWindows()
{
    // The options dialog ends its preview player and goes, then the player window.
    FrmOptions &options = frmOptions();
    options.setStopDosIo(false, true);
    options.hide();
    unloadFrmPlayer();
    mdlConsole::StopConsole();
}
