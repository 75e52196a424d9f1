// The machine's CPU load for the main window's once-a-second meter, from the
// aggregate "cpu" line of /proc/stat (all processors together).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace cpuload {

// Time counters of the aggregate line, in the kernel's clock ticks.
struct CpuTimes {
    std::uint64_t idle = 0;   // idle + iowait
    std::uint64_t total = 0;  // user + nice + system + idle + iowait + irq + softirq + steal
};

// The counters of the "cpu " line of /proc/stat text; nothing when the line is
// missing or malformed.
std::optional<CpuTimes> parseProcStat(const QByteArray &text);

// The load between two samples in percent (with the meter's half-point lift),
// kept to four decimals; nothing when no time passed between them.
std::optional<double> loadPercent(const CpuTimes &last, const CpuTimes &now);

// The meter's text for a load: one decimal ("75.5"), or "100" at 100 and above.
QString loadText(double load);

} // namespace cpuload

// The CPU-load meter. Initialize takes the first sample; every query reads a new
// one and gives the load since the previous sample as text, or "-1" when the
// counters cannot be read (the previous sample then stays).
class cpuUsageNT {
public:
    explicit cpuUsageNT(const QString &statPath = QStringLiteral("/proc/stat"));

    void Initialize();
    QString query();
    void terminate() {}

private:
    std::optional<cpuload::CpuTimes> read() const;

    QString statPath_;
    cpuload::CpuTimes last_;
    QString lastText_ = QStringLiteral("0.0");
};
