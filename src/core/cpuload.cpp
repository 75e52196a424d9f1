#include "core/cpuload.h"

#include "core/numbertext.h"

#include <QFile>
#include <QList>
#include <cmath>

namespace cpuload {

namespace {

double keepFourDecimals(double x) { return numbertext::roundHalfEven(x * 10000.0) / 10000.0; }

} // namespace

std::optional<CpuTimes> parseProcStat(const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.isEmpty() || fields[0] != "cpu")
            continue;
        // user nice system idle [iowait irq softirq steal [guest guest_nice]]; guest
        // time is already counted in user and nice.
        if (fields.size() < 5)
            return std::nullopt;
        std::uint64_t v[8] = {};
        const int n = std::min<int>(fields.size() - 1, 8);
        for (int i = 0; i < n; ++i) {
            bool ok = false;
            v[i] = fields[i + 1].toULongLong(&ok);
            if (!ok)
                return std::nullopt;
        }
        CpuTimes t;
        t.idle = v[3] + v[4];
        for (int i = 0; i < 8; ++i)
            t.total += v[i];
        return t;
    }
    return std::nullopt;
}

std::optional<double> loadPercent(const CpuTimes &last, const CpuTimes &now)
{
    // Counters that stand still or run backwards (a processor taken off line)
    // say nothing about the load.
    if (now.total <= last.total)
        return std::nullopt;
    const double dTime = static_cast<double>(now.total - last.total);
    double dIdle = now.idle >= last.idle ? static_cast<double>(now.idle - last.idle) : 0.0;
    if (dIdle > dTime)
        dIdle = dTime;
    const double ratio = keepFourDecimals(dIdle / dTime);
    return keepFourDecimals(100.0 - ratio * 100.0 + 0.5);
}

QString loadText(double load)
{
    const double shown = std::round(load * 10.0) / 10.0;
    if (shown >= 100.0)
        return QStringLiteral("100");
    return numbertext::fixed(shown, 1);
}

} // namespace cpuload

cpuUsageNT::cpuUsageNT(const QString &statPath) : statPath_(statPath) {}

std::optional<cpuload::CpuTimes> cpuUsageNT::read() const
{
    QFile f(statPath_);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return cpuload::parseProcStat(f.readAll());
}

void cpuUsageNT::Initialize()
{
    if (const auto now = read())
        last_ = *now;
}

QString cpuUsageNT::query()
{
    const auto now = read();
    if (!now)
        return QStringLiteral("-1");
    const auto load = cpuload::loadPercent(last_, *now);
    last_ = *now;
    // With no time counted since the last sample the meter keeps its last reading.
    if (load)
        lastText_ = cpuload::loadText(*load);
    return lastText_;
}
