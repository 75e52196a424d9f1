#include "options/optionchecks.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/userprompts.h"
#include "coregui/jobstate.h"
#include "options/optionpages.h"
#include "options/optionpieces.h"

#include <array>
#include <optional>

using mdlMavrell::lng;

namespace opt {

namespace {

QString num(double v) { return numbertext::number(v); }

using numbertext::toInt;

int tagIndex(const QString &tag) { return toInt(numbertext::Val(tag)); }

QString boolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

// The Boolean a Tag holds; none when it holds no Boolean (the control is then left alone).
std::optional<bool> tagBool(const QString &tag)
{
    const QString t = tag.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (!t.isEmpty() && (t[0].isDigit() || t[0] == '-'))
        return numbertext::Val(t) != 0;
    return std::nullopt;
}

void restorePair(std::array<Option, 2> &pair)
{
    if (const auto v = tagBool(pair[0].tag)) {
        pair[0].value = *v;
        pair[1].value = !*v;
    }
}

QList<TextBox *> tidyBoxes(OptionsForm &f)
{
    return {&f.txtExpand[0], &f.txtExpand[1], &f.txtExpand[2], &f.txtExpand[3], &f.txtAudioDelay,
            &f.txtSubSize,   &f.txtSubPosHgt, &f.txtSubOutline, &f.txtSubBlur, &f.txtSubDelay};
}

OkCheck reject(Page page, const QString &focus, const QString &message)
{
    return OkCheck{false, page, focus, message};
}

bool rateOutside(const QString &text, double lo, double hi)
{
    if (text == lng[txt::SameAsSource])
        return false;
    const double v = numbertext::Val(text);
    return v > hi || v < lo;
}

bool focusable(const OptionsForm &f, const QString &name)
{
    if (name == QLatin1String("cboFps"))
        return f.cboFps.enabled;
    if (name == QLatin1String("cboVideoBitrate"))
        return f.cboVideoBitrate.enabled;
    if (name == QLatin1String("cboAudioBitrate"))
        return f.cboAudioBitrate.enabled;
    if (name == QLatin1String("txtSize(0)"))
        return f.txtSize[0].enabled;
    if (name == QLatin1String("txtSize(1)"))
        return f.txtSize[1].enabled;
    if (name == QLatin1String("txtExpand(0)"))
        return f.txtExpand[0].enabled;
    if (name == QLatin1String("txtExpand(1)"))
        return f.txtExpand[1].enabled;
    return true;
}

} // namespace

void takeSnapshot(OptionsForm &f)
{
    f.lblVol[0].tag = f.lblVolPlay.tag;
    for (Adjuster a : {Adjuster::Volume, Adjuster::Brightness, Adjuster::Contrast, Adjuster::Hue, Adjuster::Saturation})
        adjusterButtons(f, a)[0].tag = valueLabel(f, a).tag;
    for (Combo *c : {&f.cboRotate, &f.cboSize, &f.cboFps, &f.cboVideoBitrate, &f.cboAudioBitrate, &f.cboAudioSample,
                     &f.cboSubcp, &f.cboSubFont})
        c->tag = numbertext::integer(c->listIndex);
    f.optScaleCrop[0].tag = boolText(f.optScaleCrop[0].value);
    f.optAudio[0].tag = boolText(f.optAudio[0].value);
    f.optSub[0].tag = boolText(f.optSub[0].value);
    f.chkAudioVolnorm.tag = numbertext::integer(f.chkAudioVolnorm.value);
    for (TextBox *t : tidyBoxes(f))
        t->tag = t->text;
    f.txtSubFile.tag = f.txtSubFile.text;
}

void normaliseBoxes(OptionsForm &f)
{
    for (TextBox *t : tidyBoxes(f))
        t->text = num(numbertext::Val(t->text));
}

OkCheck checkFields(const OptionsForm &f)
{
    using namespace mdlMavrell;
    const Combo &fps = f.cboFps;
    const double lastFps = numbertext::Val(fps.item(fps.count() - 1));
    if (rateOutside(fps.text, 5, lastFps)) {
        const double low = fps.listIndex >= 1 ? numbertext::Val(fps.item(1)) : 5;
        QString msg = lng[txt::FrameRateRange];
        msg.replace(QLatin1String("aaa"), num(low));
        msg.replace(QLatin1String("bbb"), num(lastFps));
        return reject(MainPage, QStringLiteral("cboFps"), msg);
    }
    if (rateOutside(f.cboVideoBitrate.text, 32, 9000))
        return reject(VideoPage, QStringLiteral("cboVideoBitrate"), lng[txt::VideoBitrateRange]);
    if (rateOutside(f.cboAudioBitrate.text, 32, 320))
        return reject(AudioPage, QStringLiteral("cboAudioBitrate"), lng[txt::AudioBitrateRange]);
    if (!isAudioTarget(jobstate::jobSettings) && !isAudioOnlySource(jobstate::sourceInfo)) {
        for (int i = 0; i < 2; ++i) {
            const double v = numbertext::Val(f.txtSize[i].text);
            if (v > 1280 || v < 8)
                return reject(VideoPage, i == 0 ? QStringLiteral("txtSize(0)") : QStringLiteral("txtSize(1)"),
                              lng[i == 0 ? txt::WidthRange : txt::HeightRange]);
        }
        // The picture with its borders has to stay a number the encoder can take.
        const std::array<std::array<int, 2>, 2> pairs{{{2, 3}, {0, 1}}};  // left/right on the width, top/bottom
        for (int axis = 0; axis < 2; ++axis) {
            const double a = numbertext::Val(f.txtExpand[pairs[axis][0]].text);
            const double b = numbertext::Val(f.txtExpand[pairs[axis][1]].text);
            if (numbertext::Val(f.txtSize[axis].text) + a + b > 2147483647.0)
                return reject(VideoPage, QStringLiteral("txtExpand(%1)").arg(pairs[axis][a >= b ? 0 : 1]), lng[txt::BordersTooWide]);
        }
    }
    const int rotate = f.cboRotate.listIndex;
    const bool top = numbertext::Val(f.txtExpand[0].text) != 0;
    const bool bottom = numbertext::Val(f.txtExpand[1].text) != 0;
    if ((rotate == 2 || rotate == 3) && (top || bottom))
        return reject(VideoPage, top ? QStringLiteral("txtExpand(0)") : QStringLiteral("txtExpand(1)"), lng[txt::FlipAndBordersClash]);
    return {};
}

OkOutcome okClicked(OptionsForm &f)
{
    using namespace mdlMavrell;
    OkOutcome out;
    f.focusRequest.clear();
    normaliseBoxes(f);

    // Everything is checked before anything is stored, so a rejected OK leaves the job
    // as it was and a Cancel afterwards really goes back.
    const OkCheck check = checkFields(f);
    if (!check.passed) {
        f.tabNow = check.page;
        if (focusable(f, check.focus))
            f.focusRequest = check.focus;
        prompts::MsgBox(check.message);
        return out;
    }
    bool failed = false;
    const QString subtitles = getSubPara(f, failed, false);
    if (failed)
        return out;

    jobstate::jobSettings.fpsText = f.cboFps.text;
    f.cboFps.tag = numbertext::integer(f.cboFps.listIndex);
    jobstate::jobSettings.videoBitrateText = f.cboVideoBitrate.text;
    f.cboVideoBitrate.tag = numbertext::integer(f.cboVideoBitrate.listIndex);
    jobstate::jobSettings.audioBitrateText = f.cboAudioBitrate.text;
    f.cboAudioBitrate.tag = numbertext::integer(f.cboAudioBitrate.listIndex);
    jobstate::jobSettings.outWidth = toInt(numbertext::Val(f.txtSize[0].text));
    jobstate::jobSettings.outHeight = toInt(numbertext::Val(f.txtSize[1].text));
    setAduioPara(f);
    jobstate::jobSettings.subtitleOpts = subtitles;

    const PicturePieces picture = pictureFilters(f, jobstate::jobSettings.outWidth, jobstate::jobSettings.outHeight);
    jobstate::jobSettings.cropRect = picture.cropRect;
    jobstate::jobSettings.scaleFilter = picture.scaleFilter;
    out.summaryWidth = picture.summaryWidth;
    out.summaryHeight = picture.summaryHeight;

    if (f.lblMark[1].tag.isEmpty()) {
        f.lblMark[0].tag.clear();
        f.lblMark[1].tag.clear();
        out.marksCleared = true;
    }
    jobstate::jobSettings.markIn = float(numbertext::Val(f.lblMark[0].tag));
    jobstate::jobSettings.markOut = float(numbertext::Val(f.lblMark[1].tag));

    jobstate::jobSettings.encodeVolumeOpt = volumePiece(f);
    jobstate::jobSettings.rotateFilter = getRotateFilter(f.cboRotate.listIndex);
    if (jobstate::jobSettings.rotateFilter.contains(QLatin1String("rotate")) && !jobstate::jobSettings.subtitleOpts.isEmpty())
        prompts::MsgBox(lng[txt::SubtitlesWithTurnHint], prompts::Buttons::Ok, prompts::Icon::None, QStringLiteral("Mavrell"));
    jobstate::jobSettings.colorFilter = colorPiece(f);
    out.accepted = true;
    return out;
}

void cancelClicked(OptionsForm &f)
{
    normaliseBoxes(f);
    f.cboSize.select(tagIndex(f.cboSize.tag));
    SetSizeSetting(f);  // a new selection runs the size list's click
    f.cboRotate.select(tagIndex(f.cboRotate.tag));

    f.lblVolPlay.tag = f.lblVol[0].tag;
    for (Adjuster a : {Adjuster::Volume, Adjuster::Brightness, Adjuster::Contrast, Adjuster::Hue, Adjuster::Saturation})
        valueLabel(f, a).tag = adjusterButtons(f, a)[0].tag;
    setLblColorAndVolPara(f, 0, true);
    if (f.picCrSpecScaleWidth > 0)
        f.lneCrSpecX = hueMarkerX(numbertext::Val(f.lblHue.tag), f.picCrSpecScaleWidth);

    restorePair(f.optScaleCrop);
    for (TextBox &t : f.txtExpand)
        t.text = num(numbertext::Val(t.tag));

    restorePair(f.optAudio);
    if (f.optAudio[0].enabled && f.optAudio[1].enabled)
        SetAudioSetting(f, false);
    f.cboAudioSample.select(tagIndex(f.cboAudioSample.tag));
    f.txtAudioDelay.text = num(numbertext::Val(f.txtAudioDelay.tag));
    f.chkAudioVolnorm.value = tagIndex(f.chkAudioVolnorm.tag) != 0 ? 1 : 0;

    restorePair(f.optSub);
    if (f.optSub[0].enabled && f.optSub[1].enabled)
        SetSubSetting(f, false);
    f.txtSubFile.text = f.txtSubFile.tag;
    f.cboSubcp.select(tagIndex(f.cboSubcp.tag));
    f.cboSubFont.select(tagIndex(f.cboSubFont.tag));
    for (TextBox *t : {&f.txtSubSize, &f.txtSubPosHgt, &f.txtSubOutline, &f.txtSubBlur, &f.txtSubDelay})
        t->text = num(numbertext::Val(t->tag));
}

AppliedMarks SetAppliedValue(OptionsForm &f)
{
    using namespace mdlMavrell;
    AppliedMarks marks;
    f.lblMark[0].tag = jobstate::jobSettings.markIn == 0 ? QString() : numbertext::single(jobstate::jobSettings.markIn);
    f.lblMark[1].tag = jobstate::jobSettings.markOut == 0 ? QString() : numbertext::single(jobstate::jobSettings.markOut);
    if (jobstate::jobSettings.markOut <= jobstate::jobSettings.markIn) {
        f.lblMark[0].tag.clear();
        f.lblMark[1].tag.clear();
    } else {
        marks.clearMarks = false;
        marks.endMark = jobstate::jobSettings.markOut;
    }

    const std::array<std::pair<Combo *, const QString *>, 3> combos{
        std::pair{&f.cboFps, &jobstate::jobSettings.fpsText}, std::pair{&f.cboVideoBitrate, &jobstate::jobSettings.videoBitrateText},
        std::pair{&f.cboAudioBitrate, &jobstate::jobSettings.audioBitrateText}};
    for (auto [combo, stored] : combos) {
        const int index = tagIndex(combo->tag);
        if (index > -1) {
            combo->select(index);
        } else {
            combo->listIndex = -1;
            combo->text = *stored;
        }
    }

    f.txtSize[0].text = numbertext::integer(jobstate::jobSettings.outWidth);
    f.txtSize[1].text = numbertext::integer(jobstate::jobSettings.outHeight);

    if (jobstate::jobSettings.cropRect[0] == 1) {
        f.shpCrop.visible = true;
        f.shpCrop.left = jobstate::jobSettings.cropRect[1];
        f.shpCrop.top = jobstate::jobSettings.cropRect[2];
        if (jobstate::jobSettings.cropRect[3] - jobstate::jobSettings.cropRect[1] > 0)
            f.shpCrop.width = jobstate::jobSettings.cropRect[3] - jobstate::jobSettings.cropRect[1];
        if (jobstate::jobSettings.cropRect[4] - jobstate::jobSettings.cropRect[2] >= 1)
            f.shpCrop.height = jobstate::jobSettings.cropRect[4] - jobstate::jobSettings.cropRect[2];
    } else {
        f.shpCrop.visible = false;
    }
    return marks;
}

} // namespace opt
