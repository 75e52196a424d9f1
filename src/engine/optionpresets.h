// The options dialog's presets per target family, as data: which rows are available,
// which list each combo box holds and what it shows, the size boxes, the scale/crop
// order and the first page; and the job defaults stored from them. The dialog applies
// an OptionPreset to its controls; nothing here needs a window.
#pragma once

#include "core/jobrecords.h"
#include "engine/targetkinds.h"

#include <QString>
#include <QStringList>

namespace engine {

// The family of the kind's row (engine/targetkinds.h): the sound-like jobs (keep video,
// audio targets, volume change), cut, repair, MPEG-1, MPEG-2, VCD, DVD, other video;
// a kind the table does not know is VCD or DVD by its extension, else other video.
TargetFamily targetFamily(const QString &targetFormat, const QString &targetExt, bool audioTarget);

// The lists the dialog's combo boxes hold (texts with the suffixes txt::QualityNormal to txt::QualityHigh).
QStringList fpsItems(bool isMpg);                // setCboFpsItem
QStringList videoBitrateItems(bool isMpeg1);     // setCboVideoBitrateItem
QStringList audioBitrateItems();
QStringList audioSampleItems();                  // every rate; a target offers those its encoder takes
QStringList rotateItems(bool isVcdDvd);          // setCboRotateItem

// The frame-rate list of a WMV target: "same as the source", then the fixed rates the
// source reaches, then the source rate itself when it lies above the last of them;
// `selected` is the largest of 5..20 the source reaches, or the source's own rate when
// that lies below 20 and is not in the list.
struct WmvFpsList {
    QStringList items;
    int selected = 0;
};
WmvFpsList wmvFpsItems(float srcFps);            // setCboFpsItemIsWmv

// One combo box after the preset: its list, whether it is available, and which item
// it shows (-1: none, with `text` set to txt::SameAsSource).
struct ComboPreset {
    QStringList items;
    bool enabled = false;
    int index = -1;
    QString text;  // the visible text: the item's, or txt::SameAsSource
};

// Indexes of the size list that the presets select.
inline constexpr int sizeItemSource = 0;
inline constexpr int sizeItemCustom = 1;
inline constexpr int sizeItemVcd = 16;  // "352 x 240"
inline constexpr int sizeItemDvd = 28;  // "720 x 480"

struct OptionPreset {
    TargetFamily family = TargetFamily::OtherVideo;
    // Captions: lblFormatStr is txt::TargetFormatIs followed by formatText.
    QString formatText;
    QString actionWord;
    QString optCaption;     // the main window's settings button
    QString encodeCaption;  // cmdEncode(0)
    QString stopCaption;    // cmdEncode(1)

    bool scopeEnabled = false;
    ComboPreset fps;
    ComboPreset videoBitrate;
    ComboPreset audioBitrate;
    ComboPreset audioSample;
    bool audioOnEnabled = false;   // optAudio(0)
    bool audioOffEnabled = false;  // optAudio(1)
    bool delayNormEnabled = false;
    ComboPreset rotate;            // always item 0 after the preset
    bool sizeEnabled = false;      // txtSize(0..1), lblSizeStr
    int sizeWidth = 0;             // what the size boxes end with
    int sizeHeight = 0;
    int sizeIndex = sizeItemSource;
    bool sizeListEnabled = false;
    bool cropFirst = false;        // optScaleCrop(1) rather than optScaleCrop(0)
    bool scaleCropEnabled = false;
    bool bordersEnabled = false;
    bool pictureEnabled = false;   // brightness, contrast, hue, saturation, crop
    bool volumeEnabled = false;
    int firstPage = 0;
};

// The facts a preset depends on.
struct PresetInput {
    QString targetFormat;
    QString targetExt;
    bool audioTarget = false;
    QString formatCaption;
    int srcWidth = 0, srcHeight = 0;
    int outWidth = 0, outHeight = 0;  // the capped source size
    float srcFps = 0;
    // From the job's records.
    static PresetInput of(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job,
                          const QString &formatCaption);
};

OptionPreset optionPreset(const PresetInput &input);

// The texts a job shows, from the current text table and the row of its kind
// (engine/targetkinds.h): the target format the options dialog shows, the action word,
// and the captions of the main window's settings, encode and stop buttons.
struct JobTexts {
    QString formatText;
    QString actionWord;
    QString optCaption;
    QString encodeCaption;
    QString stopCaption;
};
JobTexts jobTexts(const PresetInput &input);
// After a language change: the job keeps its kind, and its words come again from the
// current text table: the action word, a rate taken from the source (txt::SameAsSource)
// and, for a sound target, its kind name (the sound word and the type). Returns every
// text the job shows.
JobTexts retranslateJob(jobrecords::JobSettings &job);

// The job defaults the encode step uses when the dialog is never opened.
struct JobDefaults {
    QString actionWord;
    int outWidth = 0, outHeight = 0;
    QString scaleFilter;  // " -vf-add scale=W:H"
    QString fpsText, videoBitrateText, audioBitrateText;
};
JobDefaults jobDefaults(const OptionPreset &preset);
// Writes them into the job's settings.
void storeJobDefaults(const JobDefaults &defaults, jobrecords::JobSettings &job);
// The preview's seconds per unit of a slider track sliderWidth units wide (0 for no track).
float secondsPerSliderUnit(const jobrecords::SourceInfo &source, int sliderWidth);
// The preset for the job, its defaults stored into it; the dialog then applies the
// returned preset to its controls.
OptionPreset presetJob(const jobrecords::SourceInfo &source, jobrecords::JobSettings &job, const QString &formatCaption);

} // namespace engine
