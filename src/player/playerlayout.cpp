#include "player/playerlayout.h"

#include "core/numbertext.h"

#include <algorithm>

namespace playerlayout {

void getMediaNewSize(int wdt1, int hgt1, int &wdt2, int &hgt2)
{
    if (wdt2 * hgt2 == 0) {
        wdt2 = minPictureWidth;
        hgt2 = minPictureHeight;
    }
    const float r = float(wdt1) / float(wdt2);
    const int h = int(numbertext::roundHalfEven(double(r * float(hgt2))));
    if (h <= hgt1) {
        wdt2 = wdt1;
        hgt2 = h;
    } else {
        const float r2 = float(hgt1) / float(hgt2);
        wdt2 = int(numbertext::roundHalfEven(double(r2 * float(wdt2))));
        hgt2 = hgt1;
    }
}

QSize clientSizeFor(int w, int h)
{
    return QSize(std::max(w, minPictureWidth) + containerMargin,
                 std::max(h, minPictureHeight) + barHeight + containerMargin);
}

QSize minimumClientSize()
{
    return clientSizeFor(0, 0);
}

QPoint keepOnScreen(QPoint pos, QSize outer, QRect screen)
{
    int l = pos.x(), t = pos.y();
    if (screen.right() + 1 < l + outer.width())
        l = screen.right() + 1 - outer.width();
    if (l < screen.left())
        l = screen.left();
    if (screen.bottom() + 1 < t + outer.height())
        t = screen.bottom() + 1 - outer.height();
    if (t < screen.top())
        t = screen.top();
    return QPoint(l, t);
}

QSize clientSizeOnScreen(QSize client, QSize margins, QSize screen)
{
    const QSize min = minimumClientSize();
    const int w = std::max(min.width(), std::min(client.width(), screen.width() - margins.width()));
    const int h = std::max(min.height(), std::min(client.height(), screen.height() - margins.height()));
    return QSize(w, h);
}

QPoint placeOnScreens(QPoint pos, QSize outer, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return pos;
    QRect on = screens.first();
    for (const QRect &s : screens)
        if (s.contains(pos)) {
            on = s;
            break;
        }
    return keepOnScreen(pos, outer, on);
}

QRect pictureRect(int w, int h, QSize container, bool keepWH, bool haveFile)
{
    if (w * h > 0 && haveFile && keepWH) {
        getMediaNewSize(container.width(), container.height(), w, h);
    } else {
        w = container.width();
        h = container.height();
    }
    return QRect((container.width() - w) / 2, (container.height() - h) / 2, w, h);
}

SeekScale seekScale(int trackWidth, long totalFrames)
{
    SeekScale s;
    if (totalFrames > 1) {
        s.totalFrames = totalFrames;
        s.scale = double(trackWidth) / double(totalFrames);
    }
    return s;
}

} // namespace playerlayout
