// The preview's rules as plain functions (see frmoptions_preview.h).
#include "options/frmoptions_preview.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "player/slaveprotocol.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace preview {

namespace {

float roundTo(float x, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return float(numbertext::roundHalfEven(double(x) * scale) / scale);
}

int whole(double x) { return int(numbertext::roundHalfEven(x)); }

} // namespace

PollRead readPoll(const QString &s, bool aniGif, float srcStartTime, float srcLength, int gifFrames)
{
    PollRead r;
    float pos = 0;
    if (slaveprotocol::parsePosition(s, srcStartTime, pos)) {
        r.hasPosition = true;
        r.position = pos;
        if (aniGif && gifFrames > 0) {
            const int frame = slaveprotocol::parseGifFrame(s);
            if (frame >= 0)
                r.position = roundTo(srcLength * float(frame) / float(gifFrames), 2) - srcStartTime;
        }
    }
    r.indexPercent = slaveprotocol::parseIndexProgress(s);
    r.screenshot = slaveprotocol::parseScreenshot(s);
    r.failed = slaveprotocol::hasVideoFailure(s);
    r.exited = !r.failed && slaveprotocol::hasExited(s);
    return r;
}

EndAction endAction(const PollRead &r, float srcLength, float previewPos, const QString &sourcePath)
{
    if (r.failed)
        return EndAction::Failed;
    if (!r.exited)
        return EndAction::None;
    QString path = sourcePath;
    const bool gif = mdlMavrell::fileObject().GetExtensionName(path).toLower() == QLatin1String("gif");
    if (srcLength == 0 && previewPos == 0 && !gif)
        return EndAction::Failed;
    return EndAction::Stop;
}

namespace {

// Breaks one line of text (no "\n" in it) into lines that fit.
QStringList wrapLine(const QString &line, int maxWidth, const std::function<int(const QString &)> &measure)
{
    QStringList out;
    QString current;
    int at = 0;
    while (at < line.size()) {
        // The next word with the blanks that follow it.
        int end = at;
        while (end < line.size() && line[end] != QLatin1Char(' '))
            ++end;
        while (end < line.size() && line[end] == QLatin1Char(' '))
            ++end;
        const QString word = line.mid(at, end - at);
        at = end;
        if (measure((current + word).trimmed()) <= maxWidth) {
            current += word;
            continue;
        }
        if (!current.isEmpty())
            out << current;
        current = word;
        // A word wider than a line of its own is broken where the line is full.
        while (current.size() > 1 && measure(current.trimmed()) > maxWidth) {
            int fit = 1;
            while (fit < current.size() && measure(current.left(fit + 1)) <= maxWidth)
                ++fit;
            out << current.left(fit);
            current = current.mid(fit);
        }
    }
    if (!current.isEmpty() || out.isEmpty())
        out << current;
    return out;
}

} // namespace

QString wrapNote(const QString &text, int maxWidth, const std::function<int(const QString &)> &measure)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines << wrapLine(line, maxWidth, measure);
    return lines.join(QLatin1Char('\n'));
}

int knobLeftFor(float seconds, float secPerUnit, int trackLeft, int knobWidth)
{
    if (secPerUnit <= 0)
        return knobRestLeft(trackLeft, knobWidth);
    return whole(trackLeft + double(seconds / secPerUnit) - knobWidth / 2.0);
}

bool knobMoveAllowed(int newLeft, int trackLeft, int trackWidth, int knobWidth)
{
    return trackLeft - knobWidth <= newLeft && newLeft <= trackLeft + trackWidth;
}

QString seekCommand(float seekValue, int seekType, bool inSeconds, float secPerUnit, float srcLength)
{
    if (srcLength <= 0)
        return QString();
    const float seconds = inSeconds ? seekValue : roundTo(secPerUnit * seekValue, 1);
    if (seekType == 0)
        return slaveprotocol::seekRelative(seconds);
    return slaveprotocol::seekPercent(roundTo(seconds * 100.0f / srcLength, 2));
}

float markSeconds(const QString &tag) { return float(numbertext::Val(tag)); }

QString markTag(float seconds) { return numbertext::single(seconds); }

bool setMarkTime(Marks &m, int markIndex, float seconds, bool clearWhenWhole, float srcLength)
{
    if (markIndex == 0) {
        m.end.clear();
        m.start = markTag(seconds);
        return true;
    }
    const float start = markSeconds(m.start);
    if (start >= seconds) {
        m = Marks{};
        return false;
    }
    m.end = markTag(seconds);
    if (seconds > srcLength) {
        if (start == 0 && clearWhenWhole) {
            m = Marks{};
            return false;
        }
        m.end = markTag(srcLength);
    }
    return true;
}

