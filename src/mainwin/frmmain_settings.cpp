// "Mavrell.ini": the window's position, the language and the default target folder.
#include "mainwin/frmmain.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/systeminfo.h"
#include "core/toolpaths.h"
#include "mainwin/settingsfile.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

using namespace mdlMavrell;

namespace {

QSize screenSize(const QWidget *w)
{
    const QScreen *s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1024, 768);
}

} // namespace

void FrmMain::loadSettings()
{
    const QSize screen = screenSize(this);
    const int tx = twipsPerPixelX, ty = twipsPerPixelY;
    const int screenW = screen.width() * tx, screenH = screen.height() * ty;
    const int winW = width() * tx, winH = height() * ty;
    move(QPoint((screenW - winW) / 2 / tx, (screenH - winH) / 2 / ty));

    iniPath = settingsfile::settingsFolder() + QStringLiteral("Mavrell.ini");
    // The language is applied once, after the file is read: the last code of ours in it,
    // as reading line by line would leave it.
    QString language;

    QString path = iniPath;
    if (fileObject().FileExists(path)) {
        for (const settingsfile::Entry &e : settingsfile::parse(settingsfile::readText(path))) {
            switch (e.key) {
            case settingsfile::Entry::MainLeft:
                move(settingsfile::placeEdge(e.value, winW, screenW) / tx, y());
                break;
            case settingsfile::Entry::MainTop:
                move(x(), settingsfile::placeEdge(e.value, winH, screenH) / ty);
                break;
            case settingsfile::Entry::Language: {
                // Only a code of ours is applied: anything else would leave the table
                // empty, so the locale's language is taken instead.
                const QString code = settingsfile::acceptedLanguage(e.value);
                if (!code.isEmpty())
                    language = code;
                break;
            }
            case settingsfile::Entry::TargetDefDirMode: {
                const bool fixed = numbertext::Val(e.value) == 1;
                mnuTargetDefDir[0]->setChecked(!fixed);
                mnuTargetDefDir[1]->setChecked(fixed);
                break;
            }
            case settingsfile::Entry::TargetDefDir: {
                // A folder that could not stand in a command line counts as missing.
                QString dir = AddSlash(e.value);
                mnuTargetDefDir1Tag = !dir.isEmpty() && Quotable(dir) && fileObject().FolderExists(dir) ? dir : AddSlash(QDir::homePath());
                mnuTargetDefDir[1]->setText(lng[txt::AlwaysSaveIn] + mnuTargetDefDir1Tag);
                break;
            }
            }
        }
    }
    applyLanguage(language.isEmpty() ? mdlLocaleLng::GetLocaleLng() : language);
}

bool FrmMain::saveSettings()
{
    if (iniPath.isEmpty())
        iniPath = settingsfile::settingsFolder() + QStringLiteral("Mavrell.ini");
    settingsfile::Values v;
    v.left = float(x() * twipsPerPixelX);
    v.top = float(y() * twipsPerPixelY);
    v.language = mnuLanguageTag;
    v.targetDirMode = mnuTargetDefDir[0]->isChecked() ? 0 : 1;
    v.targetDir = mnuTargetDefDir1Tag;
    return settingsfile::writeWhole(iniPath, settingsfile::format(v));
}
