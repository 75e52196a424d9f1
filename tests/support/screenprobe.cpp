// The screen half of mediaprobe.h, in the test support for window tests.
#include "support/mediaprobe.h"

#include <QFont>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>
#include <QTextLayout>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QWidget>

namespace testenv {

QImage onScreen(QWidget *w)
{
    const QPoint at = w->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), w->width(), w->height()).toImage();
}

int pictureColours(const QImage &img)
{
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); y += 4)
        for (int x = 0; x < img.width(); x += 4) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            if (c != 0 && c != 0x010203)
                colours.insert(c);
        }
    return int(colours.size());
}

double litShare(const QImage &img, const QRect &r)
{
    int lit = 0, all = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x, ++all)
            lit += img.pixelColor(x, y).lightness() > 40;
    return all ? double(lit) / all : 0;
}

// The faces the glyphs of text come from when it is set in font.
QStringList facesOf(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun &run : layout.glyphRuns())
        faces << run.rawFont().familyName();
    faces.removeDuplicates();
    return faces;
}

} // namespace testenv