ScopeBar scopeBar(float rangeStart, float rangeEnd, float secPerUnit, int trackLeft)
{
    ScopeBar b;
    if (secPerUnit <= 0)
        return b;
    if (rangeEnd < rangeStart) {
        b.kind = ScopeBar::Clear;
        return b;
    }
    b.kind = ScopeBar::Show;
    b.left = whole(trackLeft + double(rangeStart / secPerUnit));
    b.width = std::max(1, whole(double((rangeEnd - rangeStart) / secPerUnit)));
    return b;
}

bool isRangeTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9]{2}:[0-5][0-9]:[0-5][0-9]\\.[0-9]$"));
    return form.match(text).hasMatch();
}

bool rangeKeyAllowed(int keyAscii)
{
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == ':' || keyAscii == 8 || keyAscii == '.';
}

QString rangeTimeFormMessage(const QString &entry108)
{
    return entry108 + QStringLiteral("hh:mm:ss.s\n\nhh = 00 ~ 99\nmm = 00 ~ 59\nss = 00 ~ 59\ns = 0 ~ 9");
}

void cropPress(CropDrag &c, double x, double y)
{
    c.anchorX = c.endX = whole(x);
    c.anchorY = c.endY = whole(y);
    c.dragging = true;
    c.rect = QRect(c.anchorX, c.anchorY, 1, 1);
    c.visible = true;
}

void cropMove(CropDrag &c, bool leftHeld, double x, double y, int scaleWidth, int scaleHeight)
{
    if (!c.dragging || !leftHeld)
        return;
    c.endX = mdlMavrell::Clamp(whole(x), 0, scaleWidth);
    c.endY = mdlMavrell::Clamp(whole(y), 0, scaleHeight);
    const int w = mdlMavrell::Clamp(std::abs(c.anchorX - c.endX), 1, std::max(1, scaleWidth));
    const int h = mdlMavrell::Clamp(std::abs(c.anchorY - c.endY), 1, std::max(1, scaleHeight));
    c.rect = QRect(std::min(c.anchorX, c.endX), std::min(c.anchorY, c.endY), w, h);
}

void cropRelease(CropDrag &c, int scaleWidth, int scaleHeight)
{
    c.dragging = false;
    const QRect &r = c.rect;
    if (r.left() < 0 || r.left() > scaleWidth || r.top() < 0 || r.top() > scaleHeight)
        c.visible = false;
    if (r.width() < 4 || r.height() < 4)
        c.visible = false;
}

namespace {

using mdlMavrell::lng;

// The part of an entry before its first "(", trimmed ("Play (Space)" -> "Play").
QString beforeBracket(const QString &entry)
{
    const int at = int(entry.indexOf(QLatin1Char('(')));
    return (at >= 0 ? entry.left(at) : entry).trimmed();
}

// Entries of the rows that depend on nothing but the control.
int plainEntry(const QString &c)
{
    static const std::pair<const char *, int> rows[] = {
        {"txtAudioDelay", txt::AudioDelayTip}, {"chkAudioVolnorm", txt::NormaliseVolumeTip}, {"txtSubDelay", txt::SubtitleDelayTip}, {"txtSubSize", txt::SubtitleFontSizeTip},
        {"txtSubPosHgt", txt::SubtitleHeightTip},  {"txtSubOutline", txt::SubtitleOutlineTip},   {"optSub(1)", txt::SubtitleFileRequired},   {"txtSubFile", txt::SubtitleFileRequired},
        {"cmdSubPlay", txt::ApplySubtitlesTip},    {"optAudio(1)", txt::NoAudioOutputTip},     {"lbl2BigScreen", txt::SwitchScreenTip}, {"lblBackward", txt::BackTenSecondsTip},
        {"lblForward", txt::ForwardTenSecondsTip},     {"lblPause", txt::PauseStepsFrameTip},         {"lblMarkDel", txt::ClearMarksTip},   {"mbSubFIle", txt::ChooseSubtitleFileTip},
    };
    for (const auto &[name, entry] : rows)
        if (c == QLatin1String(name))
            return entry;
    return 0;
}

// txtScope(0) -> txtScope; "" for a name without an index.
QString groupOf(const QString &c)
{
    const int at = int(c.indexOf(QLatin1Char('(')));
    return at > 0 ? c.left(at) : QString();
}

// The adjuster a button of imgVolume(0..2), imgBrightness(..) ... belongs to: 0..4 in
// the order of HoverState::adjusterEnabled, -1 none.
int adjusterOf(const QString &group)
{
    static const char *groups[] = {"imgVolume", "imgBrightness", "imgContrast", "imgHue", "imgSaturation"};
    for (int i = 0; i < 5; ++i)
        if (group == QLatin1String(groups[i]))
            return i;
    return -1;
}

HoverHelp show(const QString &text) { return HoverHelp{true, text}; }

} // namespace

