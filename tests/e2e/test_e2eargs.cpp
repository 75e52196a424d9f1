// The driver's command line and answering rules.
#include "e2eargs.h"

#include <gtest/gtest.h>

using namespace e2e;
using prompts::Answer;
using prompts::Buttons;

namespace {

ParseResult parse(const QString &line) { return parseArgs(line.split(' ', Qt::SkipEmptyParts)); }

} // namespace

TEST(E2eArgs, ItemSourceAndSettings)
{
    ParseResult r = parse("--answer ok,Cancel --answer no mnuSrcIsFileToAvi 1 /tmp/a.avi");
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.args.itemName, "mnuSrcIsFileToAvi");
    EXPECT_EQ(r.args.itemIndex, 1);
    EXPECT_EQ(r.args.source, "/tmp/a.avi");
    EXPECT_EQ(r.args.answers, QStringList({"ok", "cancel", "no"}));
    EXPECT_FALSE(r.args.openOptions);

    // Any setting opens the options dialog.
    r = parse("--caption WAV --volume -6 --start 00:00:01.0 --stop-after 1.5 --program-folder /tmp/p /tmp/a.avi");
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.args.caption, "WAV");
    EXPECT_EQ(r.args.source, "/tmp/a.avi");
    EXPECT_EQ(r.args.volume, -6);
    EXPECT_TRUE(r.args.openOptions);
    EXPECT_DOUBLE_EQ(r.args.stopAfter, 1.5);
    EXPECT_EQ(r.args.programFolder, "/tmp/p");

    EXPECT_TRUE(parse("--help").args.help);
}

TEST(E2eArgs, BadCommandLinesAreRefused)
{
    const char *lines[] = {
        "",                                          // nothing to do
        "mnuSrcIsFileToAvi /tmp/a.avi",              // index missing
        "mnuSrcIsFileToAvi x /tmp/a.avi",            // index not a number
        "--caption WAV mnuSrcIsFileToAvi 1 a.avi",   // both ways of naming the item
        "--answer maybe mnuSrcIsFileToAvi 1 a.avi",  // unknown answer word
        "--start 1.5 mnuSrcIsFileToCut 2 a.avi",     // time not hh:mm:ss.s
        "--end 00:61:00.0 mnuSrcIsFileToCut 2 a.avi",
        "--volume 3dB mnuSrcIsFileToAvi 1 a.avi",
        "--volume 101 mnuSrcIsFileToAvi 1 a.avi",
        "--width -320 mnuSrcIsFileToAvi 1 a.avi",
        "--fps 2,5 mnuSrcIsFileToAvi 1 a.avi",       // decimal comma
        "--stop-after mnuSrcIsFileToAvi 1 a.avi",    // value swallowed, positionals short
        "--frobnicate 1 mnuSrcIsFileToAvi 1 a.avi",
        "mnuSrcIsFileToAvi 1 a.avi --subtitle",      // value missing at the end
    };
    for (const char *line : lines)
        EXPECT_FALSE(parse(QString::fromLatin1(line)).error.isEmpty()) << line;
}

TEST(E2eArgs, HelpNamesEveryOption)
{
    const QString help = helpText();
    for (const char *option : {"--caption", "--answer", "--options", "--size", "--width", "--height", "--fps",
                               "--vbitrate", "--abitrate", "--samplerate", "--start", "--end", "--volume",
                               "--no-sound", "--subtitle", "--stop-after", "--display", "--program-folder", "--help"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

TEST(E2eArgs, WordsAnswerEveryKindOfBox)
{
    struct Case {
        const char *word;
        Buttons buttons;
        Answer expected;
    };
    const Case cases[] = {
        {"", Buttons::Ok, Answer::Ok},
        {"cancel", Buttons::Ok, Answer::Ok},  // an OK-only box has nothing else
        {"", Buttons::OkCancel, Answer::Ok},
        {"yes", Buttons::OkCancel, Answer::Ok},
        {"no", Buttons::OkCancel, Answer::Cancel},
        {"cancel", Buttons::OkCancel, Answer::Cancel},
        {"", Buttons::YesNo, Answer::Yes},
        {"ok", Buttons::YesNo, Answer::Yes},
        {"cancel", Buttons::YesNo, Answer::No},
        {"no", Buttons::YesNoCancel, Answer::No},
        {"cancel", Buttons::YesNoCancel, Answer::Cancel},
        {"", Buttons::RetryCancel, Answer::Retry},
        {"cancel", Buttons::RetryCancel, Answer::Cancel},
    };
    for (const Case &c : cases)
        EXPECT_EQ(answerFor(QString::fromLatin1(c.word), c.buttons), c.expected) << c.word << ' ' << int(c.buttons);
    EXPECT_FALSE(isQuestion(Buttons::Ok));
    EXPECT_TRUE(isQuestion(Buttons::OkCancel));
}

TEST(E2eArgs, BoxTextsStayOnOneLine)
{
    EXPECT_EQ(oneLine("/tmp/a b.mpg\r\n\r\nDone\nnow\rend"), "/tmp/a b.mpg\\n\\nDone\\nnow\\nend");
}
