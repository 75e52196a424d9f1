#include "engine/optionpresets.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "engine/soundrates.h"
#include "engine/targetkinds.h"
#include "engine/targetmenu.h"

namespace engine {

using mdlMavrell::lng;

TargetFamily targetFamily(const QString &targetFormat, const QString &targetExt, bool audioTarget)
{
    if (audioTarget)
        return TargetFamily::Sound;
    if (const TargetKind *kind = findTargetKind(targetFormat))
        return kind->family;
    // A kind the table does not know is judged by its extension.
    if (targetExt == QLatin1String("dat"))
        return TargetFamily::Vcd;
    if (targetExt == QLatin1String("vob"))
        return TargetFamily::Dvd;
    return TargetFamily::OtherVideo;
}

QStringList fpsItems(bool isMpg)
{
    QStringList l;
    if (!isMpg)
        l << lng[txt::SameAsSource] << "5" << "8" << "10" << "12" << "12.5" << "14.985" << "15" << "20" + lng[txt::QualityNormal];
    for (const char *r : {"23.976", "24", "25", "29.97", "30"})
        l << QString::fromLatin1(r) + lng[txt::QualityNormal];
    return l;
}

QStringList videoBitrateItems(bool isMpeg1)
{
    QStringList l;
    if (!isMpeg1)
        l << "48" << "96" << "160" << "200" << "250" << "360" << "600" + lng[txt::QualityLow] << "800";
    l << "1152" + lng[txt::QualityMedium] << "1475" << "1775" + lng[txt::QualityHigh] << "2400" << "4800";
    return l;
}

QStringList audioBitrateItems()
{
    return {"32", "48", "56", "64" + lng[txt::QualityLow], "80", "112", "128" + lng[txt::QualityMedium], "160", "192", "224" + lng[txt::QualityHigh], "256", "320"};
}

QStringList audioSampleItems() { return soundrates::offeredItems(soundrates::Encoder::Pcm); }

QStringList rotateItems(bool isVcdDvd)
{
    QStringList l{lng[txt::NoFlipNoRotation], lng[txt::FlipHorizontally], lng[txt::FlipVertically], lng[txt::Rotate180]};
    if (!isVcdDvd)
        l << lng[txt::TurnRight90] << lng[txt::TurnRightAndFlip] << lng[txt::TurnLeft90] << lng[txt::TurnLeftAndFlip];
    return l;
}

WmvFpsList wmvFpsItems(float srcFps)
{
    WmvFpsList w;
    w.items << lng[txt::SameAsSource];
    w.selected = 0;
    // Compared in single precision, as the source rate is kept: a 29.97 source
    // reaches "29.97". Only the rates up to 20 are chosen; the higher ones are offered.
    auto reaches = [&](const char *rate) { return srcFps >= float(numbertext::Val(QLatin1String(rate))); };
    for (const char *r : {"5", "8", "10", "12", "15"}) {
        if (reaches(r)) {
            w.items << QString::fromLatin1(r);
            w.selected = int(w.items.size()) - 1;
        }
    }
    if (reaches("20")) {
        w.items << QStringLiteral("20") + lng[txt::QualityNormal];
        w.selected = int(w.items.size()) - 1;
    }
    for (const char *r : {"24", "25", "29.97"})
        if (reaches(r))
            w.items << QString::fromLatin1(r) + lng[txt::QualityNormal];
    if (float(numbertext::Val(w.items.last())) < srcFps) {
        w.items << numbertext::single(srcFps);
        if (srcFps < 20)
            w.selected = int(w.items.size()) - 1;
    }
    return w;
}

PresetInput PresetInput::of(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job,
                            const QString &formatCaption)
{
    PresetInput in;
    in.targetFormat = job.targetFormat;
    in.targetExt = job.targetExt;
    in.audioTarget = jobrecords::isAudioTarget(job);
    in.formatCaption = formatCaption;
    in.srcWidth = source.srcWidth;
    in.srcHeight = source.srcHeight;
    in.outWidth = job.outWidth;
    in.outHeight = job.outHeight;
    in.srcFps = source.srcFps;
    return in;
}

namespace {

ComboPreset pick(const QStringList &items, bool enabled, int index)
{
    ComboPreset c;
    c.items = items;
    c.enabled = enabled;
    c.index = index;
    c.text = index >= 0 && index < items.size() ? items[index] : QString();
    return c;
}

ComboPreset sameAsSource(const QStringList &items)
{
    ComboPreset c;
    c.items = items;
    c.enabled = false;
    c.index = -1;
    c.text = lng[txt::SameAsSource];
    return c;
}

// The sample-rate list of the job's sound encoder, showing `wanted` Hz, or the nearest
// rate the encoder takes when it does not take that one.
ComboPreset sampleRates(const PresetInput &in, bool enabled, int wanted)
{
    const soundrates::Encoder e = soundrates::encoderOf(in.targetFormat, in.targetExt, in.audioTarget);
    const QStringList items = soundrates::offeredItems(e);
    return pick(items, enabled, int(items.indexOf(numbertext::integer(soundrates::takenRate(e, wanted)))));
}

// The rows every copy-like block (sound, cut, repair) shares: no picture settings.
void noPicture(OptionPreset &p, const PresetInput &in)
{
    p.fps = sameAsSource(fpsItems(false));
    p.videoBitrate = sameAsSource(videoBitrateItems(false));
    p.rotate = pick(rotateItems(false), false, 0);
    p.sizeEnabled = false;
    p.sizeWidth = in.srcWidth;
    p.sizeHeight = in.srcHeight;
    p.sizeIndex = sizeItemSource;
    p.sizeListEnabled = false;
    p.cropFirst = false;
    p.scaleCropEnabled = false;
    p.bordersEnabled = false;
    p.pictureEnabled = false;
}

// The rows every video block shares before its own values.
void video(OptionPreset &p, const PresetInput &in)
{
    p.scopeEnabled = true;
    p.audioOnEnabled = true;
    p.audioOffEnabled = true;
    p.delayNormEnabled = true;
    p.rotate = pick(rotateItems(false), true, 0);
    p.sizeEnabled = true;
    p.sizeWidth = in.outWidth;
    p.sizeHeight = in.outHeight;
    p.sizeIndex = sizeItemCustom;
    p.sizeListEnabled = true;
    p.cropFirst = false;
    p.scaleCropEnabled = true;
    p.bordersEnabled = true;
    p.pictureEnabled = true;
    p.volumeEnabled = true;
    p.firstPage = 0;
    p.audioBitrate = pick(audioBitrateItems(), true, 3);
    p.audioSample = sampleRates(in, true, 22050);
}

// VCD and DVD: fixed size, crop first, no quarter turns, locked sound.
void disc(OptionPreset &p, const PresetInput &in, int bitrateIndex, int audioIndex, int sampleRate, int w, int h,
          int sizeIndex)
{
    p.fps = pick(fpsItems(false), false, 12);
    p.videoBitrate = pick(videoBitrateItems(false), false, bitrateIndex);
    p.audioBitrate = pick(audioBitrateItems(), false, audioIndex);
    p.audioSample = sampleRates(in, false, sampleRate);
    p.audioOffEnabled = false;
    p.rotate = pick(rotateItems(true), true, 0);
    p.sizeEnabled = false;
    p.sizeWidth = w;
    p.sizeHeight = h;
    p.sizeIndex = sizeIndex;
    p.sizeListEnabled = false;
    p.cropFirst = true;
    p.scaleCropEnabled = false;
}

} // namespace

JobTexts jobTexts(const PresetInput &in)
{
    const TargetKind *kind = in.audioTarget ? &targetKinds().last() : findTargetKind(in.targetFormat);
    JobTexts t;
    t.formatText = lng[txt::SameAsSource];
    QString verb;
    switch (kind ? kind->words : JobWords::Conversion) {
    case JobWords::AdjustVolume:
        t.actionWord = lng[txt::AdjustWord] + lng[txt::VolumeWord];
        t.optCaption = lng[txt::VolumeWord] + lng[txt::SettingsWord];
        verb = lng[txt::AdjustWord];
        break;
    case JobWords::Cut:
        t.actionWord = lng[txt::CutWord] + lng[txt::VideoWord];
        t.optCaption = lng[txt::CutWord] + lng[txt::SettingsWord];
        verb = lng[txt::CutWord];
        break;
    case JobWords::Repair:
        t.actionWord = lng[txt::RepairWord] + lng[txt::VideoWord];
        t.optCaption = lng[txt::VideoPlayback];
        verb = lng[txt::RepairWord];
        break;
    case JobWords::Conversion:
        t.formatText = in.formatCaption;
        t.actionWord = in.audioTarget ? lng[txt::ConversionTo] + in.targetFormat + QLatin1Char(' ') : lng[txt::ConversionWord];
        t.optCaption = lng[txt::ConversionWord] + lng[txt::SettingsWord];
        verb = lng[txt::ConversionWord];
        break;
    }
    t.encodeCaption = lng[txt::StartWord] + verb;
    t.stopCaption = lng[txt::StopWord] + verb;
    return t;
}

JobTexts retranslateJob(jobrecords::JobSettings &job)
{
    PresetInput in;
    in.targetExt = job.targetExt;
    in.audioTarget = jobrecords::isAudioTarget(job);
    // The menu item the job was chosen from gives its words again: a sound target's
    // name holds the sound word, a video target's format is cut from its caption.
    if (const TargetMenuItem *item = targetMenuItemOf(job)) {
        if (const std::optional<TargetChoice> choice = targetChoice(item->menu, item->index)) {
            if (in.audioTarget)
                job.targetFormat = choice->format;
            in.formatCaption = choice->formatCaption;
        }
    }
    in.targetFormat = job.targetFormat;
    const JobTexts t = jobTexts(in);
    job.actionWord = t.actionWord;
    // A rate taken from the source is written in words, not as a number.
    for (QString *rate : {&job.fpsText, &job.videoBitrateText, &job.audioBitrateText}) {
        const QString r = rate->trimmed();
        if (!r.isEmpty() && !r.front().isDigit() && r.front() != QLatin1Char('.'))
            *rate = lng[txt::SameAsSource];
    }
    return t;
}

OptionPreset optionPreset(const PresetInput &in)
{
    OptionPreset p;
    p.family = targetFamily(in.targetFormat, in.targetExt, in.audioTarget);
    const JobTexts texts = jobTexts(in);
    p.formatText = texts.formatText;
    p.actionWord = texts.actionWord;
    p.optCaption = texts.optCaption;
    p.encodeCaption = texts.encodeCaption;
    p.stopCaption = texts.stopCaption;

    switch (p.family) {
    case TargetFamily::Sound: {
        p.scopeEnabled = true;
        noPicture(p, in);
        if (in.targetExt == QLatin1String("dat")) {
            p.audioBitrate = pick(audioBitrateItems(), false, 9);
            p.audioSample = sampleRates(in, false, 44100);
        } else if (in.targetExt == QLatin1String("vob")) {
            p.audioBitrate = pick(audioBitrateItems(), false, 11);
            p.audioSample = sampleRates(in, false, 48000);
        } else {
            p.audioBitrate = pick(audioBitrateItems(), in.targetExt != QLatin1String("wav"), 3);
            p.audioSample = sampleRates(in, true, 22050);
        }
        p.audioOnEnabled = true;
        p.audioOffEnabled = false;
        p.delayNormEnabled = !in.audioTarget;
        p.volumeEnabled = true;
        p.firstPage = 2;
        break;
    }
    case TargetFamily::Cut:
    case TargetFamily::Repair: {
        p.scopeEnabled = p.family == TargetFamily::Cut;
        noPicture(p, in);
        p.audioBitrate = sameAsSource(audioBitrateItems());
        p.audioSample = sampleRates(in, false, 22050);
        p.audioOnEnabled = false;
        p.audioOffEnabled = false;
        p.delayNormEnabled = false;
        p.volumeEnabled = false;
        p.firstPage = 0;
        break;
    }
    case TargetFamily::Mpeg1:
    case TargetFamily::Mpeg2:
        video(p, in);
        p.fps = pick(fpsItems(true), true, 0);
        p.videoBitrate = p.family == TargetFamily::Mpeg1 ? pick(videoBitrateItems(true), true, 0)
                                                         : pick(videoBitrateItems(false), true, 8);
        break;
    case TargetFamily::Vcd:
        video(p, in);
        disc(p, in, 8, 9, 44100, 352, 240, sizeItemVcd);
        break;
    case TargetFamily::Dvd:
        video(p, in);
        disc(p, in, 12, 11, 48000, 720, 480, sizeItemDvd);
        break;
    case TargetFamily::OtherVideo:
        video(p, in);
        if (in.targetExt == QLatin1String("wmv")) {
            const WmvFpsList w = wmvFpsItems(in.srcFps);
            p.fps = pick(w.items, true, w.selected);
        } else {
            p.fps = pick(fpsItems(false), true, 8);
        }
        p.videoBitrate = pick(videoBitrateItems(false), true, 8);
        break;
    }
    return p;
}

JobDefaults jobDefaults(const OptionPreset &p)
{
    JobDefaults d;
    d.actionWord = p.actionWord;
    d.outWidth = p.sizeWidth;
    d.outHeight = p.sizeHeight;
    d.scaleFilter = QStringLiteral(" -vf-add scale=") + numbertext::integer(d.outWidth) + QLatin1Char(':')
                    + numbertext::integer(d.outHeight);
    d.fpsText = p.fps.text;
    d.videoBitrateText = p.videoBitrate.text;
    d.audioBitrateText = p.audioBitrate.text;
    return d;
}

void storeJobDefaults(const JobDefaults &d, jobrecords::JobSettings &job)
{
    job.actionWord = d.actionWord;
    job.outWidth = d.outWidth;
    job.outHeight = d.outHeight;
    job.scaleFilter = d.scaleFilter;
    job.fpsText = d.fpsText;
    job.videoBitrateText = d.videoBitrateText;
    job.audioBitrateText = d.audioBitrateText;
}

float secondsPerSliderUnit(const jobrecords::SourceInfo &source, int sliderWidth)
{
    return sliderWidth > 0 ? source.srcLength / float(sliderWidth) : 0;
}

OptionPreset presetJob(const jobrecords::SourceInfo &source, jobrecords::JobSettings &job, const QString &formatCaption)
{
    const OptionPreset p = optionPreset(PresetInput::of(source, job, formatCaption));
    storeJobDefaults(jobDefaults(p), job);
    return p;
}

} // namespace engine