bool hasHoverRow(const QString &c)
{
    if (plainEntry(c) != 0)
        return true;
    static const QStringList others{
        QStringLiteral("txtSubBlur"),  QStringLiteral("txtScope(0)"),  QStringLiteral("txtScope(1)"),
        QStringLiteral("txtSize(0)"),  QStringLiteral("txtSize(1)"),   QStringLiteral("lblCut2Pic"),
        QStringLiteral("lblSrceenshot"), QStringLiteral("lblMark(0)"), QStringLiteral("lblMark(1)"),
        QStringLiteral("lblPlay"),     QStringLiteral("lblStop"),      QStringLiteral("lblVolPlay")};
    if (others.contains(c))
        return true;
    const QString g = groupOf(c);
    return g == QLatin1String("txtExpand") || adjusterOf(g) >= 0;
}

QList<int> hoverEntries()
{
    QList<int> entries{240, 254, 246, 245, 250, 85, 86, 251, 74, 88, 89, 90, 172, 174, 233, 232, 268};
    for (const QString &c : {QStringLiteral("txtAudioDelay"), QStringLiteral("chkAudioVolnorm"),
                             QStringLiteral("txtSubDelay"), QStringLiteral("txtSubSize"),
                             QStringLiteral("txtSubPosHgt"), QStringLiteral("txtSubOutline"),
                             QStringLiteral("optSub(1)"), QStringLiteral("cmdSubPlay"),
                             QStringLiteral("optAudio(1)"), QStringLiteral("lbl2BigScreen"),
                             QStringLiteral("lblBackward"), QStringLiteral("lblForward"), QStringLiteral("lblPause"),
                             QStringLiteral("lblMarkDel"), QStringLiteral("mbSubFIle")})
        entries << plainEntry(c);
    for (int reset : {47, 96, 98, 100, 102})
        entries << reset << reset + 1;
    return entries;
}

HoverHelp hoverHelp(const QString &c, const QString &previous, const HoverState &st)
{
    const QString group = groupOf(c);
    if (c == QLatin1String("txtSubBlur"))
        return show(lng[txt::SubtitleBlurTip]);
    if (const int entry = plainEntry(c))
        return show(lng[entry]);
    if (group == QLatin1String("txtScope") || group == QLatin1String("txtSize") || group == QLatin1String("txtExpand")) {
        // Moving between the boxes of one group keeps the text already shown.
        if (groupOf(previous) == group && previous != c)
            return {};
        const int entry = group == QLatin1String("txtScope") ? txt::MarksButtonsHint : group == QLatin1String("txtSize") ? txt::ResizePictureTip : txt::AddBordersTip;
        return show(lng[entry]);
    }
    if (c == QLatin1String("lblCut2Pic"))
        return show(lng[st.audioOnlySource ? txt::FileIsMusic : txt::ContinuousScreenshotHint]);
    if (c == QLatin1String("lblSrceenshot"))
        return show(lng[st.audioOnlySource ? txt::FileIsMusic : txt::SingleScreenshotHint]);
    if (group == QLatin1String("lblMark")) {
        if (st.jobImpossible)
            return show(lng[txt::FormatRestrictedNoMarks]);
        if (!st.scopeEnabled)
            return show(lng[txt::RepairWholeNoMarks]);
        if (st.timesShown)
            return show(lng[c == QLatin1String("lblMark(0)") ? txt::MarkStartTip : txt::MarkEndTip]);
        return show(lng[txt::PlayBeforeMarking]);
    }
    if (c == QLatin1String("lblPlay"))
        return show(beforeBracket(lng[txt::PlayTip]));
    if (c == QLatin1String("lblStop"))
        return show(beforeBracket(lng[txt::StopTip]));
    if (c == QLatin1String("lblVolPlay"))
        return show(lng[st.volumeButtonsShown ? txt::AdjustVolumeTip : txt::AdjustVolumeClickTip]);
    if (const int a = adjusterOf(group); a >= 0) {
        if (!st.adjusterEnabled[a])
            return {};
        static const int resetEntry[5] = {txt::RestoreVolumeTip, txt::RestoreBrightnessTip, txt::RestoreContrastTip, txt::RestoreHueTip, txt::RestoreSaturationTip};
        const bool reset = c.endsWith(QLatin1String("(2)"));
        return show(lng[resetEntry[a] + (reset ? 0 : 1)]);
    }
    return show(st.subtitleOnlyHint ? lng[txt::SubtitlesOnlyForPlaying] : QString());
}

} // namespace preview
