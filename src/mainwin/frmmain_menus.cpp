// The main window's popup menus: the source button's target menu, the target button's
// menu, the language and help popups of the title bar.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/commdialog.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "coregui/desktop.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QDir>
#include <QMenu>

using namespace mdlMavrell;

void FrmMain::buildMenus()
{
    auto menu = [this](const char *name) {
        auto *m = new QMenu(this);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto action = [](QMenu *m, const char *name) {
        QAction *a = m->addAction(QString::fromLatin1(name));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };

    // ---- Source button: play entry points and every target ----
    mnuSrcType = menu("mnuSrcType");
    mnuToPlay[0] = action(mnuSrcType, "mnuToPlay0");
    mnuToPlay[1] = action(mnuSrcType, "mnuToPlay1");
    mnuSrcType->addSeparator();
    mnuToEncode = menu("mnuToEncode");
    mnuToEncodeMusic = menu("mnuToEncodeMusic");
    mnuToChangeVol = menu("mnuToChangeVol");
    mnuToCut = menu("mnuToCut");
    mnuToFix = menu("mnuToFix");
    mnuSrcType->addMenu(mnuToEncode);
    mnuSrcType->addMenu(mnuToEncodeMusic);
    mnuSrcType->addSeparator();
    mnuSrcType->addMenu(mnuToChangeVol);
    mnuSrcType->addMenu(mnuToCut);
    mnuSrcType->addMenu(mnuToFix);
    mnuSrcType->addSeparator();
    mnuToScreenshot = action(mnuSrcType, "mnuToScreenshot");

    using engine::TargetMenu;
    auto arrayOf = [this](TargetMenu m) -> std::pair<QList<QAction *> *, QMenu *> {
        switch (m) {
        case TargetMenu::ToMpg: return {&mnuSrcIsFileToMpg, mnuToEncode};
        case TargetMenu::ToWmv: return {&mnuSrcIsFileToWmv, mnuToEncode};
        case TargetMenu::ToAvi: return {&mnuSrcIsFileToAvi, mnuToEncode};
        case TargetMenu::ToSound: return {&mnuSrcIsFileToSound, mnuToEncodeMusic};
        case TargetMenu::ToChangeVol: return {&mnuSrcIsFileToChangeVol, mnuToChangeVol};
        case TargetMenu::ToCut: return {&mnuSrcIsFileToCut, mnuToCut};
        case TargetMenu::ToFix: return {&mnuSrcIsFileToFix, mnuToFix};
        }
        return {nullptr, nullptr};
    };
    bool first = true;
    TargetMenu last = TargetMenu::ToMpg;
    for (const engine::TargetMenuItem &item : engine::targetMenuItems()) {
        auto [list, host] = arrayOf(item.menu);
        if (!list)
            continue;
        // The three video arrays share one submenu, divided by lines.
        if (!first && item.menu != last && host == mnuToEncode)
            host->addSeparator();
        first = false;
        last = item.menu;
        QAction *a = item.separator ? host->addSeparator() : host->addAction(item.controlName);
        a->setObjectName(item.controlName + QString::number(item.index));
        while (list->size() < item.index)
            list->append(nullptr);
        list->append(a);
        if (!item.separator) {
            const TargetMenu m = item.menu;
            const int index = item.index;
            connect(a, &QAction::triggered, this, [this, m, index] { targetMenu_Click(m, index); });
        }
    }
    connect(mnuToScreenshot, &QAction::triggered, this,
            [this] { prompts::MsgBox(lng[txt::ScreenshotButtonsHint], prompts::Buttons::Ok, prompts::Icon::None, QStringLiteral("Mavrell"), this); });

    // ---- Target button ----
    mnuTarget = menu("mnuTarget");
    mnuToPlay2 = action(mnuTarget, "mnuToPlay2");
    mnuTarget->addSeparator();
    mnuTargetFile = action(mnuTarget, "mnuTargetFile");
    mnuTarget->addSeparator();
    mnuTargetDir = menu("mnuTargetDir");
    mnuTarget->addMenu(mnuTargetDir);
    for (int i = 0; i < 2; ++i) {
        mnuTargetDefDir[size_t(i)] = action(mnuTargetDir, i == 0 ? "mnuTargetDefDir0" : "mnuTargetDefDir1");
        mnuTargetDefDir[size_t(i)]->setCheckable(true);
        connect(mnuTargetDefDir[size_t(i)], &QAction::triggered, this, [this, i] { mnuTargetDefDir_Click(i); });
    }
    mnuTargetDefDir[0]->setChecked(true);

    // ---- Language popup (its captions are the languages' own names) ----
    mnuLanguage = menu("mnuLanguage");
    mnuLanguage->setTitle(QStringLiteral("Language"));
    mnuLngEN = mnuLanguage->addAction(QStringLiteral("English"));
    mnuLngTW = mnuLanguage->addAction(QStringLiteral("Chinese (Traditional)"));
    mnuLngGB = mnuLanguage->addAction(QStringLiteral("Chinese (Simplified)"));
    mnuLngEN->setObjectName(QStringLiteral("mnuLngEN"));
    mnuLngTW->setObjectName(QStringLiteral("mnuLngTW"));
    mnuLngGB->setObjectName(QStringLiteral("mnuLngGB"));
    for (QAction *a : {mnuLngEN, mnuLngTW, mnuLngGB})
        a->setCheckable(true);
    connect(mnuLngEN, &QAction::triggered, this, [this] { mnuLngEN_Click(); });
    connect(mnuLngTW, &QAction::triggered, this, [this] { mnuLngTW_Click(); });
    connect(mnuLngGB, &QAction::triggered, this, [this] { mnuLngGB_Click(); });

    // ---- Help popup ----
    mnuMainHelp = menu("mnuMainHelp");
    mnuMoney = action(mnuMainHelp, "mnuMoney");
    mnuNotice = action(mnuMainHelp, "mnuNotice");
    mnuBlog = action(mnuMainHelp, "mnuBlog");
    mnuHelp = action(mnuMainHelp, "mnuHelp");
    mnuMainHelp->addSeparator();
    mnuVerNote = action(mnuMainHelp, "mnuVerNote");
    mnuLearn = action(mnuMainHelp, "mnuLearn");
    mnuUpdate = action(mnuMainHelp, "mnuUpdate");
    mnuMainHelp->addSeparator();
    mnuDownloadFamily = menu("mnuDownloadFamily");
    mnuMainHelp->addMenu(mnuDownloadFamily);
    for (size_t i = 0; i < mnuDlFamilyNew.size(); ++i) {
        mnuDlFamilyNew[i] = mnuDownloadFamily->addAction(QString());
        mnuDlFamilyNew[i]->setObjectName(QStringLiteral("mnuDlFamilyNew%1").arg(i));
    }
    mnuDownloadFamily->addSeparator();
    for (size_t i = 0; i < mnuDlFamily.size(); ++i) {
        mnuDlFamily[i] = mnuDownloadFamily->addAction(QString());
        mnuDlFamily[i]->setObjectName(QStringLiteral("mnuDlFamily%1").arg(i));
    }
    mnuMainHelp->addSeparator();
    mnuAbout = action(mnuMainHelp, "mnuAbout");
    mnuCoopAds = action(mnuMainHelp, "mnuCoopAds");
    connect(mnuHelp, &QAction::triggered, this, &FrmMain::mnuHelp_Click);
    connectLinksAndHover();
    connectCommands();
}

void FrmMain::cmdInput_Click()
{
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return;
    QString src = lblInput->text();
    mnuToPlay[1]->setEnabled(fileObject().FileExists(src));
    mnuSrcType->popup(QCursor::pos());
}

void FrmMain::cmdOutput_Click()
{
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return;
    closePlayerWindow();
    QString dst = lblOutput->text();
    mnuToPlay2->setEnabled(fileObject().FileExists(dst));
    mnuTarget->popup(QCursor::pos());
}

void FrmMain::mnuTargetDefDir_Click(int index)
{
    if (index == 0) {
        mnuTargetDefDir[0]->setChecked(true);
        mnuTargetDefDir[1]->setChecked(false);
        return;
    }
    mnuTargetDefDir[0]->setChecked(false);
    mnuTargetDefDir[1]->setChecked(true);
    CommDialog &dlg = commDialog();
    dlg.hwndOwner = this;
    dlg.DialogTitle = lng[txt::ChooseDefaultFolder];
    dlg.InitDir = mnuTargetDefDir1Tag;
    const QString remembered = QDir::currentPath();
    const QString chosen = dlg.ShowDir(false);
    // Every target is named in this folder and goes into a command line: a folder that
    // cannot stand there is refused like such a file name, and the old folder stays.
    if (!chosen.isEmpty() && !Quotable(chosen)) {
        prompts::FileMsgBox(lng[txt::InvalidFileName], chosen, this);
    } else if (!chosen.isEmpty()) {
        mnuTargetDefDir1Tag = AddSlash(chosen);
        mnuTargetDefDir[1]->setText(lng[txt::AlwaysSaveIn] + mnuTargetDefDir1Tag);
    }
    SetCurrentDir(AddSlash(remembered));
    dlg.DialogTitle.clear();
}

void FrmMain::mnuHelp_Click()
{
    QString path = helpPath;
    if (fileObject().FileExists(path))
        ShellOpen(path);
    else
        prompts::MsgBox(lng[txt::HelpFileMissing], prompts::Buttons::Ok, prompts::Icon::None, QStringLiteral("Mavrell"), this);
}
