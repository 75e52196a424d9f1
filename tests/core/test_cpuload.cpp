#include "core/cpuload.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fake /proc/stat whose text a test rewrites between samples.
class FakeStat {
public:
    FakeStat() : path_(dir_.filePath("stat")) {}
    QString path() const { return path_; }
    void write(const QByteArray &cpuLine)
    {
        QFile f(path_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(cpuLine + "\ncpu0 1 2 3 4 5 6 7 8 0 0\nintr 12345 0 0\nctxt 999\n");
    }
    void remove() { QFile::remove(path_); }

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace

TEST(CpuLoad, LoadBetweenTwoSamples)
{
    // Fields: user nice system idle iowait irq softirq steal guest guest_nice.
    struct Case { const char *first; const char *second; const char *expected; };
    const Case cases[] = {
        // A quarter of the time idle: 75 % busy, lifted by half a point.
        {"cpu  100 0 100 800 0 0 0 0 0 0", "cpu  175 0 100 825 0 0 0 0 0 0", "75.5"},
        {"cpu  100 0 100 800 0 0 0 0 0 0", "cpu  100 0 100 900 0 0 0 0 0 0", "0.5"},   // all idle
        {"cpu  100 0 100 800 0 0 0 0 0 0", "cpu  200 0 100 800 0 0 0 0 0 0", "100"},   // 100.5
        {"cpu  0 0 0 0 0 0 0 0 0 0", "cpu  1000 0 0 3 0 0 0 0 0 0", "100"},             // 100.2
        // Waiting for the disk counts as idle; stolen time as busy.
        {"cpu  0 0 0 0 0 0 0 0 0 0", "cpu  0 0 0 50 50 0 0 0 0 0", "0.5"},
        {"cpu  0 0 0 0 0 0 0 0 0 0", "cpu  0 0 0 50 0 0 0 50 0 0", "50.5"},
        // Guest time is already part of user time and must not count twice.
        {"cpu  0 0 0 0 0 0 0 0 0 0", "cpu  50 0 0 50 0 0 0 0 50 0", "50.5"},
        // Old kernels write only four counters.
        {"cpu 10 0 10 80", "cpu 20 0 20 160", "20.5"},
        // Three processors, 1/3 idle overall.
        {"cpu  0 0 0 0 0 0 0 0 0 0", "cpu  200 0 100 150 0 0 0 0 0 0", "67.2"},
    };
    for (const auto &c : cases) {
        FakeStat stat;
        stat.write(c.first);
        cpuUsageNT meter(stat.path());
        meter.Initialize();
        stat.write(c.second);
        EXPECT_EQ(meter.query(), c.expected) << c.second;
    }
}

TEST(CpuLoad, UnreadableCountersGiveMinusOneAndKeepTheSample)
{
    FakeStat stat;
    stat.write("cpu  100 0 100 800 0 0 0 0 0 0");
    cpuUsageNT meter(stat.path());
    meter.Initialize();

    stat.remove();
    EXPECT_EQ(meter.query(), "-1");
    stat.write("cpu  12 abc 0 0");
    EXPECT_EQ(meter.query(), "-1");
    stat.write("cpu  1 2 3");
    EXPECT_EQ(meter.query(), "-1");
    stat.write("cpux 1 2 3 4");  // only per-processor lines, no aggregate
    EXPECT_EQ(meter.query(), "-1");

    // The first sample is still the base of the next good reading.
    stat.write("cpu  175 0 100 825 0 0 0 0 0 0");
    EXPECT_EQ(meter.query(), "75.5");
}

TEST(CpuLoad, NoTimePassedKeepsTheLastReading)
{
    FakeStat stat;
    stat.write("cpu  100 0 100 800 0 0 0 0 0 0");
    cpuUsageNT meter(stat.path());
    meter.Initialize();
    EXPECT_EQ(meter.query(), "0.0");  // nothing measured yet
    stat.write("cpu  175 0 100 825 0 0 0 0 0 0");
    EXPECT_EQ(meter.query(), "75.5");
    EXPECT_EQ(meter.query(), "75.5");  // same counters again
    // Counters running backwards (a processor going off line) do not read as a load.
    stat.write("cpu  50 0 50 400 0 0 0 0 0 0");
    EXPECT_EQ(meter.query(), "75.5");
    stat.write("cpu  50 0 50 500 0 0 0 0 0 0");
    EXPECT_EQ(meter.query(), "0.5");
}

TEST(CpuLoad, TextRounding)
{
    using cpuload::loadText;
    EXPECT_EQ(loadText(0.5), "0.5");
    EXPECT_EQ(loadText(37), "37.0");
    EXPECT_EQ(loadText(33.25), "33.3");
    EXPECT_EQ(loadText(99.94), "99.9");
    EXPECT_EQ(loadText(99.96), "100");
    EXPECT_EQ(loadText(100.3), "100");
}

TEST(CpuLoad, ReadsTheRealCounters)
{
    EXPECT_FALSE(cpuload::parseProcStat(QByteArray()).has_value());
    QFile f("/proc/stat");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto t = cpuload::parseProcStat(f.readAll());
    ASSERT_TRUE(t.has_value());
    EXPECT_GT(t->total, t->idle);

    cpuUsageNT meter;
    meter.Initialize();
    const QString text = meter.query();
    EXPECT_TRUE(QRegularExpression("^(\\d{1,2}\\.\\d|100)$").match(text).hasMatch()) << text.toStdString();
}
