#include "options/optionpieces.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/toolpaths.h"
#include "core/userprompts.h"
#include "coregui/jobstate.h"
#include "engine/targetkinds.h"

#include <charconv>
#include <cmath>

using mdlMavrell::lng;

namespace opt {

namespace {

QString num(double v) { return numbertext::number(v); }
QString integer(long long v) { return numbertext::integer(v); }

// A typed number rounded (halves to even) and kept within lo..hi.
int roundedWithin(const QString &text, int lo, int hi)
{
    const double v = numbertext::roundHalfEven(numbertext::Val(text));
    if (v > hi)
        return hi;
    if (v < lo)
        return lo;
    return int(v);
}

// A double as its 15-significant-digit text read back.
double at15Digits(double v)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    double back = 0;
    std::from_chars(buf, res.ptr, back);
    return back;
}

using numbertext::toInt;

// A family name as a fontconfig pattern: its special characters escaped.
QString fontPattern(const QString &family)
{
    QString out;
    for (QChar c : family) {
        if (c == '\\' || c == '-' || c == ':' || c == ',')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

QString audioPiece(const OptionsForm &f)
{
    using namespace mdlMavrell;
    const QString rate = num(numbertext::Val(f.cboAudioSample.text));
    if (isAudioTarget(jobstate::jobSettings))
        return QStringLiteral(" -ac 2 -ar ") + rate;
    if (f.optAudio[0].value) {
        // The tool's delay is the picture's against the sound: sound later is a negative value.
        const QString delay = num(-numbertext::Val(f.txtAudioDelay.text));
        QString piece;
        const engine::TargetKind *kind = engine::targetKindOf(jobstate::jobSettings);
        const bool copiesBoth = kind && (kind->family == engine::TargetFamily::Cut || kind->family == engine::TargetFamily::Repair);
        if (copiesBoth && jobstate::jobSettings.targetExt == QLatin1String("wmv")) {
            // A source whose channels or rate the probe did not find keeps the usual values.
            const QString channels = jobstate::sourceInfo.srcAudioChannels > 0 ? integer(jobstate::sourceInfo.srcAudioChannels) : QStringLiteral("2");
            const QString srate = jobstate::sourceInfo.srcAudioRate > 0 ? integer(jobstate::sourceInfo.srcAudioRate) : rate;
            piece = QStringLiteral(" -delay ") + delay + QStringLiteral(" -channels ") + channels
                    + QStringLiteral(" -srate ") + srate + QStringLiteral(" -af-add channels=") + channels;
        } else {
            piece = QStringLiteral(" -delay ") + delay + QStringLiteral(" -channels 2 -srate ") + rate
                    + QStringLiteral(" -af-add channels=2");
        }
        if (f.chkAudioVolnorm.value == 1)
            piece += QStringLiteral(" -af-add volnorm");
        return piece;
    }
    if (f.optAudio[1].value)
        return QStringLiteral(" -nosound");
    return QString();
}

void setAduioPara(const OptionsForm &f) { jobstate::jobSettings.audioOpts = audioPiece(f); }

bool subtitlesApply(const OptionsForm &f)
{
    using namespace mdlMavrell;
    const engine::TargetKind *kind = engine::targetKindOf(jobstate::jobSettings);
    const bool noSubtitles = kind && !kind->subtitles;
    return !noSubtitles && !f.picTabMaskVisible[4];
}

QString escapeSubListPath(const QString &path)
{
    // The player splits the list at commas and reads "\," as a comma; a backslash
    // anywhere else stays as it is.
    QString out = path;
    out.replace(QLatin1String(","), QLatin1String("\\,"));
    return out;
}

QString getSubPara(OptionsForm &f, bool &failed, bool quiet)
{
    const bool applies = subtitlesApply(f);
    if (!(f.optSub[1].value && f.optSub[1].enabled))
        return QString();
    f.txtSubFile.text = mdlMavrell::PathAsTyped(f.txtSubFile.text);
    QString path = f.txtSubFile.text;
    // A double quote or a line break cannot stand inside the quoted path of a command line.
    const bool usable = mdlMavrell::Quotable(path);
    if (!usable || !mdlMavrell::fileObject().FileExists(path)) {
        if (!quiet && applies) {
            f.tabNow = SubtitlePage;
            if (f.txtSubFile.enabled)
                f.focusRequest = QStringLiteral("txtSubFile");
            if (f.txtSubFile.text.isEmpty())
                prompts::MsgBox(lng[txt::EnterSubtitleFile]);
            else
                prompts::FileMsgBox(lng[txt::SubtitleFileMissing], f.txtSubFile.text);
            failed = true;
        }
        return QString();
    }
    // Subtitles that the job cannot burn in are not written at all.
    if (!applies)
        return QString();

    QString piece = QStringLiteral(" -sub \"") + escapeSubListPath(path) + '"';

    const QString fontText = f.cboSubFont.text;
    const int marker = int(fontText.indexOf(QLatin1String("   (")));
    if (marker >= 0) {
        const int from = marker + 4;
        const int close = int(fontText.indexOf(')', from));
        const QString file = (close < 0 ? fontText.mid(from) : fontText.mid(from, close - from)).trimmed();
        const int idx = f.cboSubFont.listIndex;
        // The tools find a font by its family name through fontconfig.
        if (!file.isEmpty() && idx >= 0 && idx < f.subFonts.size() && f.subFonts[idx].text == fontText
            && !f.subFonts[idx].family.contains('"'))
            piece += QStringLiteral(" -font \"") + fontPattern(f.subFonts[idx].family) + '"';
    }
    piece += QStringLiteral(" -subfont-text-scale ") + integer(roundedWithin(f.txtSubSize.text, 0, 100));
    piece += QStringLiteral(" -subfont-outline ") + integer(roundedWithin(f.txtSubOutline.text, 0, 8));
    piece += QStringLiteral(" -subfont-blur ") + integer(roundedWithin(f.txtSubBlur.text, 0, 8));
    const double pos = numbertext::roundHalfEven(100 - numbertext::Val(f.txtSubPosHgt.text));
    piece += QStringLiteral(" -subpos ") + integer(pos > 100 ? 100 : pos < 0 ? 0 : int(pos));
    // A positive delay shows the subtitles later, as the page's help says.
    piece += QStringLiteral(" -subdelay ") + num(numbertext::Val(f.txtSubDelay.text));
    const QString cp = f.cboSubcp.text;
    const int cpAt = int(cp.indexOf(QLatin1String("- cp")));
    if (cpAt >= 0)
        piece += QStringLiteral(" -subcp ") + cp.mid(cpAt + 2).trimmed();
    else if (cp == QLatin1String("unicode"))
        piece += QStringLiteral(" -subcp unicode");
    return piece;
}

PicturePieces pictureFilters(const OptionsForm &f, int outW, int outH)
{
    using namespace mdlMavrell;
    PicturePieces p;
    const QString s0 = QStringLiteral(" -vf-add scale=") + integer(outW) + ':' + integer(outH);
    p.scaleFilter = s0;
    p.summaryWidth = outW;
    p.summaryHeight = outH;
    const int T = toInt(numbertext::Val(f.txtExpand[0].text));
    const int B = toInt(numbertext::Val(f.txtExpand[1].text));
    const int L = toInt(numbertext::Val(f.txtExpand[2].text));
    const int R = toInt(numbertext::Val(f.txtExpand[3].text));
    const bool bordersOn = T != 0 || B != 0 || L != 0 || R != 0;
    const engine::TargetKind *kind = engine::targetKindOf(jobstate::jobSettings);
    const bool fixedFrame = kind && kind->fixedFrame;
    const QString shrunk = QStringLiteral(" -vf-add scale=")
                           + integer(Clamp(toInt(double(outW) - L - R), 8, outW)) + ':'
                           + integer(Clamp(toInt(double(outH) - T - B), 8, outH));
    auto expand = [&](int ew, int eh) {
        return QStringLiteral("expand=") + integer(ew) + ':' + integer(eh) + ':' + integer(L) + ':' + integer(T)
               + QStringLiteral(":1");
    };

    // A crop rectangle needs the preview's size to be turned into picture pixels.
    const bool cropSet = f.shpCrop.visible && f.picPlayerScaleWidth > 0 && f.picPlayerScaleHeight > 0;
    if (cropSet) {
        const bool cropFirst = f.optScaleCrop[1].value;
        auto &c = p.cropRect;
        c = {1, toInt(f.shpCrop.left), toInt(f.shpCrop.top), toInt(f.shpCrop.left + f.shpCrop.width),
             toInt(f.shpCrop.top + f.shpCrop.height), 0};
        const double baseW = cropFirst ? jobstate::sourceInfo.srcWidth : numbertext::Val(f.txtSize[0].text);
        const double baseH = cropFirst ? jobstate::sourceInfo.srcHeight : numbertext::Val(f.txtSize[1].text);
        const float fx = float(baseW / f.picPlayerScaleWidth);
        const double fy = at15Digits(baseH / f.picPlayerScaleHeight);
        int cw = toInt(double(fx) * (c[3] - c[1]));
        if (cw % 2 != 0)
            cw += 1;
        int ch = toInt(fy * (c[4] - c[2]));
        if (ch % 2 != 0)
            ch += 1;
        const QString crop = QStringLiteral(" -vf-add crop=") + integer(cw) + ':' + integer(ch) + ':'
                             + num(numbertext::Int(double(fx) * c[1])) + ':' + num(numbertext::Int(fy * c[2]));
        QString scale = s0, border;
        int ew = 0, eh = 0;
        if (bordersOn) {
            if (!fixedFrame) {
                ew = toInt(double(cropFirst ? outW : cw) + L + R);
                eh = toInt(double(cropFirst ? outH : ch) + T + B);
            } else {
                scale = shrunk;
                ew = outW;
                eh = outH;
            }
            border = QStringLiteral(" -vf-add ") + expand(ew, eh);
        }
        p.scaleFilter = cropFirst ? crop + scale + border : scale + crop + border;
        if (cropFirst) {
            p.summaryWidth = outW;
            p.summaryHeight = outH;
        } else {
            p.summaryWidth = cw;
            p.summaryHeight = ch;
        }
        if (!border.isEmpty()) {
            p.summaryWidth = ew;
            p.summaryHeight = eh;
        }
        return p;
    }

    if (bordersOn && !fixedFrame) {
        const int ew = toInt(double(outW) + L + R), eh = toInt(double(outH) + T + B);
        p.scaleFilter = s0 + ',' + expand(ew, eh);
        p.summaryWidth = ew;
        p.summaryHeight = eh;
    } else if (bordersOn) {
        p.scaleFilter = shrunk + ',' + expand(outW, outH);
    }
    return p;
}

bool adjusterChanged(const OptionsForm &f, Adjuster a)
{
    return numbertext::Val(valueLabel(f, a).tag) != numbertext::Val(adjusterButtons(f, a)[2].tag);
}

QString volumePiece(const OptionsForm &f)
{
    if (!adjusterChanged(f, Adjuster::Volume))
        return QString();
    const double db = numbertext::Val(f.lblVolume.tag);
    if (isAudioTarget(jobstate::jobSettings)) {
        // Tool 3 scales linearly, 256 leaving the sound as it is: the gain the label names in dB.
        const double factor = numbertext::roundHalfEven(256.0 * std::pow(10.0, db / 20.0));
        return QStringLiteral(" -vol ") + integer(static_cast<long long>(factor));
    }
    return QStringLiteral(" -af-add volume=") + num(db);
}

QString getRotateFilter(int listIndex)
{
    switch (listIndex) {
    case 1: return QStringLiteral(" -vf-add mirror");
    case 2: return QStringLiteral(" -vf-add flip");
    case 3: return QStringLiteral(" -vf-add flip,mirror");
    case 4: return QStringLiteral(" -vf-add rotate=1");
    case 5: return QStringLiteral(" -vf-add rotate=0");
    case 6: return QStringLiteral(" -vf-add rotate=2");
    case 7: return QStringLiteral(" -vf-add rotate=3");
    default: return QString();
    }
}

QString colorPiece(const OptionsForm &f)
{
    QString piece;
    if (adjusterChanged(f, Adjuster::Hue)) {
        const float h = float(numbertext::Int(numbertext::Val(f.lblHue.tag) * 180 / 100));
        piece += QStringLiteral(" -vf-add hue=") + numbertext::single(h) + QStringLiteral(":1");
    }
    if (adjusterChanged(f, Adjuster::Saturation)) {
        const float s = float(numbertext::Val(f.lblSaturation.tag));
        float factor = 1;
        if (s < 0)
            factor = float(numbertext::roundHalfEven(double((100 + s) / 100) * 100) / 100);
        else if (s > 0)
            factor = float(numbertext::roundHalfEven(double(2 * s / 100) * 100) / 100) + 1;
        piece += QStringLiteral(" -vf-add eq2=1:1:0:") + numbertext::single(factor);
    }
    const float b = adjusterChanged(f, Adjuster::Brightness) ? float(numbertext::Val(f.lblBrightness.tag)) : 0;
    const float c = adjusterChanged(f, Adjuster::Contrast) ? float(numbertext::Val(f.lblContrast.tag)) : 0;
    if (b != 0 || c != 0)
        piece += QStringLiteral(" -vf-add eq=") + numbertext::single(b) + ':' + numbertext::single(c);
    return piece;
}

} // namespace opt
