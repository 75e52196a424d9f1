// Applying a language: the text table is loaded, then every caption, menu item and
// tooltip of the main window, the options dialog and the player window is set again.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/fileobject.h"
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "coregui/desktop.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "engine/optionpresets.h"
#include "mainwin/frmmain_text.h"
#include "options/frmoptions.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QTranslator>

using namespace mdlMavrell;

namespace {

QString withAaa(QString text, const QString &value)
{
    return text.replace(QStringLiteral("aaa"), value);
}

// Copies the help file of the language over the one the help command opens; the old
// file stays when there is nothing to copy or the copy fails.
void copyHelpFile(const QString &code, const QString &helpPath)
{
    const QString source = appDir + QStringLiteral("help/help_") + code + QStringLiteral(".chm");
    if (helpPath.isEmpty() || !QFile::exists(source))
        return;
    const QString temp = helpPath + QStringLiteral(".new");
    QFile::remove(temp);
    if (!QFile::copy(source, temp))
        return;
    QFile::remove(helpPath);
    if (!QFile::rename(temp, helpPath))
        QFile::remove(temp);
}

// The buttons of message boxes and file dialogs come from Qt; in the Chinese languages
// they take Qt's own translations where the system has them.
void applyQtTranslation(const QString &code)
{
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const char *locale = code == QLatin1String("tw") ? "zh_TW" : code == QLatin1String("gb") ? "zh_CN" : nullptr;
    if (!locale)
        return;
    auto *t = new QTranslator;
    if (t->load(QStringLiteral("qtbase_") + QLatin1String(locale), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t);
        installed = t;
    } else {
        delete t;
    }
}

// A progress box's families: its own (Verdana after "tw") first, each once, then the
// script's family, so that applying a language again leaves the list as it was.
QStringList withScriptFamily(const QStringList &current, const QString &script)
{
    QStringList families;
    for (const QString &name : current)
        if (!name.startsWith(QLatin1String("Noto Sans CJK")) && name != script && !families.contains(name))
            families.append(name);
    families.append(script);
    return families;
}

} // namespace

