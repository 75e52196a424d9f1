#include "e2eargs.h"

#include "core/numbertext.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <utility>

namespace e2e {

bool Args::anySetting() const
{
    return !size.isEmpty() || !width.isEmpty() || !height.isEmpty() || !fps.isEmpty() || !videoBitrate.isEmpty()
           || !audioBitrate.isEmpty() || !sampleRate.isEmpty() || !start.isEmpty() || !end.isEmpty()
           || volume.has_value() || noSound || !subtitle.isEmpty();
}

namespace {

bool isWholeNumber(const QString &s, bool allowSign)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression sign(QStringLiteral("^[-+]?[0-9]+$"));
    return (allowSign ? sign : plain).match(s).hasMatch();
}

bool isNumber(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    return re.match(s).hasMatch();
}

bool isTime(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]{2}:[0-5][0-9]:[0-5][0-9]\\.[0-9]$"));
    return re.match(s).hasMatch();
}

} // namespace

ParseResult parseArgs(const QStringList &arguments)
{
    ParseResult r;
    Args &a = r.args;
    auto fail = [&r](const QString &message) {
        r.error = message;
        return r;
    };

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption options(QStringLiteral("options"));
    const QCommandLineOption noSound(QStringLiteral("no-sound"));
    auto valued = [](const char *name) { return QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")); };
    const QCommandLineOption caption = valued("caption"), answer = valued("answer"), size = valued("size"),
                             width = valued("width"), height = valued("height"), fps = valued("fps"),
                             vbitrate = valued("vbitrate"), abitrate = valued("abitrate"),
                             samplerate = valued("samplerate"), start = valued("start"), end = valued("end"),
                             volume = valued("volume"), subtitle = valued("subtitle"),
                             stopAfter = valued("stop-after"), display = valued("display"),
                             programFolder = valued("program-folder");
    parser.addOptions({help, options, noSound, caption, answer, size, width, height, fps, vbitrate, abitrate,
                       samplerate, start, end, volume, subtitle, stopAfter, display, programFolder});
    if (!parser.parse(QStringList{QStringLiteral("mavrell-e2e")} + arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        a.help = true;
        return r;
    }

    a.openOptions = parser.isSet(options);
    a.noSound = parser.isSet(noSound);
    a.caption = parser.value(caption);
    for (const QString &v : parser.values(answer)) {
        for (const QString &word : v.split(',', Qt::SkipEmptyParts)) {
            const QString w = word.trimmed().toLower();
            if (w != QLatin1String("yes") && w != QLatin1String("no") && w != QLatin1String("ok")
                && w != QLatin1String("cancel"))
                return fail(QStringLiteral("--answer takes yes, no, ok or cancel, not \"%1\"").arg(word));
            a.answers << w;
        }
    }
    a.size = parser.value(size);
    for (const auto &[option, field] : {std::pair{&width, &a.width}, std::pair{&height, &a.height}}) {
        const QString v = parser.value(*option);
        if (parser.isSet(*option) && !isWholeNumber(v, false))
            return fail(QStringLiteral("--") + option->names().constFirst()
                        + QStringLiteral(" takes a whole number of pixels, not \"") + v + '"');
        *field = v;
    }
    for (const auto &[option, field] : {std::pair{&fps, &a.fps}, std::pair{&vbitrate, &a.videoBitrate},
                                        std::pair{&abitrate, &a.audioBitrate}, std::pair{&samplerate, &a.sampleRate}}) {
        const QString v = parser.value(*option);
        if (parser.isSet(*option) && !isNumber(v))
            return fail(QStringLiteral("--") + option->names().constFirst() + QStringLiteral(" takes a number, not \"")
                        + v + '"');
        *field = v;
    }
    for (const auto &[option, field] : {std::pair{&start, &a.start}, std::pair{&end, &a.end}}) {
        const QString v = parser.value(*option);
        if (parser.isSet(*option) && !isTime(v))
            return fail(QStringLiteral("--") + option->names().constFirst()
                        + QStringLiteral(" takes a time as hh:mm:ss.s, not \"") + v + '"');
        *field = v;
    }
    if (parser.isSet(volume)) {
        const QString v = parser.value(volume);
        if (!isWholeNumber(v, true))
            return fail(QStringLiteral("--volume takes whole decibels, not \"") + v + '"');
        const int db = v.toInt();
        if (db < -100 || db > 100)
            return fail(QStringLiteral("--volume lies between -100 and 100"));
        a.volume = db;
    }
    a.subtitle = parser.value(subtitle);
    if (parser.isSet(stopAfter)) {
        const QString v = parser.value(stopAfter);
        if (!isNumber(v))
            return fail(QStringLiteral("--stop-after takes seconds, not \"") + v + '"');
        a.stopAfter = numbertext::Val(v);
    }
    a.display = parser.value(display);
    a.programFolder = parser.value(programFolder);

    // NAME INDEX SOURCE, or SOURCE alone with --caption.
    const QStringList positional = parser.positionalArguments();
    if (!a.caption.isEmpty()) {
        if (positional.size() != 1)
            return fail(QStringLiteral("with --caption give the source file alone"));
        a.source = positional[0];
    } else {
        if (positional.size() != 3)
            return fail(QStringLiteral("give the menu item's control name, its index and the source file"));
        if (!isWholeNumber(positional[1], false))
            return fail(QStringLiteral("the item index must be a whole number, not \"") + positional[1] + '"');
        a.itemName = positional[0];
        a.itemIndex = positional[1].toInt();
        a.source = positional[2];
    }
    if (a.anySetting())
        a.openOptions = true;
    return r;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: mavrell-e2e [options] ITEM INDEX SOURCE\n"
        "       mavrell-e2e [options] --caption TEXT SOURCE\n"
        "\n"
        "Runs one conversion through the program's own windows: pops up the target menu,\n"
        "picks the item, answers the open dialog with SOURCE, optionally sets the options\n"
        "dialog, presses OK and the encode button, and waits for the run to end.\n"
        "ITEM INDEX names the menu item by its control name and index (mnuSrcIsFileToAvi 1).\n"
        "\n"
        "Options:\n"
        "  --caption TEXT      pick the target-menu item by its caption instead\n"
        "  --answer WORD       answer the next question with yes, no, ok or cancel; repeat it\n"
        "                      or give a comma list, one word per question in order; boxes\n"
        "                      with an OK button only take no word; unanswered: OK/Yes\n"
        "  --options           open the options dialog and press OK (implied by the settings)\n"
        "  --size ITEM         size list item, by its text or its 0-based index\n"
        "  --width N           width typed into the size box\n"
        "  --height N          height typed into the size box\n"
        "  --fps VALUE         frame rate\n"
        "  --vbitrate VALUE    video bit rate (kbit/s)\n"
        "  --abitrate VALUE    audio bit rate (kbit/s)\n"
        "  --samplerate HZ     audio sample rate\n"
        "  --start TIME        start mark, hh:mm:ss.s\n"
        "  --end TIME          end mark, hh:mm:ss.s\n"
        "  --volume DB         volume change in dB (-100..100), in the adjuster's 2 dB steps\n"
        "  --no-sound          no sound in the target\n"
        "  --subtitle FILE     burn in this subtitle file\n"
        "  --stop-after SECS   press Stop this many seconds after the encode button\n"
        "  --display NAME      run on this X display instead of offscreen\n"
        "  --program-folder DIR  use DIR as the program folder (made when missing, its tools\n"
        "                      linked from PATH), so a later run finds what this one left\n"
        "  --help              this text\n"
        "\n"
        "Output lines: item: (the menu item picked), dialog: (a file dialog answered),\n"
        "target:, box: (a message box, line breaks as \\n), answer: (the button given),\n"
        "progress: (at most one a second), stop:, cmd: (the encoder command as built),\n"
        "note:, result: (success, failure, stopped or refused), error: (a driver error).\n"
        "Exit status: 0 success; 1 failure, stopped or refused; 2 driver error.\n");
}

bool isQuestion(prompts::Buttons buttons) { return buttons != prompts::Buttons::Ok; }

prompts::Answer answerFor(const QString &word, prompts::Buttons buttons)
{
    using prompts::Answer;
    const bool yes = word.isEmpty() || word == QLatin1String("yes") || word == QLatin1String("ok");
    const bool no = word == QLatin1String("no");
    switch (buttons) {
    case prompts::Buttons::Ok: return Answer::Ok;
    case prompts::Buttons::OkCancel: return yes ? Answer::Ok : Answer::Cancel;
    case prompts::Buttons::YesNo: return yes ? Answer::Yes : Answer::No;
    case prompts::Buttons::YesNoCancel: return yes ? Answer::Yes : no ? Answer::No : Answer::Cancel;
    case prompts::Buttons::RetryCancel: return yes ? Answer::Retry : Answer::Cancel;
    case prompts::Buttons::AbortRetryIgnore: return yes ? Answer::Retry : no ? Answer::Ignore : Answer::Abort;
    }
    return Answer::Ok;
}

QString answerName(prompts::Answer answer)
{
    switch (answer) {
    case prompts::Answer::Ok: return QStringLiteral("ok");
    case prompts::Answer::Cancel: return QStringLiteral("cancel");
    case prompts::Answer::Yes: return QStringLiteral("yes");
    case prompts::Answer::No: return QStringLiteral("no");
    case prompts::Answer::Retry: return QStringLiteral("retry");
    case prompts::Answer::Abort: return QStringLiteral("abort");
    case prompts::Answer::Ignore: return QStringLiteral("ignore");
    }
    return QString();
}

QString oneLine(const QString &text)
{
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    s.replace('\n', QLatin1String("\\n"));
    s.replace('\r', QLatin1String("\\n"));
    return s;
}

} // namespace e2e
