// Small system look-ups: the interface language from the locale, whether a folder
// lies on a local drive, and the installed fonts for the subtitle font list.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace mdlLocaleLng {
// "tw" for Chinese in Traditional script or from TW, HK, MO; "gb" for other Chinese; else "en".
QString GetLocaleLng();
// The same rule for a given locale name ("zh_TW", "zh_Hant_HK", "zh_CN", "de_DE", ...).
QString LngForLocaleName(const QString &name);
} // namespace mdlLocaleLng

namespace mdlMavrell {
// True when the folder (or the folder of the file) exists and its file system is
// neither a network one nor read-only media.
bool IsLocalDrive(const QString &path);
// The file system type (as the mount table names it) is one that reaches over a
// network or a desktop virtual file system.
bool isNetworkFileSystem(const QByteArray &type);
} // namespace mdlMavrell

namespace mdlGetFontsFile {

struct FontItem {
    QString text;    // "Family   (file.ttf)", as the list shows it
    QString family;  // what the tools take as a font name
    QString file;    // full path of the font file
};

// Display name of a family: the twelve well-known Chinese families get their
// names from the text table (txt::FontFangSong to txt::FontDFKai); others stand as they are.
QString DisplayName(const QString &family);
// The installed TrueType fonts (.ttf, .ttc), each item once, in fontconfig's order.
QList<FontItem> InstalledFonts();

} // namespace mdlGetFontsFile
