#include "player/slaveprotocol.h"

#include "core/identify.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "core/toolpaths.h"

#include <algorithm>
#include <initializer_list>

namespace slaveprotocol {

namespace {

QString hmsTenths(float seconds)
{
    return mdlMavrell::FormatTime(seconds, 3, 1);
}

} // namespace

QString videoOutPiece()
{
    return QStringLiteral(" -vo xv,gl,x11, -zoom");
}

QString isolationPiece()
{
    return QStringLiteral(" -noconfig all -input nodefault-bindings -nomouseinput");
}

QString slaveOptionsPiece()
{
    // The screenshot filter gets its own scale step in front: straight behind the
    // decoder, it saves MPEG-4 and MPEG-2 pictures all black on this player.
    return QStringLiteral(" -autosync 100 -vf-add scale,screenshot -autoq 10 -vf-add pp -slave -identify"
                          " -idx -nokeepaspect -noaspect -framedrop -osdlevel 0");
}

QString colorKeyPiece(unsigned long long winId)
{
    return QStringLiteral(" -colorkey 0x010203 -wid ") + QString::number(winId);
}

QString previewFilePiece(const QString &fn, float srcFps, float srcLength)
{
    if (fn.contains(QLatin1Char('*')))
        return mdlMavrell::Quoted(QStringLiteral("mf://") + fn) + QStringLiteral(" -mf fps=") + numbertext::single(srcFps);
    const int dot = fn.lastIndexOf(QLatin1Char('.'));
    const int slash = fn.lastIndexOf(QLatin1Char('/'));
    const QString ext = dot > slash ? fn.mid(dot + 1).toLower() : QString();
    if (ext == QLatin1String("gif") && srcLength > 0 && srcFps > 0)
        return mdlMavrell::Quoted(fn) + QStringLiteral(" -fps ") + numbertext::single(srcFps);
    return mdlMavrell::Quoted(fn);
}

QString previewStartLine(const PreviewStart &p)
{
    QString line = p.toolPath + QLatin1Char(' ') + previewFilePiece(p.fileName, p.srcFps, p.srcLength);
    line += videoOutPiece();
    line += p.subtitlePiece.isEmpty() ? QStringLiteral(" -noautosub") : p.subtitlePiece;
    line += slaveOptionsPiece() + isolationPiece();
    line += p.addOpts + p.volumeOpt;
    line += colorKeyPiece(p.winId);
    line += identify::readerPiece(p.demuxer);
    line += QStringLiteral(" -ss ") + hmsTenths(p.startSeconds);
    return line;
}

QString rangePiece(long fromFrame, long toFrame, long totalFrames, float fps)
{
    if (toFrame <= 0 || fps <= 0)
        return {};
    QString piece = QStringLiteral(" -ss ") + hmsTenths(float(fromFrame) / fps);
    if (toFrame != totalFrames)
        piece += QStringLiteral(" -endpos ") + hmsTenths(float(toFrame - fromFrame) / fps);
    return piece;
}

QString playerStartLine(const QString &toolPath, const QString &fileName, unsigned long long winId,
                        const QString &range, const QString &demuxer)
{
    return toolPath + QLatin1Char(' ') + mdlMavrell::Quoted(fileName) + videoOutPiece() + slaveOptionsPiece()
        + isolationPiece() + colorKeyPiece(winId) + identify::readerPiece(demuxer) + range;
}

QString commandNumber(double v)
{
    double r = numbertext::roundHalfEven(v * 100.0) / 100.0;
    if (r == 0)
        r = 0;  // no "-0"
    return numbertext::number(r);
}

QString seekRelative(double seconds)
{
    return QStringLiteral("seek ") + commandNumber(seconds) + QStringLiteral(" 0");
}

QString seekPercent(double percent)
{
    return QStringLiteral("seek ") + commandNumber(percent) + QStringLiteral(" 1");
}

QString screenshot(bool everyFrame)
{
    return everyFrame ? QStringLiteral("screenshot 1") : QStringLiteral("screenshot 0");
}

QString volume(int percent)
{
    return QStringLiteral("volume ") + QString::number(percent) + QStringLiteral(" 1");
}

namespace {

// The end of the status line that holds position at: the next CR or LF, or the end.
int lineEnd(const QString &s, int at)
{
    const int cr = s.indexOf(QLatin1Char('\r'), at);
    const int lf = s.indexOf(QLatin1Char('\n'), at);
    if (cr < 0)
        return lf < 0 ? int(s.size()) : lf;
    return lf < 0 ? cr : std::min(cr, lf);
}

// The value of the "A:" status at p: the text up to " V:" or, without one, up to "("
// on the same line. False when the line was cut before its value ended.
bool audioStatusValue(const QString &s, int p, double &v)
{
    const int end = lineEnd(s, p + 2);
    const int vPos = s.indexOf(QLatin1String(" V:"), p + 2);
    QString text;
    if (vPos > p && vPos < end) {
        text = s.mid(p + 2, vPos - p - 2);
    } else {
        const int paren = s.indexOf(QLatin1Char('('), p + 2);
        if (paren <= p || paren >= end)
            return false;
        text = s.mid(p + 2, paren - p - 2);
    }
    return numbertext::readNumber(text, v) && v >= 0;
}

// The value of the "V:" status at last: up to one digit after its point, which must
// have come in with this read.
bool videoStatusValue(const QString &s, int last, double &v)
{
    const int q = last + 2;
    const int d = s.indexOf(QLatin1Char('.'), q);
    if (d < q || d + 1 >= lineEnd(s, q))
        return false;
    return numbertext::readNumber(s.mid(q, d - q + 2), v);
}

} // namespace

bool parsePosition(const QString &s, float offset, float &seconds)
{
    // One read may hold many status lines: the newest complete one is the position.
    double v = 0;
    int p = s.lastIndexOf(QLatin1String("A:"));
    if (p >= 0) {
        for (; p >= 0; p = p > 0 ? int(s.lastIndexOf(QLatin1String("A:"), p - 1)) : -1) {
            if (audioStatusValue(s, p, v)) {
                seconds = float(v) - offset;
                return true;
            }
        }
        return false;
    }
    for (int last = s.lastIndexOf(QLatin1String("V:")); last >= 0;
         last = last > 0 ? int(s.lastIndexOf(QLatin1String("V:"), last - 1)) : -1) {
        if (videoStatusValue(s, last, v)) {
            seconds = float(v) - offset;
            return true;
        }
    }
    return false;
}

int parseGifFrame(const QString &s)
{
    if (s.contains(QLatin1String("A:")))
        return -1;
    const identify::VideoStatus st = identify::lastVideoStatus(s);
    return st.counted ? st.frame : -1;
}

int parseIndexProgress(const QString &s)
{
    // One read may hold many progress lines: the newest counts.
    static const QString mark = QStringLiteral("Generating Index:");
    const int p = s.lastIndexOf(mark, -1, Qt::CaseInsensitive);
    if (p < 0)
        return -1;
    const QString between = mdlMavrell::GetBetween(s.mid(p), mark, QStringLiteral("%"), false);
    if (between.isEmpty())
        return -1;
    const int n = int(numbertext::Int(numbertext::Val(between.trimmed().left(3))));
    return std::clamp(n, 1, 99);
}

QString parseScreenshot(const QString &s)
{
    static const QString mark = QStringLiteral("*** screenshot '");
    const int p = s.lastIndexOf(mark);
    if (p < 0)
        return {};
    const int e = s.indexOf(QLatin1String("' ***"), p + mark.size());
    if (e < 0)
        return {};
    return s.mid(p + mark.size(), e - p - mark.size());
}

namespace {

// Whether one of the tool's own lines begins with one of the texts. The tool echoes
// the file's name and tags inside lines of their own ("Playing <name>.", " Title:
// <tag>", "ID_FILENAME=<name>"), so a name or tag holding such a text is no status.
bool hasStatusLine(const QString &s, std::initializer_list<QLatin1String> texts)
{
    int at = 0;
    while (at <= s.size()) {
        const int end = lineEnd(s, at);
        const QStringView line = QStringView(s).mid(at, end - at).trimmed();
        for (const QLatin1String &t : texts)
            if (line.startsWith(t))
                return true;
        at = end + 1;
    }
    return false;
}

} // namespace

bool hasVideoFailure(const QString &s)
{
    return hasStatusLine(s, {QLatin1String("FATAL: Cannot initialize video"),
                             QLatin1String("FATAL: Could not initialize video"),
                             QLatin1String("Error opening/initializing the selected video_out (-vo) device.")});
}

bool hasExited(const QString &s)
{
    return hasStatusLine(s, {QLatin1String("Exiting... (End of file)"), QLatin1String("Exiting... (Quit)")});
}

} // namespace slaveprotocol
