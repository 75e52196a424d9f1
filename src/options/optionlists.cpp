#include "options/optionlists.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "coregui/jobstate.h"
#include "engine/optionpresets.h"
#include "engine/targetkinds.h"
#include "options/optionpages.h"
#include "options/optionsummary.h"

using mdlMavrell::lng;

namespace opt {

namespace {

QString withWord(const char *number, int entry) { return QLatin1String(number) + lng[entry]; }

void fill(Combo &cbo, const QStringList &items)
{
    cbo.clear();
    for (const QString &s : items)
        cbo.add(s);
}

// Whether a list item stands for the source's own value (txt::SameAsSource) rather than a number.
bool isSourceItem(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && !t[0].isDigit() && t[0] != '.';
}

} // namespace

void setCboFpsItem(Combo &cbo, bool isMPG)
{
    cbo.clear();
    if (!isMPG) {
        cbo.add(lng[txt::SameAsSource]);
        for (const char *r : {"5", "8", "10", "12", "12.5", "14.985", "15"})
            cbo.add(QLatin1String(r));
        cbo.add(withWord("20", txt::QualityNormal));
    }
    for (const char *r : {"23.976", "24", "25", "29.97", "30"})
        cbo.add(withWord(r, txt::QualityNormal));
}

void setCboFpsItemIsWmv(Combo &cbo, float fps)
{
    cbo.clear();
    cbo.add(lng[txt::SameAsSource]);
    cbo.select(0);
    // Compared in single precision, so that a 29.97 source reaches "29.97".
    for (const char *r : {"5", "8", "10", "12", "15"}) {
        if (fps >= float(numbertext::Val(QLatin1String(r)))) {
            cbo.add(QLatin1String(r));
            cbo.select(cbo.count() - 1);
        }
    }
    if (fps >= 20.0f) {
        cbo.add(withWord("20", txt::QualityNormal));
        cbo.select(cbo.count() - 1);
    }
    for (const char *r : {"24", "25", "29.97"})
        if (fps >= float(numbertext::Val(QLatin1String(r))))
            cbo.add(withWord(r, txt::QualityNormal));
    const float last = float(numbertext::Val(cbo.items.last()));
    if (last < fps) {
        cbo.add(numbertext::single(fps));
        if (fps < 20.0f)
            cbo.select(cbo.count() - 1);
    }
}

void setCboVideoBitrateItem(Combo &cbo, bool isMPEG1)
{
    cbo.clear();
    if (!isMPEG1) {
        for (const char *r : {"48", "96", "160", "200", "250", "360"})
            cbo.add(QLatin1String(r));
        cbo.add(withWord("600", txt::QualityLow));
        cbo.add(QStringLiteral("800"));
    }
    cbo.add(withWord("1152", txt::QualityMedium));
    cbo.add(QStringLiteral("1475"));
    cbo.add(withWord("1775", txt::QualityHigh));
    cbo.add(QStringLiteral("2400"));
    cbo.add(QStringLiteral("4800"));
}

void setCboRotateItem(Combo &cbo, bool isVCDDVD)
{
    cbo.clear();
    for (int e : {txt::NoFlipNoRotation, txt::FlipHorizontally, txt::FlipVertically, txt::Rotate180})
        cbo.add(lng[e]);
    if (!isVCDDVD)
        for (int e : {txt::TurnRight90, txt::TurnRightAndFlip, txt::TurnLeft90, txt::TurnLeftAndFlip})
            cbo.add(lng[e]);
}

// The four "W x <source ratio>" items take the word of the language in use, so an
// English list reads "320 x source ratio"; the Chinese tables' word is the same as before.
QStringList sizeItems()
{
    QStringList items{lng[txt::SameAsSource], lng[txt::CustomPictureSize], lng[txt::CustomTimes] + lng[txt::SourceRatio], lng[txt::CustomTimes] + QStringLiteral("4:3"),
                      lng[txt::CustomTimes] + QStringLiteral("1.66:1"), lng[txt::CustomTimes] + QStringLiteral("16:9")};
    for (const char *s : {"128 x 96", "176 x 144", "208 x 176", "220 x 176", "240 x 160", "240 x 180",
                          "320 x 136", "320 x 180", "320 x 240"})
        items << QLatin1String(s);
    items << QStringLiteral("320 x ") + lng[txt::SourceRatio];
    for (const char *s : {"352 x 240", "352 x 288", "368 x 208", "480 x 272", "480 x 320", "480 x 360"})
        items << QLatin1String(s);
    items << QStringLiteral("480 x ") + lng[txt::SourceRatio];
    for (const char *s : {"512 x 384", "640 x 360", "640 x 480"})
        items << QLatin1String(s);
    items << QStringLiteral("640 x ") + lng[txt::SourceRatio];
    for (const char *s : {"720 x 416", "720 x 480", "720 x 576"})
        items << QLatin1String(s);
    items << QStringLiteral("720 x ") + lng[txt::SourceRatio];
    return items;
}

QStringList subcpItems() { return {lng[txt::DefaultEncoding], lng[txt::CodePage950], lng[txt::CodePage936], lng[txt::CodePage1250], lng[txt::CodePageUnicode]}; }

QStringList audioBitrateItems()
{
    return {QStringLiteral("32"), QStringLiteral("48"), QStringLiteral("56"), withWord("64", txt::QualityLow),
            QStringLiteral("80"), QStringLiteral("112"), withWord("128", txt::QualityMedium), QStringLiteral("160"),
            QStringLiteral("192"), withWord("224", txt::QualityHigh), QStringLiteral("256"), QStringLiteral("320")};
}

QStringList audioSampleItems() { return engine::audioSampleItems(); }

void fillDesignLists(OptionsForm &f)
{
    fill(f.cboAudioSample, audioSampleItems());
    fill(f.cboSize, sizeItems());
    fill(f.cboSubcp, subcpItems());
    fill(f.cboAudioBitrate, audioBitrateItems());
}

void ChangeLanguage(OptionsForm &f)
{
    f.lblMark[0].caption = lng[txt::MarkStart];
    f.lblMark[1].caption = lng[txt::MarkEnd];
    f.cmdOkCancel[0].caption = lng[txt::OkWord];
    f.cmdOkCancel[1].caption = lng[txt::CancelWord];
    const QString eq = QStringLiteral(" = ");
    f.lblVolume.caption = lng[txt::VolumeWord] + eq;
    f.lblBrightness.caption = lng[txt::BrightnessWord] + eq;
    f.lblContrast.caption = lng[txt::ContrastWord] + eq;
    f.lblHue.caption = lng[txt::HueWord] + eq;
    f.lblSaturation.caption = lng[txt::SaturationWord] + eq;

    // The format label keeps its value part: label "=" value.
    const QStringList parts = f.lblFormatStr.caption.split(QLatin1Char('='));
    const QString value = parts.size() > 1 ? parts[1].trimmed() : QString();
    f.lblFormatStr.caption = lng[txt::TargetFormatIs] + value;

    f.lblFpsStr.caption = lng[txt::PlaybackFrameRate];
    f.lblScopeStr.caption = lng[txt::MarkedTimeRangeIs];
    f.lblSizeStr.caption = lng[txt::PictureScaling];
    f.lblCropStr.caption = lng[txt::PictureCropHint];
    // English "Settings" carries the blank it needs after the word it follows elsewhere;
    // a caption does not start with it.
    auto leftTrimmed = [](QString text) {
        while (!text.isEmpty() && text.front().isSpace())
            text.remove(0, 1);
        return text;
    };
    f.lblVideoBitrateStr.caption = leftTrimmed(lng[txt::SettingsWord] + lng[txt::VideoBitrateWord] + eq);
    f.lblAudioBitrateStr.caption = leftTrimmed(lng[txt::SettingsWord] + lng[txt::AudioBitrateWord] + eq);
    f.lblRotateStr.caption = lng[txt::FlipAndRotation];
    f.lblRotateStr2.caption = lng[txt::FlipRotateComesLast];
    f.optScaleCrop[0].caption = lng[txt::ResizeThenCrop];
    f.optScaleCrop[1].caption = lng[txt::CropThenResize];
    f.lblExpandStr.caption = lng[txt::AddBordersIs];
    const std::array<txt::Entry, 4> borderNames{txt::TopBorder, txt::BottomBorder, txt::LeftBorder, txt::RightBorder};
    for (size_t i = 0; i < borderNames.size(); ++i)
        f.lblExpand2Str[i].caption = lng[borderNames[i]];
    f.optAudio[0].caption = lng[txt::OutputAudio];
    f.optAudio[1].caption = lng[txt::NoAudioOutput];
    f.lblAudioSampleStr.caption = lng[txt::AudioSampleRateIs];
    f.lblAudioDelayStr.caption = lng[txt::AudioDelayIs];
    f.chkAudioVolnorm.caption = lng[txt::NormaliseVolume];
    f.optSub[0].caption = lng[txt::NoSubtitles];
    f.optSub[1].caption = lng[txt::ChooseSubtitleFile];
    f.lblSubSizeStr.caption = lng[txt::SubtitleFontSize];
    f.lblSubPosHgtStr.caption = lng[txt::SubtitleHeight];
    f.lblSubPosHgt2Str.caption = lng[txt::PercentOfVideoHeight];
    f.lblSubOutlineStr.caption = lng[txt::SubtitleOutlineWidth];
    f.lblSubBlurStr.caption = lng[txt::SubtitleBlur];
    f.lblSubDelayStr.caption = lng[txt::SubtitleDelayIs];
    f.lblSubFontStr.caption = lng[txt::SubtitleFontIs];
    f.lblSubcpStr.caption = lng[txt::SubtitleCodePageIs];
    f.cmdSubPlay.caption = lng[txt::ApplyToPlaying];

    // The sample rates are numbers in every language: the list is filled once, and a
    // target's preset then offers the rates its encoder takes.
    if (f.cboAudioSample.count() == 0)
        fill(f.cboAudioSample, audioSampleItems());

    const int size = f.cboSize.listIndex;
    fill(f.cboSize, sizeItems());
    f.cboSize.select(size);
    if (size >= 0)
        SetSizeSetting(f);  // a new selection runs the size list's click

    const int cp = f.cboSubcp.listIndex;
    fill(f.cboSubcp, subcpItems());
    f.cboSubcp.select(cp);

    const int rate = f.cboAudioBitrate.listIndex;
    const QString typed = f.cboAudioBitrate.text;
    fill(f.cboAudioBitrate, audioBitrateItems());
    f.cboAudioBitrate.select(rate);
    if (rate == -1)
        f.cboAudioBitrate.text = isSourceItem(typed) ? lng[txt::SameAsSource] : typed;

    f.lblScopeNote.caption = SetScopeNote(f);
}

int findSameValue(const Combo &cbo, const QString &oldText, bool oldWasSourceItem)
{
    if (oldWasSourceItem) {
        for (int i = 0; i < cbo.count(); ++i)
            if (isSourceItem(cbo.items[i]))
                return i;
        return -1;
    }
    const float v = float(numbertext::Val(oldText));
    for (int i = 0; i < cbo.count(); ++i)
        if (!isSourceItem(cbo.items[i]) && float(numbertext::Val(cbo.items[i])) == v)
            return i;
    return -1;
}

namespace {

// Rebuilds one list and finds the old choice again by its value; a typed value, or
// one the new list lacks, stays as the number that was shown.
template <typename Build>
void rebuildKeepingValue(Combo &cbo, Build build)
{
    const int oldIndex = cbo.listIndex;
    const QString oldText = cbo.text;
    const bool wasSource = oldIndex >= 0 && isSourceItem(oldText);
    build();
    if (oldIndex < 0) {
        // Only numbers can be typed: a word there is the source's own value, shown in
        // the language of the list.
        const QString kept = isSourceItem(oldText) ? lng[txt::SameAsSource] : oldText;
        if (cbo.listIndex < 0)
            cbo.text = kept;
        else if (!oldText.isEmpty()) {
            cbo.listIndex = -1;
            cbo.text = kept;
        }
        return;
    }
    const int found = findSameValue(cbo, oldText, wasSource);
    if (found >= 0) {
        cbo.select(found);
    } else if (!wasSource) {
        cbo.listIndex = -1;
        cbo.text = numbertext::number(numbertext::Val(oldText));
    }
}

} // namespace

void rebuildTargetLists(OptionsForm &f)
{
    using namespace mdlMavrell;
    const engine::TargetKind *kind = engine::targetKindOf(jobstate::jobSettings);
    const bool isMpeg1 = jobstate::jobSettings.targetExt == QLatin1String("mpg") && kind
                         && kind->family == engine::TargetFamily::Mpeg1;
    const bool isVcdDvd = kind && kind->fixedFrame;
    rebuildKeepingValue(f.cboFps, [&] {
        if (jobstate::jobSettings.targetExt == QLatin1String("wmv"))
            setCboFpsItemIsWmv(f.cboFps, jobstate::sourceInfo.srcFps);
        else
            setCboFpsItem(f.cboFps, isMpeg1);
    });
    rebuildKeepingValue(f.cboVideoBitrate, [&] { setCboVideoBitrateItem(f.cboVideoBitrate, isMpeg1); });
    // Rotation items mean the same in every language: keep the index while it exists.
    const int rotate = f.cboRotate.listIndex;
    setCboRotateItem(f.cboRotate, isVcdDvd);
    f.cboRotate.select(rotate < f.cboRotate.count() ? rotate : 0);
}

int filterKey(KeyFilter filter, int keyAscii)
{
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (digit || keyAscii == 8)
        return keyAscii;
    switch (filter) {
    case KeyFilter::FpsCombo: return keyAscii == '.' ? keyAscii : 0;
    case KeyFilter::SignedDecimal: return keyAscii == '.' || keyAscii == '-' ? keyAscii : 0;
    case KeyFilter::BitrateCombo:
    case KeyFilter::DigitsBox: break;
    }
    return 0;
}

} // namespace opt
