#include "controls/propertybag.h"

#include <QBuffer>
#include <QByteArray>
#include <QPixmap>

namespace {

enum class Kind { None, Int, Bool, String, Font, Picture, Unsupported };

// Turns a value into one of the kinds a bag holds.
QVariant normalised(const QVariant &value, Kind *kind)
{
    *kind = Kind::Unsupported;
    if (!value.isValid()) {
        *kind = Kind::None;
        return {};
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        *kind = Kind::Bool;
        return QVariant(value.toBool());
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        *kind = Kind::Int;
        return QVariant(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            return {};
        *kind = Kind::Int;
        return QVariant(qint64(u));
    }
    case QMetaType::QString:
        *kind = Kind::String;
        return value;
    case QMetaType::QFont:
        *kind = Kind::Font;
        return value;
    case QMetaType::QImage: {
        const QImage img = value.value<QImage>();
        *kind = img.isNull() ? Kind::None : Kind::Picture;
        return img.isNull() ? QVariant() : QVariant(img);
    }
    case QMetaType::QPixmap: {
        const QImage img = value.value<QPixmap>().toImage();
        *kind = img.isNull() ? Kind::None : Kind::Picture;
        return img.isNull() ? QVariant() : QVariant(img);
    }
    default:
        return {};
    }
}

Kind kindOf(const QVariant &v)
{
    Kind k;
    normalised(v, &k);
    return k;
}

bool validKey(const QString &key)
{
    if (key.isEmpty())
        return false;
    for (QChar c : key) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')
                        || u == '_';
        if (!ok)
            return false;
    }
    return true;
}

// Two stored values are the same when they are of one kind and equal; pictures
// compare their pixels, so a picture that looks the same in another format counts.
bool sameValue(const QVariant &a, const QVariant &b)
{
    const Kind ka = kindOf(a), kb = kindOf(b);
    if (ka != kb)
        return false;
    switch (ka) {
    case Kind::None: return true;
    case Kind::Int: return a.toLongLong() == b.toLongLong();
    case Kind::Bool: return a.toBool() == b.toBool();
    case Kind::String: return a.toString() == b.toString();
    case Kind::Font: return a.value<QFont>() == b.value<QFont>();
    case Kind::Picture: {
        const QImage ia = a.value<QImage>().convertToFormat(QImage::Format_ARGB32);
        const QImage ib = b.value<QImage>().convertToFormat(QImage::Format_ARGB32);
        return ia == ib;
    }
    case Kind::Unsupported: return false;
    }
    return false;
}

QString quoted(const QString &s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += u'"';
    for (QChar c : s) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20) {
                out += QLatin1String("\\u") + QString::number(c.unicode(), 16).rightJustified(4, u'0');
            } else {
                out += c;
            }
        }
    }
    out += u'"';
    return out;
}

// Reads a quoted string at text[pos] (which must be '"'); pos moves past the closing quote.
bool unquote(const QString &text, qsizetype &pos, QString *out)
{
    if (pos >= text.size() || text[pos] != u'"')
        return false;
    ++pos;
    QString s;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == u'"') {
            *out = s;
            return true;
        }
        if (c != u'\\') {
            s += c;
            continue;
        }
        if (pos >= text.size())
            return false;
        const QChar e = text[pos++];
        switch (e.unicode()) {
        case '"': s += u'"'; break;
        case '\\': s += u'\\'; break;
        case 'n': s += u'\n'; break;
        case 'r': s += u'\r'; break;
        case 't': s += u'\t'; break;
        case 'u': {
            if (pos + 4 > text.size())
                return false;
            bool ok = false;
            const uint code = text.mid(pos, 4).toUInt(&ok, 16);
            if (!ok)
                return false;
            s += QChar(char16_t(code));
            pos += 4;
            break;
        }
        default: return false;
        }
    }
    return false;  // no closing quote
}

QString valueText(const QVariant &v)
{
    switch (kindOf(v)) {
    case Kind::Int: return QString::number(v.toLongLong());
    case Kind::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::String: return quoted(v.toString());
    case Kind::Font: return QLatin1String("Font(") + quoted(v.value<QFont>().toString()) + u')';
    case Kind::Picture: {
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        v.value<QImage>().save(&buf, "PNG");
        return QLatin1String("Png(") + QString::fromLatin1(png.toBase64()) + u')';
    }
    default: return {};
    }
}

