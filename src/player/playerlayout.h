// The player window's size arithmetic, in pixels: the aspect fit of the picture, the
// window size for a video's own size kept on the screen, the minimum size and the
// seek bar's scale. The window calls these and only moves its widgets.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace playerlayout {

// The smallest picture area a sized window keeps, and the size of a video without one.
inline constexpr int minPictureWidth = 320;
inline constexpr int minPictureHeight = 20;
// Height of the bottom bar and the frame round the picture container.
inline constexpr int barHeight = 69;
inline constexpr int containerMargin = 2;

// Fits a wdt2 x hgt2 video into a wdt1 x hgt1 box keeping its aspect ratio; the result
// is written back into wdt2, hgt2. A video without a size counts as 320 x 20.
void getMediaNewSize(int wdt1, int hgt1, int &wdt2, int &hgt2);

// The window's inner size for a picture area of w x h (raised to the minimum).
QSize clientSizeFor(int w, int h);
// The smallest inner size of a window in the normal state.
QSize minimumClientSize();

// Where a window of outer size `outer` goes when it starts at `pos` on a screen of
// `screen`: pulled back so its right and bottom edges stay on the screen, but never
// past the left or top edge.
QPoint keepOnScreen(QPoint pos, QSize outer, QRect screen);

// The window's inner size for client on a screen of `screen`, where margins is the
// frame round it: no larger than the screen (the bottom bar stays on it), no smaller
// than the minimum.
QSize clientSizeOnScreen(QSize client, QSize margins, QSize screen);

// Where a window stored at pos goes: on the screen that holds pos, else on the first
// (primary) screen, kept there by keepOnScreen.
QPoint placeOnScreens(QPoint pos, QSize outer, const QList<QRect> &screens);

// Where a window wanted at `wanted` (its outer rectangle) goes on `screen` so that it
// covers none of the rectangles `keepClear`: kept on the screen where it covers none;
// else the nearest place where it covers none at its size; else the same at the largest
// size, in steps of a twentieth and never below `minimum`, that finds such a place;
// else kept on the screen where it was wanted.
QRect placeClearOf(QRect wanted, QSize minimum, const QList<QRect> &keepClear, QRect screen);

// The picture inside a container of `container`: the fitted size when the video has
// a size, a file is there and the aspect option is on, else the whole container;
// centred.
QRect pictureRect(int w, int h, QSize container, bool keepWH, bool haveFile);

// Frames spanned by the seek bar (at least 1) and its pixels per frame (1 when it
// spans one frame or none).
struct SeekScale {
    long totalFrames = 1;
    double scale = 1;
};
SeekScale seekScale(int trackWidth, long totalFrames);

} // namespace playerlayout
