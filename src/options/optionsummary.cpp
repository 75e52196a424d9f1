#include "options/optionsummary.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"

using mdlMavrell::lng;

namespace opt {

namespace {

const QString kBreak = QStringLiteral("\n");
const QString kDashes = QString(48, QLatin1Char('-'));

QString num(const QString &tag) { return numtext::number(numtext::Val(tag)); }

// A bit rate or frame rate from a list text: the part before "(", trimmed.
QString beforeParen(const QString &text)
{
    const int at = int(text.indexOf('('));
    return (at < 0 ? text : text.left(at)).trimmed();
}

QString volumePart(const OptionsForm &f)
{
    const double v = numtext::Val(f.lblVolume.tag);
    return (v >= 0 ? QStringLiteral("+") : QString()) + numtext::number(v) + ' ' + lng[59];
}

// A text-table entry on one line: its line breaks become the full-width comma.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), lng[26]);
    text.replace(QLatin1String("\n"), lng[26]);
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

    const QString formatLine = QString(f.lblFormatStr.caption).replace(QLatin1String(" = "), lng[9]);
    QString timeLine;
    if (!f.lblMark[1].tag.isEmpty()) {
        const float start = float(numtext::Val(f.lblMark[0].tag));
        const float end = float(numtext::Val(f.lblMark[1].tag));
        timeLine = lng[24] + FormatTime(start, 3, 1) + QStringLiteral(" - ") + FormatTime(end, 3, 1)
                   + QStringLiteral(" = ") + FormatTime(end - start, 1, 1);
    } else {
        timeLine = lng[25];
    }
    const bool volnorm = audioOpts.contains(QLatin1String("volnorm"));
    const QString audioRate = beforeParen(f.cboAudioBitrate.text);
    auto withCaption = [](int entry, const QString &caption) { return QString(lng[entry]).replace(QLatin1String("aaa"), caption); };
    auto head = [&](int entry, const QString &caption) {
        return withCaption(entry, caption) + kBreak + kDashes + kBreak + formatLine + kBreak;
    };

    EncodeNote note;
    QString &t = note.text;
    if (isAudioTarget()) {
        t = head(71, cmdOptCaption) + timeLine + kBreak + actionWord.trimmed() + lng[9] + lng[66] + ' '
            + volumePart(f) + lng[26];
        if (volnorm)
            t += lng[259] + lng[26];
        if (targetExt == QLatin1String("wav"))
            t += lng[267] + lng[9] + f.cboAudioSample.text.trimmed();
        else
            t += lng[76] + lng[9] + audioRate;
    } else if (actionWord == lng[38] + lng[66]) {
        t = head(51, cmdOptCaption) + timeLine + kBreak + actionWord + lng[9] + lng[66] + ' ' + volumePart(f)
            + lng[26];
        if (volnorm)
            t += lng[259] + lng[26];
        t += lng[76] + lng[9] + audioRate;
    } else if (actionWord == lng[52] + lng[54]) {
        t = head(79, cmdOptCaption) + timeLine;
    } else if (actionWord == lng[53] + lng[54]) {
        t = kBreak + head(87, cmdEncodeCaption);
    } else {
        note.conversionLayout = true;
        const bool quarterTurn = rotateFilter.contains(QLatin1String("rotate"));
        const int w = quarterTurn ? noteSize.height : noteSize.width;
        const int h = quarterTurn ? noteSize.width : noteSize.height;
        const QString fps = fpsText.isEmpty() ? QStringLiteral("----") : beforeParen(fpsText);
        QString audio;
        if (!audioOpts.contains(QLatin1String("nosound")) && !srcAudioCodec.isEmpty()) {
            audio = lng[76] + lng[9] + audioRate;
            if (volnorm)
                audio += lng[26] + lng[259];
        } else {
            audio = lng[196];
        }
        t = formatLine + kBreak + timeLine + kBreak + lng[77] + numtext::integer(w) + QStringLiteral(" x ")
            + numtext::integer(h) + lng[78] + fps + kBreak + lng[75] + lng[9] + beforeParen(f.cboVideoBitrate.text)
            + lng[26] + audio + kBreak;
        t += (scaleFilter.contains(QLatin1String("crop=")) ? lng[80] : lng[81]) + lng[26];
        t += (scaleFilter.contains(QLatin1String("expand=")) ? lng[184] : lng[185]) + lng[26];
        t += (subtitleOpts.isEmpty() ? lng[187] : lng[186]) + lng[26];
        t += f.cboRotate.text + kBreak;
        t += lng[82] + lng[67] + ' ' + num(f.lblBrightness.tag) + lng[26] + lng[68] + ' ' + num(f.lblContrast.tag)
             + lng[26] + lng[69] + ' ' + num(f.lblHue.tag) + lng[26] + lng[70] + ' ' + num(f.lblSaturation.tag)
             + lng[26] + lng[66] + ' ' + num(f.lblVolume.tag);
    }

    const bool noSound = srcAudioCodec.isEmpty();
    if (!isAudioTarget() && isAudioOnlySource())
        t = lng[247];
    if (isAudioTarget() && noSound)
        t = lng[252];
    if (targetFormat == QLatin1String("AudIsMp3") && noSound)
        t = lng[258];
    if (targetFormat == QLatin1String("onlyTransVol") && noSound)
        t = lng[260];
    if (srcLength == 0 && srcFps == 0) {
        t = lng[31];
        t.replace(QLatin1String("\r\n\r\n"), QLatin1String("\r\n"));
        t.replace(QLatin1String("\n\n"), QLatin1String("\n"));
    }
    if (!lng[55].isEmpty())
        t.replace(lng[55], lng[117]);
    return note;
}

QString SetScopeNote(OptionsForm &f)
{
    using namespace mdlMavrell;
    if (isJobImpossible())
        return oneLine(lng[251]);
    if (!f.txtScope[0].enabled)
        return oneLine(lng[74]);
    const float start = float(numtext::Val(f.lblMark[0].tag));
    const float end = float(numtext::Val(f.lblMark[1].tag));
    f.txtScope[0].text = FormatTime(start, 3, 1);
    const QString unknown = QStringLiteral("??");
    const QString endText = end > 0 ? FormatTime(end, 3, 1) : unknown;
    f.txtScope[1].text = endText == unknown ? FormatTime(srcLength, 3, 1) : endText;
    return lng[23] + f.txtScope[0].text + QStringLiteral(" - ") + endText + QStringLiteral(" = ")
           + (endText == unknown ? unknown : FormatTime(end - start, 3, 1));
}

} // namespace opt
