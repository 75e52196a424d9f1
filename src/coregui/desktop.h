// The helpers of the core that need a window system: top-most and translucent
// windows, the interface's fonts, and handing links, documents and folders to the
// desktop.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace mdlMavrell {

void SetTopMost(QWidget *window, bool onTop);
// restoreStyle != 0 puts the window back to its plain state; otherwise colorKey
// (0x00BBGGRR, -1 = none) becomes the window's transparent colour and alpha
// (0..255, -1 = none) its opacity.
void SetTranslucent(QWidget *window, int colorKey, int alpha, int restoreStyle);
// Makes opacity and shape changes reach the X server now (nothing elsewhere).
void flushWindowSystem();

// Chinese text takes the glyph forms of its own script: Noto Sans CJK SC for "gb",
// Noto Sans CJK TC for "tw" and for the Chinese words that English keeps.
QString cjkFamilyFor(const QString &code);
// A window's faces in language code: in Chinese the script's face, then the window's
// own Latin face; English keeps the Latin face alone (a CJK face in the list would make
// every line as tall as the CJK face's lines).
QStringList windowFamilies(const QString &latin, const QString &code);
// The faces of every window and box that sets none of its own (message boxes, file
// dialogs): the script's face in Chinese, DejaVu Sans with it in English.
void applyInterfaceFont(const QString &code);

// Opens a web page or mailto: link, a document, or the file manager with the file selected.
void OpenURL(const QString &url);
void ShellOpen(const QString &file);
void ShowInExplorer(const QString &file);

} // namespace mdlMavrell
