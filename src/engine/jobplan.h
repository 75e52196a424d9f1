// Planning a new job: choosing and checking the source, clearing the previous job,
// the target's extension, folder and name, the options dialog's neutral state for a
// new source, and the output size cap. No window: the main window calls these and
// shows the results.
#pragma once

#include "engine/identifyprobe.h"
#include "engine/targetmenu.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace engine {

// The open dialog's filter text ("Name (*.a;*.b)|*.a;*.b|..."): the start-up filter of
// all supported files, or for a copy operation the accepted container(s) and all files.
QString sourceOpenFilter(const QString &ext, const QString &format);
// That filter text as the dialog's name filters ("Name (*.a *.b)"); "*.*" is "*".
QStringList nameFiltersOf(const QString &filterText);
// Asks for the source with the open dialog; "" when cancelled.
QString chooseSource(const TargetChoice &choice, QWidget *parent = nullptr);

// The target's extension: ext itself, or for a list of accepted containers
// ("mpg|dat|vob") the source's own extension in lower case ("mpeg" is "mpg") when it
// is one of the list's items, else the list's first item.
QString targetExtFor(const QString &ext, const QString &sourcePath);
// "_AudIsMp3.", "_NewVol.", "_Cut.", "_Fix." or ".".
QString targetSuffix(const QString &format);
// Beside the source or the fixed folder; the home folder when that folder is missing,
// not on a local, writable drive, or cannot stand in a command line. Ends in "/".
QString targetFolder(const QString &sourcePath, bool besideSource, const QString &fixedFolder);
// folder + base name + suffix + extension; when that would be the source itself,
// folder + base + "_" + source extension + "2." + extension.
QString targetPathFor(const QString &sourcePath, const QString &folder, const QString &format,
                      const QString &targetExt);
// The subtitle named after the source (".srt") in the target folder, "" when none.
QString subtitleFor(const QString &folder, const QString &sourcePath);
// The subtitle code-page item for the interface language: "tw" 1, "gb" 2, else 0.
int subtitleCodePageIndex(const QString &language);

// Caps the picture size at 1280 on its longer side, keeping the aspect; the scaled
// side is even and at least 2. 0 x 0 stays 0 x 0.
void fitSizeTo1280(int w, int h, int &outW, int &outH);

// The top of a path label centred on its button (the target label one pixel higher).
int pathLabelTop(int buttonTop, int buttonHeight, int labelHeight, bool targetLabel);

// What the options dialog is set to for a new source, before the target's presets.
// Always: no marks, the range bar hidden, the audio output chosen.
struct NeutralOptions {
    QString scopeStart = QStringLiteral("00:00:00.0");
    QString scopeEnd;                       // the source length, hh:mm:ss.s
    QString expand = QStringLiteral("0");   // all four borders
    QString audioDelay = QStringLiteral("0");
    bool volnorm = false;
    QString subtitleFile;                   // preset subtitle, "" for none
    bool useSubtitle = false;               // optSub(1) rather than optSub(0)
    bool subtitleChoice = false;            // the subtitle choices and cmdSubPlay are available
    int subtitleCodePage = 0;               // cboSubcp item
};
// Subtitles only for a source with a length and a picture.
NeutralOptions neutralOptions(const jobrecords::SourceInfo &source, const QString &folder, const QString &sourcePath, const QString &language);

struct PlanSettings {
    bool targetBesideSource = true;  // mnuTargetDefDir(0) checked
    QString fixedFolder;             // mnuTargetDefDir(1)'s folder
    QString language;                // "tw", "gb" or "en"
    AnalyseOptions analyse;
};

struct JobPlan {
    bool started = false;  // false: the source was refused; nothing was changed
    bool refused = false;  // the source was probed and refused: the records are reset
    QString source;
    QString target;
    QString folder;
    QString gifResult;     // what the probe said of a GIF
    NeutralOptions neutral;
};

// The job start after the source was chosen, into the window's records: checks it
// (txt::InvalidFileName and the path when it is no usable file), clears the previous job,
// records the target kind, probes the source (txt::StillGifNotAnimated for a still GIF;
// txt::SourceNotDecodable and a refusal when nothing of it can be decoded), names the
// target, works out the dialog's neutral state and the capped output size (outWidth,
// outHeight).
JobPlan planJob(const TargetChoice &choice, const QString &sourcePath, const PlanSettings &settings,
                jobrecords::SourceInfo &source, jobrecords::JobSettings &job, jobrecords::PreviewState &preview);

// The job start from a menu click, after the main window's busy test: the open dialog,
// then planJob. A cancelled dialog starts nothing and says nothing.
JobPlan openSourceForTarget(const TargetChoice &choice, const PlanSettings &settings, jobrecords::SourceInfo &source,
                            jobrecords::JobSettings &job, jobrecords::PreviewState &preview, QWidget *parent = nullptr);

} // namespace engine
