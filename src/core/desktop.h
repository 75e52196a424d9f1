// The helpers of the core that need a window system: top-most and translucent
// windows, and handing links, documents and folders to the desktop.
#pragma once

#include <QString>

class QWidget;

namespace mdlMavrell {

void SetTopMost(QWidget *window, bool onTop);
// restoreStyle != 0 puts the window back to its plain state; otherwise colorKey
// (0x00BBGGRR, -1 = none) becomes the window's transparent colour and alpha
// (0..255, -1 = none) its opacity.
void SetTranslucent(QWidget *window, int colorKey, int alpha, int restoreStyle);
// Makes opacity and shape changes reach the X server now (nothing elsewhere).
void flushWindowSystem();

// Opens a web page or mailto: link, a document, or the file manager with the file selected.
void OpenURL(const QString &url);
void ShellOpen(const QString &file);
void ShowInExplorer(const QString &file);

} // namespace mdlMavrell
