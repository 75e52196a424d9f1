// Small drawing helpers shared by the windows and the skinned controls: the
// conversion progress bar, resized copies of skin pictures, file-type icons,
// 3D edges round a picture box and the frame styles of edit boxes.
//
// Colours are 0x00BBGGRR values; system-colour references (0x800000nn) are
// accepted wherever a colour is (see syscolors.h).
#pragma once

#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <cstdint>

class QPainter;

// A plain drawing surface: a background colour, an optional picture drawn at its
// top-left corner, and a persistent drawing layer that keeps what was drawn on it
// until the next Cls (so it survives repaints, like a box with automatic redraw).
// Being a QFrame, it takes frame styles from mdlSetBoxSpec::SetBorderStyle.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QString Tag;

    // The background colour, a colour value (default: button face).
    std::uint32_t BackColor() const { return backColor_; }
    void setBackColor(std::uint32_t colour);

    const QPixmap &Picture() const { return picture_; }
    void setPicture(const QPixmap &picture);

    // The drawing layer, as big as the inner area; transparent where nothing is drawn.
    QImage &canvas();
    const QImage &canvas() const;
    // Clears the drawing layer.
    void Cls();
    // Shows what was drawn on the layer.
    void Refresh() { update(); }

    // What the box shows inside its frame: background, picture and drawing.
    QImage composed() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitCanvas() const;

    std::uint32_t backColor_;
    QPixmap picture_;
    mutable QImage canvas_;  // follows the inner size whenever it is reached
};

namespace mdlProgressBar {

// The progress bar: the part up to (value - min) / (max - min) of the width in
// doneColour, the rest in restColour, and, with showText, caption (or, when it is
// empty, the percentage as "45.6 %") centred in textColour. Nothing happens when
// max - min is not above 0 or the image is null.
void drawProgressBar(QImage &pic, float min, float max, float value, const QString &caption,
                     bool showText, std::uint32_t textColour, std::uint32_t restColour,
                     std::uint32_t doneColour, const QFont &font);
// The same on a picture box's drawing layer, with the box's font, then shown.
void drawProgressBar(PictureBox *pic, float min, float max, float value, const QString &caption,
                     bool showText, std::uint32_t textColour, std::uint32_t restColour,
                     std::uint32_t doneColour);

// The text drawProgressBar shows; "" when max - min is not above 0.
QString progressText(float min, float max, float value, const QString &caption);
// The x at which the done part ends in a bar of this width (0..width).
int progressSplit(float min, float max, float value, int width);

} // namespace mdlProgressBar

namespace mdlStretchPicture {

// A copy of picture of exactly width x height pixels, filled with backColour and
// with the picture stretched over the whole of it. The picture itself comes back
// (same object, nothing copied) when it is null, already of that size, or when
// the size asked for is empty or cannot be made. keepAspect and force are always
// 0 in this program and change nothing.
QPixmap StretchPicture(const QPixmap &picture, int width, int height, int keepAspect = 0,
                       std::uint32_t backColour = 0xFFFFFF, int force = 0);

} // namespace mdlStretchPicture

namespace mdlIconVarne {

// The small icon of a file's type: of the file itself when it exists, else of
// its extension; a generic file icon when nothing more fitting is known.
QIcon fileIcon(const QString &path);
// Clears pic and draws the icon of path at (x, y), cx x cy pixels.
void DrawFileIcon(PictureBox *pic, const QString &path, int x, int y, int cx, int cy);
void DrawFileIcon(QImage &pic, const QString &path, int x, int y, int cx, int cy);

} // namespace mdlIconVarne

namespace mdlSetBoxSpec {

// Edge kinds: bits of the outer ring (1 raised, 2 sunken) and the inner ring
// (4 raised, 8 sunken).
enum Edge : int {
    RaisedOuter = 0x1,
    SunkenOuter = 0x2,
    RaisedInner = 0x4,
    SunkenInner = 0x8,
    EdgeRaised = RaisedOuter | RaisedInner,  // 5
    EdgeSunken = SunkenOuter | SunkenInner,  // 10
    EdgeEtched = SunkenOuter | RaisedInner,  // 6
    EdgeBump = RaisedOuter | SunkenInner,    // 9
};

// Draws a 3D edge of the given kind round rect (all four sides), in the classic
// system colours; top and left take the light colour of a ring, right and bottom
// (with the top-right and bottom-left corner pixels) the dark one.
void drawEdge(QPainter &painter, const QRect &rect, int edge);
// Clears the box and draws the edge round its whole inner area.
void SetBoxEdge(PictureBox *box, int edge);

// Window style bits that still mean something for a widget's frame.
inline constexpr std::uint32_t WS_BORDER = 0x800000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x40000;
inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x1;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x200;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x20000;

struct StyleBits {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    bool operator==(const StyleBits &) const = default;
};

// The bits border style n (0..6) gives, starting from old; any other n removes
// every edge.
StyleBits borderStyleBits(StyleBits old, int style);

// The frame bits a widget carries (kept with the widget; 0 until set here).
StyleBits styleBits(const QWidget *widget);
// (old style without remove) with add, for the style or the extended style;
// the widget's frame follows at once.
void ModifyStyle(QWidget *widget, std::uint32_t remove, std::uint32_t add);
void ModifyExStyle(QWidget *widget, std::uint32_t remove, std::uint32_t add);
// Border style 0..6 of a widget (5 thin static edge; 7 or any other value none).
// Frames (QFrame and its kinds) take the matching shape; line edits, combo boxes
// and spin boxes have their frame switched on or off.
void SetBorderStyle(QWidget *widget, int style);

} // namespace mdlSetBoxSpec
