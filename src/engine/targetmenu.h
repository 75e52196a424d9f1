// The target menu: every item of the source button's menu, what job it starts, and
// the small helpers the job start uses. Pure data and text; no window.
#pragma once

#include "core/jobrecords.h"

#include <QList>
#include <QString>
#include <optional>

namespace engine {

// The seven menu arrays of the target menu, by control name.
enum class TargetMenu { ToMpg, ToWmv, ToAvi, ToSound, ToChangeVol, ToCut, ToFix };

struct TargetMenuItem {
    TargetMenu menu;
    QString controlName;  // "mnuSrcIsFileToMpg", ...
    int index = 0;
    bool separator = false;
    // The target extension, or for the copy operations the accepted source
    // extensions ("mpg|dat|vob").
    QString ext;
    // The job kind (engine/targetkinds.h); for sound items the upper-case type
    // ("WAV"), the kind itself being the sound word and that type.
    QString format;
    // How far before the "[" the format caption starts (0: the item passes none).
    int back = 0;
    // What follows txt::ChooseVideoToConvert (video items), the file types put into
    // txt::ChooseFileForVolume, txt::ChooseFileToCut and txt::ChooseFileToRepair (copy
    // operations) or the type after txt::ChooseFileToAudio (sound items).
    QString captionText;
    bool recommended = false;  // txt::Recommended follows the caption
};

// Every item, in menu order, separators included.
const QList<TargetMenuItem> &targetMenuItems();
const TargetMenuItem *findTargetMenuItem(TargetMenu menu, int index);
QString targetMenuControlName(TargetMenu menu);
// The item a job was started from: by its kind and target extension (a sound target by
// its extension); nullptr when no item starts such a job.
const TargetMenuItem *targetMenuItemOf(const jobrecords::JobSettings &job);

// The caption the language step gives an item, from the current text table.
QString targetMenuCaption(const TargetMenuItem &item);

// The format caption cut out of a menu caption: from `back` characters before the
// first "[" through the first "]"; "" when the brackets are missing or misplaced.
QString cutFormatCaption(const QString &caption, int back);

// What a menu click hands to the job start.
struct TargetChoice {
    QString ext;
    QString format;         // stored in targetFormat
    QString formatCaption;  // shown as the target format in the options dialog
    bool audioTarget = false;
};

// The job a click on menu item (menu, index) starts; nothing for a separator or an
// index outside the menu. Video items cut their format caption out of `caption`
// (the item's caption as shown); an empty caption uses targetMenuCaption().
std::optional<TargetChoice> targetChoice(TargetMenu menu, int index, const QString &caption = QString());

} // namespace engine
