// The persisted properties of one control: an ordered set of key -> value.
//
// A host window gives each of its controls its design values through a bag, and a
// control writes its properties back into one. Keys keep the order in which they
// were written; a value written with a default that it equals is left out, so a
// stored bag holds only what differs. Reading takes the value the caller names for
// a missing key: that is the control's "missing key" default, which is not
// necessarily the value a newly placed control starts with (the control's own
// initialisation decides that, without a bag).
//
// Values are whole numbers (colours as 0x00BBGGRR or 0x800000nn system-colour
// references), Booleans, strings, fonts and pictures. Keys are matched without
// regard to case.
#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>

class PropertyBag {
public:
    // ---- Reading ----
    bool contains(const QString &key) const;
    // The stored value, or missingDefault when the bag has no entry for key.
    QVariant read(const QString &key, const QVariant &missingDefault = {}) const;
    // Typed reads. A stored value of another kind counts as missing.
    qint64 readInt(const QString &key, qint64 missingDefault) const;
    bool readBool(const QString &key, bool missingDefault) const;     // a number: non-zero is True
    QString readString(const QString &key, const QString &missingDefault) const;
    std::uint32_t readColor(const QString &key, std::uint32_t missingDefault) const;
    QFont readFont(const QString &key, const QFont &missingDefault) const;
    QImage readPicture(const QString &key) const;                     // a null image when missing

    // ---- Writing ----
    // Stores value under key (replacing an entry of the same key in its place, or
    // appending a new one). A null value (an unset picture, an invalid QVariant)
    // is "none" and removes the key. Returns false, and changes nothing, for a key
    // that is not a plain name ([A-Za-z0-9_]+) or a value of an unsupported kind.
    bool write(const QString &key, const QVariant &value);
    // As above, but a value equal to defaultValue is not written (the key is removed).
    bool write(const QString &key, const QVariant &value, const QVariant &defaultValue);

    void remove(const QString &key);
    void clear();
    bool isEmpty() const;
    int size() const;
    QStringList keys() const;  // in writing order, as first written

    bool operator==(const PropertyBag &other) const;

private:
    int indexOf(const QString &key) const;
    QList<QPair<QString, QVariant>> entries_;
};
