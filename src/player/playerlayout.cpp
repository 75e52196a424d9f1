#include "player/playerlayout.h"

#include "core/numbertext.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

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

QRect placeClearOf(QRect wanted, QSize minimum, const QList<QRect> &keepClear, QRect screen)
{
    const QRect start(keepOnScreen(wanted.topLeft(), wanted.size(), screen), wanted.size());
    auto coversNone = [&keepClear](const QRect &r) {
        return std::none_of(keepClear.begin(), keepClear.end(), [&r](const QRect &k) { return r.intersects(k); });
    };
    if (coversNone(start))
        return start;
    // The places worth trying put an edge of the window on an edge of the screen or
    // beside an edge of a rectangle to keep clear, or leave it where it was in one direction.
    auto nearest = [&](QSize size) -> std::optional<QRect> {
        QList<int> xs{start.x(), screen.left(), screen.right() + 1 - size.width()};
        QList<int> ys{start.y(), screen.top(), screen.bottom() + 1 - size.height()};
        for (const QRect &k : keepClear) {
            xs << k.left() - size.width() << k.right() + 1;
            ys << k.top() - size.height() << k.bottom() + 1;
        }
        std::optional<QRect> best;
        long bestDistance = 0;
        for (const int x : xs)
            for (const int y : ys) {
                const QRect r(QPoint(x, y), size);
                if (!screen.contains(r) || !coversNone(r))
                    continue;
                const long distance = std::labs(long(x) - start.x()) + std::labs(long(y) - start.y());
                if (!best || distance < bestDistance) {
                    best = r;
                    bestDistance = distance;
                }
            }
        return best;
    };
    for (int twentieths = 20; twentieths > 0; --twentieths) {
        const QSize size = QSize(int(long(wanted.width()) * twentieths / 20), int(long(wanted.height()) * twentieths / 20))
                               .expandedTo(minimum)
                               .boundedTo(screen.size());
        if (const std::optional<QRect> r = nearest(size))
            return *r;
        if (size.width() <= minimum.width() && size.height() <= minimum.height())
            break;
    }
    return start;
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
