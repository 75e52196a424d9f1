#include "options/optionsummary.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "coregui/jobstate.h"
#include "engine/targetkinds.h"

using mdlMavrell::lng;

namespace opt {

namespace {

const QString kBreak = QStringLiteral("\n");
const QString kDashes = QString(48, QLatin1Char('-'));

QString num(const QString &tag) { return numbertext::number(numbertext::Val(tag)); }

// A bit rate or frame rate from a list text: the part before "(", trimmed.
QString beforeParen(const QString &text)
{
    const int at = int(text.indexOf('('));
    return (at < 0 ? text : text.left(at)).trimmed();
}

QString volumePart(const OptionsForm &f)
{
    const double v = numbertext::Val(f.lblVolume.tag);
    return (v >= 0 ? QStringLiteral("+") : QString()) + numbertext::number(v) + ' ' + lng[txt::Decibel];
}

// A text-table entry on one line: its line breaks become the full-width comma.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), lng[txt::ListComma]);
    text.replace(QLatin1String("\n"), lng[txt::ListComma]);
    return text;
}

} // namespace

EncodeNote SetMainEncodeNote(const OptionsForm &f, NoteSize &noteSize, int wdt, int hgt,
                             const QString &cmdOptCaption, const QString &cmdEncodeCaption)
{
    using namespace mdlMavrell;
    if (wdt != -1)
        noteSize.width = wdt;
    if (hgt != -1)
        noteSize.height = hgt;

    // " = " becomes the colon; a colon that brings its own blank takes the place of the
    // blanks after "=" as well.
    QString formatLine;
    const QStringList formatParts = f.lblFormatStr.caption.split(QStringLiteral(" = "));
    for (qsizetype i = 0; i < formatParts.size(); ++i)
        formatLine = i == 0 ? formatParts[0] : Joined(formatLine + lng[txt::ColonSeparator], formatParts[i]);
    QString timeLine;
    if (!f.lblMark[1].tag.isEmpty()) {
        const float start = float(numbertext::Val(f.lblMark[0].tag));
        const float end = float(numbertext::Val(f.lblMark[1].tag));
        timeLine = lng[txt::TimeRange] + FormatTime(start, 3, 1) + QStringLiteral(" - ") + FormatTime(end, 3, 1)
                   + QStringLiteral(" = ") + FormatTime(end - start, 1, 1);
    } else {
        timeLine = lng[txt::TimeRangeWholeLength];
    }
    const bool volnorm = jobstate::jobSettings.audioOpts.contains(QLatin1String("volnorm"));
    const QString audioRate = beforeParen(f.cboAudioBitrate.text);
    // A button's caption stands in the sentence as one name, without its blanks.
    auto withCaption = [](int entry, const QString &caption) {
        return QString(lng[entry]).replace(QLatin1String("aaa"), caption.trimmed());
    };
    auto head = [&](int entry, const QString &caption) {
        return withCaption(entry, caption) + kBreak + kDashes + kBreak + formatLine + kBreak;
    };

    // The job's kind decides the layout, whatever language its words were written in.
    const engine::TargetKind *kind = engine::targetKindOf(jobstate::jobSettings);
    const engine::JobWords words = kind ? kind->words : engine::JobWords::Conversion;
    EncodeNote note;
    QString &t = note.text;
    if (isAudioTarget(jobstate::jobSettings)) {
        t = head(txt::UseButtonForSoundOrMarks, cmdOptCaption) + timeLine + kBreak + jobstate::jobSettings.actionWord.trimmed() + lng[txt::ColonSeparator] + lng[txt::VolumeWord] + ' '
            + volumePart(f) + lng[txt::ListComma];
        if (volnorm)
            t += lng[txt::VolumeNormalisation] + lng[txt::ListComma];
        if (jobstate::jobSettings.targetExt == QLatin1String("wav"))
            t += lng[txt::AudioSampleRateWord] + lng[txt::ColonSeparator] + f.cboAudioSample.text.trimmed();
        else
            t += lng[txt::AudioBitrateWord] + lng[txt::ColonSeparator] + audioRate;
    } else if (words == engine::JobWords::AdjustVolume) {
        t = head(txt::UseButtonForVolume, cmdOptCaption) + timeLine + kBreak + jobstate::jobSettings.actionWord + lng[txt::ColonSeparator] + lng[txt::VolumeWord] + ' ' + volumePart(f)
            + lng[txt::ListComma];
        if (volnorm)
            t += lng[txt::VolumeNormalisation] + lng[txt::ListComma];
        t += lng[txt::AudioBitrateWord] + lng[txt::ColonSeparator] + audioRate;
    } else if (words == engine::JobWords::Cut) {
        t = head(txt::UseButtonForMarks, cmdOptCaption) + timeLine;
    } else if (words == engine::JobWords::Repair) {
        t = kBreak + head(txt::PressButtonToRepair, cmdEncodeCaption);
    } else {
        note.conversionLayout = true;
        const bool quarterTurn = jobstate::jobSettings.rotateFilter.contains(QLatin1String("rotate"));
        const int w = quarterTurn ? noteSize.height : noteSize.width;
        const int h = quarterTurn ? noteSize.width : noteSize.height;
        const QString fps = jobstate::jobSettings.fpsText.isEmpty() ? QStringLiteral("----") : beforeParen(jobstate::jobSettings.fpsText);
        QString audio;
        if (!jobstate::jobSettings.audioOpts.contains(QLatin1String("nosound")) && jobstate::sourceInfo.hasSound()) {
            audio = lng[txt::AudioBitrateWord] + lng[txt::ColonSeparator] + audioRate;
            if (volnorm)
                audio += lng[txt::ListComma] + lng[txt::VolumeNormalisation];
        } else {
            audio = lng[txt::NoAudioOutput];
        }
        t = formatLine + kBreak + timeLine + kBreak + lng[txt::FinalPictureSize] + numbertext::integer(w) + QStringLiteral(" x ")
            + numbertext::integer(h) + lng[txt::FramesPerSecondIs] + fps + kBreak + lng[txt::VideoBitrateWord] + lng[txt::ColonSeparator] + beforeParen(f.cboVideoBitrate.text)
            + lng[txt::ListComma] + audio + kBreak;
        t += (jobstate::jobSettings.scaleFilter.contains(QLatin1String("crop=")) ? lng[txt::Cropped] : lng[txt::NotCropped]) + lng[txt::ListComma];
        t += (jobstate::jobSettings.scaleFilter.contains(QLatin1String("expand=")) ? lng[txt::BordersAdded] : lng[txt::NoBorders]) + lng[txt::ListComma];
        t += (jobstate::jobSettings.subtitleOpts.isEmpty() ? lng[txt::NoSubtitlesWord] : lng[txt::SubtitlesWord]) + lng[txt::ListComma];
        t += f.cboRotate.text + kBreak;
        t += lng[txt::OtherAdjustments] + lng[txt::BrightnessWord] + ' ' + num(f.lblBrightness.tag) + lng[txt::ListComma] + lng[txt::ContrastWord] + ' ' + num(f.lblContrast.tag)
             + lng[txt::ListComma] + lng[txt::HueWord] + ' ' + num(f.lblHue.tag) + lng[txt::ListComma] + lng[txt::SaturationWord] + ' ' + num(f.lblSaturation.tag)
             + lng[txt::ListComma] + lng[txt::VolumeWord] + ' ' + num(f.lblVolume.tag);
    }

    const bool noSound = !jobstate::sourceInfo.hasSound();
    if (!isAudioTarget(jobstate::jobSettings) && isAudioOnlySource(jobstate::sourceInfo))
        t = lng[txt::MusicCannotBeVideo];
    // A job on the sound of a source without one says so, whatever else applies.
    if (kind && kind->needsSound && noSound)
        t = lng[kind->noSoundEntry];
    if (jobstate::sourceInfo.srcLength == 0 && jobstate::sourceInfo.srcFps == 0) {
        t = lng[txt::SourceCannotBeAnalysed];
        t.replace(QLatin1String("\r\n\r\n"), QLatin1String("\r\n"));
        t.replace(QLatin1String("\n\n"), QLatin1String("\n"));
    }
    if (!lng[txt::SameAsSource].isEmpty())
        t.replace(lng[txt::SameAsSource], lng[txt::SameAsSourceShort]);
    return note;
}

QString SetScopeNote(OptionsForm &f)
{
    using namespace mdlMavrell;
    if (engine::isJobImpossible(jobstate::sourceInfo, jobstate::jobSettings))
        return oneLine(lng[txt::FormatRestrictedNoMarks]);
    if (!f.txtScope[0].enabled)
        return oneLine(lng[txt::RepairWholeNoMarks]);
    const float start = float(numbertext::Val(f.lblMark[0].tag));
    const float end = float(numbertext::Val(f.lblMark[1].tag));
    f.txtScope[0].text = FormatTime(start, 3, 1);
    const QString unknown = QStringLiteral("??");
    const QString endText = end > 0 ? FormatTime(end, 3, 1) : unknown;
    f.txtScope[1].text = endText == unknown ? FormatTime(jobstate::sourceInfo.srcLength, 3, 1) : endText;
    return lng[txt::MarkedTimeRange] + f.txtScope[0].text + QStringLiteral(" - ") + endText + QStringLiteral(" = ")
           + (endText == unknown ? unknown : FormatTime(end - start, 3, 1));
}

} // namespace opt