bool parseValue(const QString &text, QVariant *out)
{
    if (text == QLatin1String("True")) {
        *out = true;
        return true;
    }
    if (text == QLatin1String("False")) {
        *out = false;
        return true;
    }
    if (text.startsWith(u'"')) {
        qsizetype pos = 0;
        QString s;
        if (!unquote(text, pos, &s) || pos != text.size())
            return false;
        *out = s;
        return true;
    }
    if (text.startsWith(QLatin1String("Font(")) && text.endsWith(u')')) {
        qsizetype pos = 5;
        QString desc;
        if (!unquote(text, pos, &desc) || pos != text.size() - 1)
            return false;
        QFont f;
        if (!f.fromString(desc))
            return false;
        *out = f;
        return true;
    }
    if (text.startsWith(QLatin1String("Png(")) && text.endsWith(u')')) {
        const QByteArray b64 = text.mid(4, text.size() - 5).toLatin1();
        const auto decoded = QByteArray::fromBase64Encoding(b64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return false;
        QImage img;
        if (!img.loadFromData(*decoded, "PNG") || img.isNull())
            return false;
        *out = img;
        return true;
    }
    // A whole number: an optional minus sign and decimal digits only.
    qsizetype i = (text.startsWith(u'-')) ? 1 : 0;
    if (i >= text.size())
        return false;
    for (qsizetype j = i; j < text.size(); ++j)
        if (text[j] < u'0' || text[j] > u'9')
            return false;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok)
        return false;
    *out = n;
    return true;
}

} // namespace

int PropertyBag::indexOf(const QString &key) const
{
    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].first.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool PropertyBag::contains(const QString &key) const { return indexOf(key) >= 0; }

QVariant PropertyBag::read(const QString &key, const QVariant &missingDefault) const
{
    const int i = indexOf(key);
    return i < 0 ? missingDefault : entries_[i].second;
}

qint64 PropertyBag::readInt(const QString &key, qint64 missingDefault) const
{
    const QVariant v = read(key);
    return kindOf(v) == Kind::Int ? v.toLongLong() : missingDefault;
}

bool PropertyBag::readBool(const QString &key, bool missingDefault) const
{
    const QVariant v = read(key);
    switch (kindOf(v)) {
    case Kind::Bool: return v.toBool();
    case Kind::Int: return v.toLongLong() != 0;
    default: return missingDefault;
    }
}

QString PropertyBag::readString(const QString &key, const QString &missingDefault) const
{
    const QVariant v = read(key);
    return kindOf(v) == Kind::String ? v.toString() : missingDefault;
}

std::uint32_t PropertyBag::readColor(const QString &key, std::uint32_t missingDefault) const
{
    const QVariant v = read(key);
    if (kindOf(v) != Kind::Int)
        return missingDefault;
    // A colour stored as a signed 32-bit value (system references are negative there)
    // and one stored unsigned read back alike.
    return static_cast<std::uint32_t>(v.toLongLong() & 0xFFFFFFFFLL);
}

QFont PropertyBag::readFont(const QString &key, const QFont &missingDefault) const
{
    const QVariant v = read(key);
    return kindOf(v) == Kind::Font ? v.value<QFont>() : missingDefault;
}

QImage PropertyBag::readPicture(const QString &key) const
{
    const QVariant v = read(key);
    return kindOf(v) == Kind::Picture ? v.value<QImage>() : QImage();
}

bool PropertyBag::write(const QString &key, const QVariant &value)
{
    if (!validKey(key))
        return false;
    Kind kind;
    const QVariant v = normalised(value, &kind);
    if (kind == Kind::Unsupported)
        return false;
    const int i = indexOf(key);
    if (kind == Kind::None) {
        if (i >= 0)
            entries_.removeAt(i);
        return true;
    }
    if (i >= 0)
        entries_[i].second = v;
    else
        entries_.append({key, v});
    return true;
}

bool PropertyBag::write(const QString &key, const QVariant &value, const QVariant &defaultValue)
{
    if (!validKey(key) || kindOf(value) == Kind::Unsupported)
        return false;
    if (sameValue(value, defaultValue)) {
        remove(key);
        return true;
    }
    return write(key, value);
}

void PropertyBag::remove(const QString &key)
{
    const int i = indexOf(key);
    if (i >= 0)
        entries_.removeAt(i);
}

void PropertyBag::clear() { entries_.clear(); }
bool PropertyBag::isEmpty() const { return entries_.isEmpty(); }
int PropertyBag::size() const { return int(entries_.size()); }

QStringList PropertyBag::keys() const
{
    QStringList out;
    for (const auto &e : entries_)
        out << e.first;
    return out;
}

QString PropertyBag::toText() const
{
    QString out;
    for (const auto &e : entries_)
        out += e.first + u'=' + valueText(e.second) + u'\n';
    return out;
}

bool PropertyBag::fromText(const QString &text, PropertyBag *out, QString *error)
{
    PropertyBag bag;
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        auto fail = [&](const char *why) {
            if (error)
                *error = QStringLiteral("line %1: %2").arg(n + 1).arg(QLatin1String(why));
            return false;
        };
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            return fail("no key");
        const QString key = line.left(eq);
        if (!validKey(key))
            return fail("bad key");
        if (bag.contains(key))
            return fail("key given twice");
        QVariant v;
        if (!parseValue(line.mid(eq + 1), &v))
            return fail("bad value");
        bag.entries_.append({key, v});
    }
    if (out)
        *out = bag;
    if (error)
        error->clear();
    return true;
}

bool PropertyBag::operator==(const PropertyBag &other) const
{
    if (entries_.size() != other.entries_.size())
        return false;
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_[i].first != other.entries_[i].first
            || !sameValue(entries_[i].second, other.entries_[i].second))
            return false;
    }
    return true;
}
