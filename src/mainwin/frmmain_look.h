// The main window's look: where every control sits, its colours and fonts, and the
// small pictures drawn in code (title-bar glyphs, the walking figure, the locks).
#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <cstdint>

class QFrame;
class QLabel;
class QPainter;
class QWidget;
class PictureBox;
class StyleButton;

namespace look {

inline constexpr QSize windowSize{580, 352};
inline constexpr int developerRowHeight = 30;  // added below in developer mode
inline constexpr int titleHeight = 34;

QRect rowButton(int row);          // cmdInput, cmdOutput, cmdOpt
QRect pathLabel(int row);          // lblInput, lblOutput (their Top follows the button)
inline constexpr QRect videoSizeLabel{18, 95, 220, 18};
inline constexpr QRect videoLenLabel{240, 95, 324, 18};
inline constexpr QRect encodeNoteLabel{176, 172, 388, 70};
inline constexpr int encodeNotePixelSize = 11;
inline constexpr QRect encodeNoteCheckLabel{176, 194, 388, 22};
inline constexpr QRect progressFrame{16, 250, 548, 26};
inline constexpr QRect progressBox{17, 251, 546, 24};
inline constexpr QRect encodeButton{424, 288, 140, 46};
inline constexpr QRect estimateBox{16, 290, 396, 20};
inline constexpr QRect cpuLabel{18, 314, 394, 18};
inline constexpr QRect versionLabel{96, 12, 60, 16};
inline constexpr QRect msgSayImage{226, 10, 18, 16};
inline constexpr QRect msgSayLabel{248, 9, 220, 18};
QRect titleButton(int index);
QRect developerControl(int index);
QRect funStart(bool facingLeft);
QRect lockOn(const QRect &button);

inline constexpr std::uint32_t blockResting = 0x004040;

void styleMainButton(StyleButton *b);
void styleEncodeButton(StyleButton *b, bool stop);
void styleLabel(QLabel *l);
void stylePathLabel(QLabel *l);
void styleSmallLabel(QLabel *l);
void styleNoteLabel(QLabel *l);
void styleBusyNote(QLabel *l);
void styleVersionLabel(QLabel *l);
void styleLinkLabel(QLabel *l);
void styleTitleButton(QLabel *l, int index);
void styleEstimateBox(PictureBox *box);
void styleDeveloperControl(QWidget *w);
void setBlockColour(QFrame *block, std::uint32_t bgr);

QPixmap msgSayPicture();
QPixmap funPicture(bool facingLeft);
QPixmap lockPicture();

// The window's background; no divider runs through keepClear (the settings summary).
void paintBackground(QPainter &p, const QRect &r, const QRect &keepClear = QRect());

} // namespace look
