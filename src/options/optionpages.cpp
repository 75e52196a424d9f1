#include "options/optionpages.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "coregui/jobstate.h"

#include <QCollator>
#include <algorithm>
#include <cmath>

using mdlMavrell::lng;

namespace opt {

namespace {

const QString kBy = QStringLiteral(" x ");
// The word of the four fixed keep-proportion items; the built-in tables use it as txt::SourceRatio too.
const QString kKeepWord = QStringLiteral("原比例");

bool containsWord(const QString &text, const QString &word)
{
    return !word.isEmpty() && text.contains(word, Qt::CaseInsensitive);
}

// A width with the height kept in the source's proportions. The fixed items are also
// recognised by their own word, so a table whose txt::SourceRatio differs still derives them.
bool isKeepProportionItem(const QString &text)
{
    return containsWord(text, kBy + lng[txt::SourceRatio]) || containsWord(text, kBy + kKeepWord);
}

QString customWord()
{
    QString w = lng[txt::CustomTimes];
    return w.remove(kBy).trimmed();
}

float sourceProportion()
{
    using namespace mdlMavrell;
    if (jobstate::sourceInfo.srcWidth == 0 || jobstate::sourceInfo.srcHeight == 0)
        return 1.0f;
    return float(double(jobstate::sourceInfo.srcHeight) / double(jobstate::sourceInfo.srcWidth));
}

float fixedProportion(const QString &text, float otherwise)
{
    if (text.contains(QLatin1String("4:3")))
        return 3.0f / 4.0f;
    if (text.contains(QLatin1String("1.66:1")))
        return 0.6f;
    if (text.contains(QLatin1String("16:9")))
        return 9.0f / 16.0f;
    return otherwise;
}

// Width box 0 or empty takes the source width; then the height is derived, even.
void deriveHeight(OptionsForm &f, float proportion)
{
    if (numbertext::Val(f.txtSize[0].text) == 0)
        f.txtSize[0].text = numbertext::integer(jobstate::sourceInfo.srcWidth);
    const double width = numbertext::Val(f.txtSize[0].text);
    double h = numbertext::Int(width * double(proportion));
    if (std::fmod(h, 2.0) != 0)
        h += 1;
    f.txtSize[1].text = numbertext::number(h);
}

QString text(double v) { return numbertext::number(v); }

} // namespace

void SetSizeSetting(OptionsForm &f)
{
    using namespace mdlMavrell;
    const int item = f.cboSize.listIndex;
    const QString t = f.cboSize.text;
    if (item == 0) {
        f.txtSize[0].text = numbertext::integer(jobstate::sourceInfo.srcWidth);
        f.txtSize[1].text = numbertext::integer(jobstate::sourceInfo.srcHeight);
    } else if (item > 0 && isKeepProportionItem(t)) {
        if (!containsWord(t, lng[txt::CustomTimes]))
            f.txtSize[0].text = text(numbertext::Val(t.left(t.indexOf(kBy))));
        deriveHeight(f, sourceProportion());
    } else if (item > 0 && containsWord(t, lng[txt::CustomTimes])) {
        deriveHeight(f, fixedProportion(t, sourceProportion()));
    } else if (item > 1 && t.contains(kBy)) {
        const int at = int(t.indexOf(kBy));
        f.txtSize[0].text = text(numbertext::Val(t.left(at)));
        f.txtSize[1].text = text(numbertext::Val(t.mid(at + kBy.size())));
    }
    f.txtSize[0].enabled = containsWord(t, customWord());
    f.txtSize[1].enabled = item == 1;
}

void txtSizeLostFocus(OptionsForm &f, int index)
{
    if (index != 0 || f.txtSize[1].enabled)
        return;
    deriveHeight(f, fixedProportion(f.cboSize.text, sourceProportion()));
}

void SetAudioSetting(OptionsForm &f, bool isToDefault)
{
    if (isToDefault)
        f.txtAudioDelay.text = QStringLiteral("0");
    const bool on = f.optAudio[0].value;
    if (jobstate::jobSettings.targetExt != QLatin1String("wav")) {
        f.lblAudioBitrateStr.enabled = on;
        f.cboAudioBitrate.enabled = on;
    }
    f.lblAudioSampleStr.enabled = on;
    f.cboAudioSample.enabled = on;
    if (!isAudioTarget(jobstate::jobSettings)) {
        f.lblAudioDelayStr.enabled = on;
        f.txtAudioDelay.enabled = on;
        f.chkAudioVolnorm.enabled = on;
    }
    f.lblVolume.enabled = on;
    // The buttons stay enabled; their pointer shows whether the adjuster applies.
    for (Button &b : f.imgVolume)
        b.mousePointer = on ? 99 : 0;
}

int defaultSubFontIndex(const QStringList &items, const QString &language, const QStringList &families)
{
    // The item of a family, its regular face first; -1 when the family is not listed.
    auto byFamily = [&](const QString &family) {
        int any = -1;
        for (int i = 0; i < items.size() && i < families.size(); ++i) {
            if (families[i].compare(family, Qt::CaseInsensitive) != 0)
                continue;
            const QString l = items[i].toLower();
            if (l.contains(QLatin1String("regular")) || l.contains(QLatin1String("(dejavusans.ttf)")))
                return i;
            if (any < 0)
                any = i;
        }
        return any;
    };
    int index = -1;
    int arial = -1;
    for (int i = 0; i < items.size(); ++i) {
        const QString l = items[i].toLower();
        if (language == QLatin1String("tw") && l.contains(QLatin1String("kaiu.ttf")))
            index = i;
        if (language == QLatin1String("gb") && l.contains(QLatin1String("simhei.ttf")))
            index = i;
        if (l.contains(QLatin1String("arial.ttf")))
            arial = i;
    }
    if (index == -1 && language == QLatin1String("tw"))
        index = byFamily(QStringLiteral("Noto Sans CJK TC"));
    if (index == -1 && language == QLatin1String("gb"))
        index = byFamily(QStringLiteral("Noto Sans CJK SC"));
    if (arial == -1)
        arial = byFamily(QStringLiteral("Liberation Sans"));
    if (arial == -1)
        arial = byFamily(QStringLiteral("DejaVu Sans"));
    if (arial == -1)
        arial = 0;
    if (language == QLatin1String("en") || index == -1)
        index = arial;
    return index;
}

void fillSubFontList(OptionsForm &f, const QList<mdlGetFontsFile::FontItem> &fonts, const QString &language)
{
    f.cboSubFont.clear();
    // In the order of a font list: alphabetical, without regard to case, numbers by value.
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    order.setNumericMode(true);
    f.subFonts = fonts;
    std::stable_sort(f.subFonts.begin(), f.subFonts.end(),
                     [&order](const auto &a, const auto &b) { return order.compare(a.text, b.text) < 0; });
    for (const auto &font : f.subFonts)
        f.cboSubFont.add(font.text);
    QStringList families;
    for (const auto &font : f.subFonts)
        families << font.family;
    mdlMavrell::defaultSubFontIndex = defaultSubFontIndex(f.cboSubFont.items, language, families);
    f.cboSubFont.select(mdlMavrell::defaultSubFontIndex);
}

void SetSubSetting(OptionsForm &f, bool isToDefault)
{
    if (isToDefault) {
        f.cboSubFont.select(mdlMavrell::defaultSubFontIndex);
        f.txtSubSize.text = QStringLiteral("4");
        f.txtSubPosHgt.text = QStringLiteral("5");
        f.txtSubOutline.text = QStringLiteral("2");
        f.txtSubBlur.text = QStringLiteral("2");
        f.txtSubDelay.text = QStringLiteral("0");
    }
    const bool on = !f.optSub[0].value;
    f.txtSubFile.enabled = on;
    f.mbSubFIle.enabled = on;
    for (Label *l : {&f.lblSubcpStr, &f.lblSubFontStr, &f.lblSubSizeStr, &f.lblSubPosHgtStr, &f.lblSubPosHgt2Str,
                     &f.lblSubOutlineStr, &f.lblSubBlurStr, &f.lblSubDelayStr})
        l->enabled = on;
    f.cboSubcp.enabled = on;
    f.cboSubFont.enabled = on;
    for (TextBox *t : {&f.txtSubSize, &f.txtSubPosHgt, &f.txtSubOutline, &f.txtSubBlur, &f.txtSubDelay})
        t->enabled = on;
}

void adjusterClick(OptionsForm &f, Adjuster a, int index)
{
    Label &label = valueLabel(f, a);
    if (!label.enabled || index < 0 || index > 2)
        return;
    if (index == 2)
        label.tag = adjusterButtons(f, a)[2].tag;
    else
        label.tag = text(numbertext::Val(label.tag) + (2 * index - 1) * 2);
    const double v = numbertext::Val(label.tag);
    if (v > 100)
        label.tag = QStringLiteral("100");
    else if (v < -100)
        label.tag = QStringLiteral("-100");
    setLblColorAndVolPara(f, captionMode(a), false);
    if (a == Adjuster::Hue)
        f.lneCrSpecX = hueMarkerX(numbertext::Val(label.tag), f.picCrSpecScaleWidth);
}

void setLblColorAndVolPara(OptionsForm &f, int mode, bool all)
{
    const QString eq = QStringLiteral(" = ");
    auto value = [](const Label &l) { return text(numbertext::Val(l.tag)); };
    auto sign = [](const Label &l) { return numbertext::Val(l.tag) >= 0 ? QStringLiteral("+") : QString(); };
    auto percent = [&](Label &l, int entry) { l.caption = lng[entry] + eq + sign(l) + value(l) + QStringLiteral(" %"); };
    if (all || mode == 0)
        f.lblVolPlay.toolTip = lng[txt::VolumeWord] + eq + text(numbertext::Val(f.lblVolPlay.tag));
    if (all || mode == 1)
        percent(f.lblBrightness, txt::BrightnessWord);
    if (all || mode == 2)
        percent(f.lblContrast, txt::ContrastWord);
    if (all || mode == 3)
        f.lblHue.caption = lng[txt::HueWord] + eq + value(f.lblHue) + ' ' + lng[txt::Units];
    if (all || mode == 4)
        percent(f.lblSaturation, txt::SaturationWord);
    if (all || mode == 5)
        f.lblVolume.caption = lng[txt::VolumeWord] + eq + sign(f.lblVolume) + value(f.lblVolume) + ' ' + lng[txt::Decibel];
}

double hueMarkerX(double hue, double scaleWidth)
{
    double x = (hue + 100) / 200 * scaleWidth;
    if (x < 1)
        x = 1;
    if (x >= scaleWidth)
        x = scaleWidth - 1;
    return x;
}

QString playbackVolumeClick(OptionsForm &f, int index)
{
    double v = numbertext::Val(f.lblVolPlay.tag) + (2 * index - 1) * 5;
    if (v > 100)
        v = 100;
    if (v < 0)
        v = 0;
    f.lblVolPlay.tag = text(v);
    setLblColorAndVolPara(f, 0, false);
    return QStringLiteral("volume ") + f.lblVolPlay.tag + QStringLiteral(" 1");
}

int lblVolPlayClick(OptionsForm &f)
{
    f.lblVol[0].visible = !f.lblVol[0].visible;
    f.lblVol[1].visible = f.lblVol[0].visible;
    return f.lblVol[0].visible ? txt::AdjustVolumeTip : txt::AdjustVolumeClickTip;
}

} // namespace opt
