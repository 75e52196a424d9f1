// Texts and small decisions of the main window that need no window: the open-file
// filter, the source information lines, the CPU line and the names in the download menus.
#pragma once

#include <QString>
#include <QStringList>

namespace mainwin {

// The open dialog's filter: 15 description and pattern pairs joined by "|".
QString openFileFilterText();

// The source information lines from SourceInfo and the text table.
QString videoSizeText();
QString videoLenText();

// The CPU-load line for a meter reading; a negative or unreadable load shows "0.0".
QString cpuLineText(const QString &meterText);

// The ten sibling products named in the download menus (four new, six further ones).
QStringList familyProducts();

// The version label.
inline constexpr const char *versionText = "1.8.2";

} // namespace mainwin
