#include "core/identify.h"

#include "core/numbertext.h"

#include <QRegularExpression>
#include <QStringList>

namespace identify {

namespace {

struct Lines {
    QStringList lines;

    QString first(QLatin1StringView key) const
    {
        for (const QString &l : lines)
            if (l.startsWith(key, Qt::CaseInsensitive))
                return l.mid(key.size()).trimmed();
        return {};
    }
    QString last(QLatin1StringView key) const
    {
        for (auto it = lines.crbegin(); it != lines.crend(); ++it)
            if (it->startsWith(key, Qt::CaseInsensitive))
                return it->mid(key.size()).trimmed();
        return {};
    }
    // The last value of the key that is a number above 0.
    QString lastUsable(QLatin1StringView key) const;
    bool has(QLatin1StringView key) const
    {
        for (const QString &l : lines)
            if (l.startsWith(key, Qt::CaseInsensitive))
                return true;
        return false;
    }
};

// The tool echoes the source's tags raw: " Title: ", the value, "ID_CLIP_INFO_NAME0=",
// "ID_CLIP_INFO_VALUE0=" and the value again, for each tag, then "ID_CLIP_INFO_N=". A
// value may hold line breaks, and its lines read like the tool's own ("ID_LENGTH=...").
// Everything from the block's first line to its last count line is the files' text,
// not the tool's: it is left out. A block the tool never closed runs to the end.
void dropClipInfo(QStringList &lines)
{
    qsizetype from = -1;
    for (qsizetype i = 0; i < lines.size() && from < 0; ++i)
        if (lines[i].startsWith(QLatin1String("Clip info:")) || lines[i].startsWith(QLatin1String("ID_CLIP_INFO_")))
            from = i;
    if (from < 0)
        return;
    qsizetype to = lines.size() - 1;
    for (qsizetype i = lines.size() - 1; i >= from; --i)
        if (lines[i].startsWith(QLatin1String("ID_CLIP_INFO_N="))) {
            to = i;
            break;
        }
    lines.remove(from, to - from + 1);
}

Lines splitLines(const QString &output)
{
    static const QRegularExpression ends(QStringLiteral("[\r\n]"));
    Lines l{output.split(ends, Qt::SkipEmptyParts)};
    dropClipInfo(l.lines);
    return l;
}

bool usable(const QString &text) { return !text.isEmpty() && numbertext::Val(text) > 0; }
int whole(double v) { return int(numbertext::roundHalfEven(v)); }

QString Lines::lastUsable(QLatin1StringView key) const
{
    for (auto it = lines.crbegin(); it != lines.crend(); ++it)
        if (it->startsWith(key, Qt::CaseInsensitive) && usable(it->mid(key.size()).trimmed()))
            return it->mid(key.size()).trimmed();
    return {};
}

} // namespace

Keys read(const QString &output)
{
    const Lines id = splitLines(output);
    Keys k;

    QString v = id.first(QLatin1StringView("ID_VIDEO_WIDTH="));
    if (usable(v))
        k.width = whole(numbertext::Val(v));
    v = id.first(QLatin1StringView("ID_VIDEO_HEIGHT="));
    if (usable(v))
        k.height = whole(numbertext::Val(v));
    v = id.first(QLatin1StringView("ID_VIDEO_FPS="));
    if (usable(v))
        k.fps = float(numbertext::Val(v));
    // The shape is known once a picture was decoded: the tool prints 0 before that (and for
    // an MPEG-2 picture until its first frame), then the shape it shows.
    v = id.lastUsable(QLatin1StringView("ID_VIDEO_ASPECT="));
    if (!v.isEmpty())
        k.aspect = float(numbertext::Val(v));
    v = id.first(QLatin1StringView("ID_LENGTH="));
    if (!v.isEmpty()) {
        const qsizetype point = v.indexOf(QLatin1Char('.'));
        if ((point < 0 ? v : v.left(point)).size() >= 6)
            k.length = 99999;
        else if (usable(v))
            k.length = float(numbertext::Val(v));
    }
    v = id.first(QLatin1StringView("ID_DEMUXER="));
    if (!v.isEmpty())
        k.demuxer = v.toLower();
    v = id.first(QLatin1StringView("ID_VIDEO_FORMAT="));
    if (!v.isEmpty())
        k.videoFormat = v.toLower();
    v = id.last(QLatin1StringView("ID_AUDIO_CODEC="));
    if (!v.isEmpty())
        k.audioCodec = v.toLower();

    v = id.last(QLatin1StringView("ID_AUDIO_BITRATE="));
    if (usable(v)) {
        k.audioBitrate = whole(numbertext::Val(v)) / 1000;
        if (k.audioBitrate > 320)
            k.audioBitrate = 128;
    }
    v = id.last(QLatin1StringView("ID_AUDIO_RATE="));
    if (usable(v))
        k.audioRate = whole(numbertext::Val(v));
    v = id.last(QLatin1StringView("ID_AUDIO_NCH="));
    if (usable(v))
        k.audioChannels = whole(numbertext::Val(v));

    if (id.has(QLatin1StringView("ID_START_TIME="))) {
        k.hasStartTime = true;
        k.startTime = float(numbertext::Val(id.last(QLatin1StringView("ID_START_TIME="))));
    }
    return k;
}

bool readGifSize(const QString &output, int &width, int &height)
{
    const Lines id = splitLines(output);
    QString t = id.first(QLatin1StringView("VIDEO:  [\bRGB]"));
    if (t.isEmpty())
        t = id.first(QLatin1StringView("VIDEO:  [RGB]"));
    if (t.isEmpty())
        return false;
    const qsizetype x = t.indexOf(QLatin1Char('x'));
    if (x < 0)
        return false;
    qsizetype blank = t.indexOf(QLatin1Char(' '), x + 1);
    if (blank < 0)
        blank = t.size();
    const QStringList parts = t.left(blank).trimmed().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return false;
    double n = 0;
    if (numbertext::readNumber(parts[0], n))
        width = whole(n);
    if (numbertext::readNumber(parts[1], n))
        height = whole(n);
    return true;
}

VideoStatus lastVideoStatus(const QString &text)
{
    // "V:   1.0  10/ 10 ??% ...": the time, then the frame counter before "/".
    VideoStatus st;
    const qsizetype at = text.lastIndexOf(QLatin1String("V:"));
    if (at < 0)
        return st;
    const qsizetype p = at + 2;
    const qsizetype point = text.indexOf(QLatin1Char('.'), p);
    if (point < p || !numbertext::readNumber(text.mid(p, point - p + 2), st.seconds))
        return st;
    st.found = true;
    const qsizetype slash = text.indexOf(QLatin1Char('/'), p);
    if (slash <= point)
        return st;
    st.counted = true;
    const QString u = text.mid(p, slash - p).trimmed();
    const qsizetype blank = u.indexOf(QLatin1Char(' '));
    double frame = 0;
    if (blank >= 0 && numbertext::readNumber(u.mid(blank), frame))
        st.frame = whole(frame);
    return st;
}

QString readerPiece(const QString &demuxer)
{
    return demuxer == QLatin1String("mpegps") ? QStringLiteral(" -ni") : QString();
}

} // namespace identify
