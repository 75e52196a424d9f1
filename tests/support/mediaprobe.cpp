#include "support/mediaprobe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <cmath>

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
            const QStringList sar = st["sample_aspect_ratio"].toString().split(':');
            const double pixel = sar.size() == 2 && sar[0].toDouble() > 0 && sar[1].toDouble() > 0
                                     ? sar[0].toDouble() / sar[1].toDouble()
                                     : 1.0;
            r.shape = r.height > 0 ? r.width * pixel / r.height : 0;
        } else if (type == QLatin1String("audio") && r.audio.isEmpty()) {
            r.audio = st["codec_name"].toString();
            r.sampleRate = st["sample_rate"].toString().toInt();
        }
    }
    return r;
}

PacketTimes packetTimes(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"), {"-v", "error", "-show_entries",
                                        "stream=index,codec_type:packet=stream_index,pts_time,dts_time,duration_time,pos",
                                        "-of", "json", path});
    p.waitForFinished(60000);
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    int videoIndex = -1, audioIndex = -1;
    for (const auto &s : o["streams"].toArray()) {
        const QJsonObject st = s.toObject();
        if (st["codec_type"].toString() == QLatin1String("video") && videoIndex < 0)
            videoIndex = st["index"].toInt();
        if (st["codec_type"].toString() == QLatin1String("audio") && audioIndex < 0)
            audioIndex = st["index"].toInt();
    }
    PacketTimes r;
    struct Placed {
        qint64 pos;
        bool video;
        double time;
    };
    QList<Placed> placed;
    for (const auto &k : o["packets"].toArray()) {
        const QJsonObject pk = k.toObject();
        const int index = pk["stream_index"].toInt();
        StreamTimes *t = index == videoIndex ? &r.video : index == audioIndex ? &r.audio : nullptr;
        const QString at = pk.contains("pts_time") ? pk["pts_time"].toString() : pk["dts_time"].toString();
        bool ok = false;
        const double time = at.toDouble(&ok);
        if (!t || !ok)
            continue;
        bool hasPos = false;
        const qint64 pos = pk["pos"].toString().toLongLong(&hasPos);
        if (hasPos)
            placed.append({pos, t == &r.video, time});
        const double end = time + pk["duration_time"].toString().toDouble();
        if (!t->present) {
            *t = {true, time, end};
        } else {
            t->first = std::min(t->first, time);
            t->last = std::max(t->last, end);
        }
    }
    if (!r.video.present || !r.audio.present)
        return r;
    std::stable_sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.pos < b.pos; });
    const double from = std::max(r.video.first, r.audio.first), to = std::min(r.video.last, r.audio.last);
    double picture = -1, sound = -1;
    for (const Placed &p : placed) {
        double &latest = p.video ? picture : sound;
        latest = std::max(latest, std::clamp(p.time, from, to));
        if (picture >= 0 && sound >= 0)
            r.apartInFile = std::max(r.apartInFile, std::fabs(picture - sound));
    }
    return r;
}

} // namespace testenv
