#include "mainwin/encodetimeestimate.h"
#include "mainwin/settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>

using settingsfile::Entry;

TEST(SettingsFile, RecognisedLinesInOrder)
{
    const QString text = "  MAINLEFT=1200  \r\nMainLeft =99\r\nmaintop=300\r\nnoequals\r\n\r\nColour=red\r\n"
                         "Language=gb\nTargetDefDirMode=2\r\nTargetDefDir=/tmp\r\nlanguage=tw\r\n";
    const auto e = settingsfile::parse(text);
    ASSERT_EQ(e.size(), 6);
    EXPECT_EQ(e[0].key, Entry::MainLeft);
    EXPECT_EQ(e[0].value.toStdString(), "1200");
    EXPECT_EQ(e[1].key, Entry::MainTop);
    EXPECT_EQ(e[2].key, Entry::Language);
    EXPECT_EQ(e[3].key, Entry::TargetDefDirMode);  // not taken for TargetDefDir
    EXPECT_EQ(e[4].key, Entry::TargetDefDir);
    EXPECT_EQ(e[4].value.toStdString(), "/tmp");
    EXPECT_EQ(e[5].value.toStdString(), "tw");     // the last one wins when applied in order
}

TEST(SettingsFile, EdgesStayOnTheScreen)
{
    struct Case { const char *value; int window, screen, edge; };
    const Case cases[] = {{"1200", 6000, 19200, 1200}, {"18000", 6000, 19200, 13200}, {"-50", 6000, 19200, 0},
                          {"100", 20000, 19200, 0}, {"abc", 6000, 19200, 0}, {"1200.5", 6000, 19200, 1200}};
    for (const auto &c : cases)
        EXPECT_EQ(settingsfile::placeEdge(c.value, c.window, c.screen), c.edge) << c.value;
}

TEST(SettingsFile, OnlyOurLanguageCodesAreTaken)
{
    for (const char *ok : {"tw", "gb", "en"})
        EXPECT_EQ(settingsfile::acceptedLanguage(ok).toStdString(), ok);
    // Any letter case names the same table.
    for (const auto &[written, code] : {std::pair{"TW", "tw"}, {"Gb", "gb"}, {"EN", "en"}})
        EXPECT_EQ(settingsfile::acceptedLanguage(written).toStdString(), code);
    for (const char *bad : {"fr", "", "en ", "t w"})
        EXPECT_EQ(settingsfile::acceptedLanguage(bad).toStdString(), "") << bad;
}

TEST(SettingsFile, WrittenTextReadsBack)
{
    settingsfile::Values v;
    v.left = 1234.5f;
    v.top = 300;
    v.language = "en";
    v.targetDirMode = 1;
    v.targetDir = "/home/u/Videos/";
    const QString text = settingsfile::format(v);
    EXPECT_EQ(text.toStdString(), "MainLeft=1234.5\r\nMainTop=300\r\nLanguage=en\r\nTargetDefDirMode=1\r\n"
                                  "TargetDefDir=/home/u/Videos/\r\n");
    const auto e = settingsfile::parse(text);
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[4].value.toStdString(), "/home/u/Videos/");

    QTemporaryDir dir;
    const QString path = dir.path() + "/Mavrell.ini";
    ASSERT_TRUE(settingsfile::writeWhole(path, text));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), text);
}

TEST(SettingsFile, AFailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/Mavrell.ini";
    ASSERT_TRUE(settingsfile::writeWhole(path, "Language=gb\r\n"));
    // The folder is gone: nothing can be written, and nothing half-written is left.
    EXPECT_FALSE(settingsfile::writeWhole(dir.path() + "/missing/Mavrell.ini", "x"));
    EXPECT_TRUE(QFile::exists(path));
}

TEST(EncodeTimeEstimate, RemainingMinutes)
{
    EncodeTimeEstimate est;
    const QString e278 = "used aaa, left bbb min";
    EXPECT_EQ(est.update(2, 0.4f, e278).toStdString(), "used 00:00:02, left ? min");
    EXPECT_EQ(est.update(30, 10, e278).toStdString(), "used 00:00:30, left 5 min");   // RoundUp(4.5)
    EXPECT_EQ(est.update(45, 10, e278).toStdString(), "used 00:00:45, left 5 min");   // progress stood still
    EXPECT_EQ(est.update(60, 0.5f, e278).toStdString(), "used 00:01:00, left 199 min");
    EXPECT_EQ(est.update(-5, 0, e278).toStdString(), "used 00:00:00, left ? min");
}