void FrmMain::applyLanguage(const QString &code)
{
    loadLanguageTable(code);
    applyQtTranslation(code);

    // 1-2: the check marks, the code, the fonts.
    mnuLngEN->setChecked(false);
    mnuLngTW->setChecked(false);
    mnuLngGB->setChecked(false);
    mnuLanguageTag = code;
    if (code == QLatin1String("en")) {
        mnuLngEN->setChecked(true);
    } else if (code == QLatin1String("tw")) {
        mnuLngTW->setChecked(true);
        for (PictureBox *box : {picEncodeEsti, picProgress}) {
            QFont f = box->font();
            f.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
            box->setFont(f);
        }
        QFont f = picProgress->font();
        f.setPointSize(9);
        picProgress->setFont(f);
    } else if (code == QLatin1String("gb")) {
        mnuLngGB->setChecked(true);
    }
    // Chinese captions need the glyphs of their own script, in every window and box.
    applyInterfaceFont(code);
    const QString family = fontFamilyFor(code);
    for (QWidget *w : findChildren<QWidget *>()) {
        QFont f = w->font();
        if (w == picEncodeEsti || w == picProgress) {
            f.setFamilies(withScriptFamily(f.families(), family));
        } else {
            f.setFamilies({family, QStringLiteral("Noto Sans CJK TC")});
        }
        w->setFont(f);
    }

    // 3: the buttons.
    cmdInput->setCaption(lng[txt::SourceWord]);
    cmdInput->setToolTip(lng[txt::DragFileHere]);
    cmdOutput->setCaption(lng[txt::TargetWord]);
    cmdEncode[0]->setCaption(lng[txt::StartWord] + lng[txt::ConversionWord]);
    cmdEncode[1]->setCaption(lng[txt::StopWord] + lng[txt::ConversionWord]);
    cmdOpt->setCaption(lng[txt::ConversionWord] + lng[txt::SettingsWord]);
    // A job keeps its kind; its words, the captions and the target format the options
    // dialog shows are taken again from the new table.
    if (engine::targetKindOf(jobstate::jobSettings)) {
        const engine::JobTexts job = engine::retranslateJob(jobstate::jobSettings);
        cmdOpt->setCaption(job.optCaption);
        cmdEncode[0]->setCaption(job.encodeCaption);
        cmdEncode[1]->setCaption(job.stopCaption);
        frmOptions().setFormatCaption(job.formatText);
    }

    // 4: the progress bar at rest.
    setProgressNote(0, withAaa(lng[txt::ProgressPercent], QStringLiteral("0")), true);

    // 5: the path labels, unless they name a source.
    QString src = lblInput->text();
    if (!fileObject().FileExists(src)) {
        lblInput->setText(lng[txt::NoSourceChosen]);
        lblOutput->setText(lng[txt::NoTargetChosen]);
    }

    // 6: the hover link and the play entry points.
    lblMsgSay->setText(lng[txt::VisitBlog]);
    mnuToPlay[0]->setText(lng[txt::PlayNewFileTip]);
    mnuToPlay[1]->setText(lng[txt::PlayCurrentSource]);

    // 7: the target menu.
    mnuToEncodeMusic->setTitle(lng[txt::ToAudioMenu]);
    mnuToEncode->setTitle(lng[txt::VideoToVideoMenu]);
    mnuToChangeVol->setTitle(lng[txt::ChangeVolumeMenu]);
    mnuToCut->setTitle(lng[txt::CutVideoMenu]);
    mnuToFix->setTitle(lng[txt::RepairVideoMenu]);
    for (const engine::TargetMenuItem &item : engine::targetMenuItems()) {
        if (item.separator)
            continue;
        QList<QAction *> *list = nullptr;
        switch (item.menu) {
        case engine::TargetMenu::ToMpg: list = &mnuSrcIsFileToMpg; break;
        case engine::TargetMenu::ToWmv: list = &mnuSrcIsFileToWmv; break;
        case engine::TargetMenu::ToAvi: list = &mnuSrcIsFileToAvi; break;
        case engine::TargetMenu::ToSound: list = &mnuSrcIsFileToSound; break;
        case engine::TargetMenu::ToChangeVol: list = &mnuSrcIsFileToChangeVol; break;
        case engine::TargetMenu::ToCut: list = &mnuSrcIsFileToCut; break;
        case engine::TargetMenu::ToFix: list = &mnuSrcIsFileToFix; break;
        }
        if (list && item.index < list->size() && list->at(item.index))
            list->at(item.index)->setText(engine::targetMenuCaption(item));
    }
    mnuToScreenshot->setText(lng[txt::ScreenshotsMenu]);

    // 8: the target button's menu.
    mnuToPlay2->setText(lng[txt::PlayCurrentTarget]);
    mnuTargetFile->setText(lng[txt::ChooseTargetAgain]);
    mnuTargetDir->setTitle(lng[txt::SetDefaultTargetFolder]);
    mnuTargetDefDir[0]->setText(lng[txt::AlwaysSaveIn] + lng[txt::SourcesFolder]);
    mnuTargetDefDir[1]->setText(lng[txt::AlwaysSaveIn] + mnuTargetDefDir1Tag);

    // 9: the help menu.
    mnuMoney->setText(lng[txt::DonateMenu]);
    mnuNotice->setText(lng[txt::LatestNotice]);
    mnuBlog->setText(lng[txt::AuthorsBlog]);
    mnuHelp->setText(lng[txt::HelpTopics]);
    mnuVerNote->setText(lng[txt::VersionNotes]);
    mnuLearn->setText(lng[txt::Tutorial]);
    mnuUpdate->setText(lng[txt::LookForLatestVersion]);
    mnuDownloadFamily->setTitle(lng[txt::DownloadRelated]);
    const QStringList family10 = mainwin::familyProducts();
    for (size_t i = 0; i < mnuDlFamilyNew.size(); ++i)
        mnuDlFamilyNew[i]->setText(lng[txt::DownloadWord] + family10.value(int(i)));
    for (size_t i = 0; i < mnuDlFamily.size(); ++i)
        mnuDlFamily[i]->setText(lng[txt::DownloadWord] + family10.value(int(mnuDlFamilyNew.size() + i)));
    mnuAbout->setText(lng[txt::AboutThisSoftware]);
    mnuCoopAds->setText(lng[txt::CooperationMenu]);

    // 10: the source information.
    setVideoInfoNote();

    // 11-13: the options dialog and the player window.
    applyOptionsLanguage();

    // 14: the help file of the language.
    if (!mnuLanguageTag.isEmpty())
        copyHelpFile(code, helpPath);
}
