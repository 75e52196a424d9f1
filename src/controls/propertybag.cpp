#include "controls/propertybag.h"

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
