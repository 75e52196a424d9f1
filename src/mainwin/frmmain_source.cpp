// The source side of a new job: the target-menu items, the source dialog, the probe
// with its busy note, the target name, and the options dialog put into its neutral
// state and the target's presets. The decisions themselves live in the engine
// (targetmenu.h, jobplan.h, optionpresets.h, tabmasks.h); this file applies them.
#include "mainwin/frmmain.h"

#include "controls/stylebutton.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "engine/jobplan.h"
#include "engine/optionpresets.h"
#include "engine/tabmasks.h"
#include "options/frmoptions.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace mdlMavrell;

void FrmMain::targetMenu_Click(engine::TargetMenu menu, int index)
{
    QString caption;
    const QList<QAction *> *items = nullptr;
    switch (menu) {
    case engine::TargetMenu::ToMpg: items = &mnuSrcIsFileToMpg; break;
    case engine::TargetMenu::ToWmv: items = &mnuSrcIsFileToWmv; break;
    case engine::TargetMenu::ToAvi: items = &mnuSrcIsFileToAvi; break;
    default: break;
    }
    // Video items take their format caption from the caption as shown.
    if (items && index >= 0 && index < items->size() && items->at(index))
        caption = items->at(index)->text();
    const std::optional<engine::TargetChoice> choice = engine::targetChoice(menu, index, caption);
    if (!choice)
        return;
    openSourceForTarget(*choice);
}

void FrmMain::resetOptionsForm()
{
    FrmOptions &options = frmOptions();
    options.edit([](opt::OptionsForm &f) {
        f.lblVolPlay.tag = QStringLiteral("100");
        for (opt::Adjuster a : {opt::Adjuster::Volume, opt::Adjuster::Brightness, opt::Adjuster::Contrast,
                                opt::Adjuster::Hue, opt::Adjuster::Saturation}) {
            opt::valueLabel(f, a).tag.clear();
            opt::adjusterButtons(f, a)[2].tag.clear();
        }
    });
    options.setLblColorAndVolPara(0, true);
}

