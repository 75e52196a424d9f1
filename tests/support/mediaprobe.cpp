#include "support/mediaprobe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

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

} // namespace testenv
