// The painter of the skinned button: colour arithmetic, palette, layout, window
// region and the drawing of every look into an image. Nothing here needs a window,
// so the looks can be drawn and checked pixel by pixel without one.
//
// Colours are 0x00BBGGRR integers (see coregui/syscolors.h); values of the form
// 0x800000nn name a system colour of the fixed classic table.
#pragma once

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QString>
#include <cstdint>

namespace stylepaint {

using Colour = std::uint32_t;

// Every channel moved by amount; capped at 255 for a positive amount, at 0 for a
// negative one. With relative set, blue moves by (B * amount) / 192 (truncated)
// instead, red and green still by the plain amount.
Colour shiftColor(Colour colour, int amount, bool relative = false);
// Mix towards white: c' = c * (255 - alpha) / 255 + alpha per channel, capped at 255.
Colour blendColor(Colour colour, int alpha);

// The colour sets the button can draw with.
enum Scheme { OwnColours = 1, SystemColours = 2, ContainerColours = 3 };

struct Palette {
    Colour base = 0, light = 0, lighter = 0, shadow = 0, dark = 0;
    Colour text = 0, textOver = 0, selection = 0, selectionLight = 0, mask = 0;
    Colour brightBase = 0;
};

// What the palette is built from; every colour may be a system-colour reference.
struct PaletteInput {
    int scheme = SystemColours;  // any value but 1 and 3 means the system colours
    int buttonType = 2;          // look 3 uses a relative bright base
    Colour back = 0, fore = 0, foreOver = 0, mask = 0;
    Colour containerBack = 0, containerFore = 0;
};
Palette buildPalette(const PaletteInput &in);

// A rectangle in the (left, top)-(right, bottom) form, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Box &) const = default;
    Box moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

// The margin of the inner (focus) rectangle of a look.
Box innerRect(int buttonType, int width, int height);

// The window region of a look: the rectangle minus the cut corner pixels.
QRegion buildRegion(int buttonType, int width, int height);

// Caption and picture placement.
struct LayoutInput {
    int width = 0, height = 0;
    int picturePosition = 4;     // 0 left, 1 right, 2 above, 3 below, 4 behind the caption
    int pictureWidth = 0, pictureHeight = 0;
    bool hasPictureOrOver = false;
    int captionShiftX = 0, captionShiftY = 0;
    int downCaptionShift = 1;
    QString caption;
    QFont font;
    int previousPictureX = 0, previousPictureY = 0;  // kept when there is no picture
};
struct Layout {
    Box captionRect;
    Box downCaptionRect;
    int pictureX = 0, pictureY = 0;
};
Layout calcLayout(const LayoutInput &in);
// The size of caption wrapped into a box of the given width (0 x 0 for "").
QSize measureCaption(const QString &caption, const QFont &font, int maxWidth);

// One picture drawn onto target at (x, y), at most width x height pixels of it.
// A picture with an alpha channel is first laid onto a field of the mask colour.
// When useMask is set, pixels of the mask colour are left out; solid (when given)
// paints every other pixel in that colour; grey gives RGB(L, L, L) with
// L = 0.3 R + 0.59 G + 0.11 B; blend mixes (2 picture + background) / 3.
struct PictureRender {
    bool useMask = false;
    Colour maskColour = 0;
    bool hasSolid = false;
    Colour solid = 0;
    bool grey = false;
    bool blend = false;
};
void paintPicture(QImage &target, int x, int y, int width, int height, const QImage &picture,
                  const PictureRender &how);

// Everything one paint of the button needs.
struct LookInput {
    int width = 0, height = 0;
    int buttonType = 2;
    int state = 0;               // 0 up, 1 over, 2 down, other: background only
    bool hover = false;          // the over look is shown (state 1)
    bool pointerOver = false;    // the pointer is over the button (look 9 pressed)
    bool enabled = true;
    bool focused = false;
    bool showFocusRect = false;
    bool displayAsDefault = false;  // the host shows this as its default button
    PaletteInput colours;
    Colour backOver = 0;         // base while hovering in the own scheme
    QString caption;
    QFont font;
    Layout layout;
    int pictureWidth = 0, pictureHeight = 0;
    int picturePosition = 4;
    int downPictureShift = 1;
    QImage picture, pictureOver, pictureDown, pictureDisabled;
    bool pictureDisabledSame = false;
    bool maskColorUse = false;
    bool pictureGreyUse = false;
    bool pictureDisableGreyUse = false;
    QImage background;           // the container's pixels under the button (look 11)
};

// Paints the whole button into image (which must be width x height) and returns the
// caption style it drew last (-1 when it drew none).
int paintLook(QImage &image, const LookInput &in);

} // namespace stylepaint