void FrmMain::openSourceForTarget(const engine::TargetChoice &choice)
{
    if (busyGuard() || !cmdEncode[1]->isHidden())
        return;
    closePlayerWindow();

    cmdInput->setTag(QStringLiteral("inUse"));
    const QString source = engine::chooseSource(choice, this);
    if (source.isEmpty()) {
        cmdInput->setTag(QString());
        return;
    }

    // A usable file: the labels show the new source before it is probed. An unusable
    // one is refused by planJob (txt::InvalidFileName) with the previous job left as it was.
    if (engine::checkFileExists(source)) {
        lblEncodeNote->clear();
        lblOutput->clear();
        lblOutput->setToolTip(QString());
        QCoreApplication::processEvents();
        lblInput->setText(source);
        alignPathLabels();
        lblInput->setToolTip(source);
    }

    engine::PlanSettings settings;
    settings.targetBesideSource = mnuTargetDefDir[0]->isChecked();
    settings.fixedFolder = mnuTargetDefDir1Tag;
    settings.language = mnuLanguageTag;
    settings.analyse.checkAsfMci = !chkCheckAsfMci->isHidden() && chkCheckAsfMci->isChecked();
    settings.analyse.busy = [this](bool busy) {
        setVideoInfoNote();
        if (busy) {
            lblInputCheck->setText(lng[txt::AnalysingSource]);
            lblInputCheck->move(lblInputCheck->x(),
                                cmdInput->y() + (cmdInput->height() - lblInputCheck->height()) / 2 + 2);
            lblInputCheck->show();
            lblInputCheck->raise();
            lblInput->hide();
            lblVideoSize->hide();
            lblVideoLen->hide();
        } else {
            lblVideoLen->setToolTip(engine::sourceSummary(jobstate::sourceInfo));
            lblInputCheck->hide();
            lblInput->show();
            lblVideoSize->show();
            lblVideoLen->show();
            stopFunEffect();
        }
        QCoreApplication::processEvents();
    };

    const engine::JobPlan plan = engine::planJob(choice, source, settings, jobstate::sourceInfo, jobstate::jobSettings,
                                                 jobstate::previewState);
    if (!plan.started) {
        if (plan.refused) {
            // Nothing of the refused file stays on show as a source.
            lblInput->clear();
            lblInput->setToolTip(QString());
            setVideoInfoNote();
        }
        cmdInput->setTag(QString());
        return;
    }

    lblOutput->setText(plan.target);
    lblOutput->setToolTip(plan.target);
    alignPathLabels();
    resetOptionsForm();

    // The options dialog's neutral state for the new source.
    FrmOptions &options = frmOptions();
    const engine::NeutralOptions &n = plan.neutral;
    options.edit([&n](opt::OptionsForm &f) {
        f.lblMark[0].tag.clear();
        f.lblMark[1].tag.clear();
        f.txtScope[0].text = n.scopeStart;
        f.txtScope[1].text = n.scopeEnd;
        for (opt::TextBox &b : f.txtExpand)
            b.text = n.expand;
        f.txtAudioDelay.text = n.audioDelay;
        f.chkAudioVolnorm.value = n.volnorm ? 1 : 0;
        f.txtSubFile.text = n.subtitleFile;
        f.optSub[0].value = !n.useSubtitle;
        f.optSub[1].value = n.useSubtitle;
        f.optSub[0].enabled = f.optSub[1].enabled = n.subtitleChoice;
        f.cmdSubPlay.enabled = n.subtitleChoice;
        f.cboSubcp.select(n.subtitleCodePage);
        f.optAudio[0].value = true;
        f.optAudio[1].value = false;
    });
    options.shpScope->hide();
    options.SetSubSetting(true);
    options.SetAudioSetting(true);

    // The target's presets and the job defaults the encode step uses as they stand.
    const engine::OptionPreset preset =
        engine::presetJob(jobstate::sourceInfo, jobstate::jobSettings, choice.formatCaption);
    if (const int track = options.imgSliderBG->width(); track > 0)
        jobstate::previewState.secPerSliderUnit = engine::secondsPerSliderUnit(jobstate::sourceInfo, track);
    options.applyPreset(preset);
    // The minus, plus and reset buttons of each adjuster follow their row.
    options.edit([](opt::OptionsForm &f) {
        for (opt::Adjuster a : {opt::Adjuster::Brightness, opt::Adjuster::Contrast, opt::Adjuster::Hue,
                                opt::Adjuster::Saturation, opt::Adjuster::Volume})
            for (opt::Button &b : opt::adjusterButtons(f, a))
                b.enabled = opt::valueLabel(f, a).enabled;
    });
    cmdOpt->setCaption(preset.optCaption);
    cmdEncode[0]->setCaption(preset.encodeCaption);
    cmdEncode[1]->setCaption(preset.stopCaption);
    options.adjustVideoLoc();
    options.shpCrop->hide();
    options.SetScopeNote();
    options.SetMainEncodeNote(jobstate::jobSettings.outWidth, jobstate::jobSettings.outHeight);
    setOptionTabMasks();
    setEncodingControls(false);
    cmdInput->setTag(QString());
}

void FrmMain::setOptionTabMasks()
{
    FrmOptions &options = frmOptions();
    const int pages = int(options.picTabMask.size());
    const QList<engine::TabMask> masks = engine::tabMasks(pages, jobstate::sourceInfo, jobstate::jobSettings);
    for (int i = 0; i < pages && i < masks.size(); ++i) {
        QFrame *mask = options.picTabMask[size_t(i)];
        QLabel *message = options.lblTabMaskMsg[size_t(i)];
        mask->raise();
        mask->hide();
        message->setText(masks[i].message);
        mask->setVisible(masks[i].visible);
        if (!message->text().isEmpty())
            message->move(engine::centredIn(mask->contentsRect().size(), message->size()));
    }

    QFrame *page = options.picOrvexTab[size_t(engine::SpecialPage)];
    const engine::NotePageLayout layout =
        engine::notePageLayout(page->contentsRect().size(), options.lblTabSpec->size(), options.cmdDonation->size());
    options.cmdDonation->setCaption(layout.donationCaption);
    options.lblTabSpec->setText(layout.note);
    options.lblTabSpec->setGeometry(layout.noteRect);
    options.cmdDonation->setGeometry(layout.buttonRect);
}
