#include "support/mediaprobe.h"

#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QWidget>

namespace testenv {

Probed ffprobe(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_format", "-show_streams", "-of", "json", path});
    p.waitForFinished(30000);
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    Probed r;
    r.format = o["format"].toObject()["format_name"].toString();
    r.duration = o["format"].toObject()["duration"].toString().toDouble();
    for (const auto &s : o["streams"].toArray()) {
        const QJsonObject st = s.toObject();
        const QString type = st["codec_type"].toString();
        if (type == QLatin1String("video") && r.video.isEmpty()) {
            r.video = st["codec_name"].toString();
            r.width = st["width"].toInt();
            r.height = st["height"].toInt();
        } else if (type == QLatin1String("audio") && r.audio.isEmpty()) {
            r.audio = st["codec_name"].toString();
            r.sampleRate = st["sample_rate"].toString().toInt();
        }
    }
    return r;
}

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

} // namespace testenv
