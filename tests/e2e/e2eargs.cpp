#include "e2eargs.h"

#include "core/numbertext.h"

#include <QRegularExpression>

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
    QStringList positional;
    auto fail = [&r](const QString &message) {
        r.error = message;
        return r;
    };

    for (int i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a.help = true;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")) || arg == QLatin1String("--")) {
            if (arg == QLatin1String("--")) {
                positional += arguments.mid(i + 1);
                break;
            }
            positional << arg;
            continue;
        }
        if (arg == QLatin1String("--options")) {
            a.openOptions = true;
            continue;
        }
        if (arg == QLatin1String("--no-sound")) {
            a.noSound = true;
            continue;
        }
        // Every other option takes a value.
        if (i + 1 >= arguments.size())
            return fail(arg + QStringLiteral(" needs a value"));
        const QString v = arguments[++i];
        if (arg == QLatin1String("--caption")) {
            a.caption = v;
        } else if (arg == QLatin1String("--answer")) {
            for (const QString &word : v.split(',', Qt::SkipEmptyParts)) {
                const QString w = word.trimmed().toLower();
                if (w != QLatin1String("yes") && w != QLatin1String("no") && w != QLatin1String("ok")
                    && w != QLatin1String("cancel"))
                    return fail(QStringLiteral("--answer takes yes, no, ok or cancel, not \"%1\"").arg(word));
                a.answers << w;
            }
        } else if (arg == QLatin1String("--size")) {
            a.size = v;
        } else if (arg == QLatin1String("--width") || arg == QLatin1String("--height")) {
            if (!isWholeNumber(v, false))
                return fail(arg + QStringLiteral(" takes a whole number of pixels, not \"") + v + '"');
            (arg == QLatin1String("--width") ? a.width : a.height) = v;
        } else if (arg == QLatin1String("--fps") || arg == QLatin1String("--vbitrate")
                   || arg == QLatin1String("--abitrate") || arg == QLatin1String("--samplerate")) {
            if (!isNumber(v))
                return fail(arg + QStringLiteral(" takes a number, not \"") + v + '"');
            QString &field = arg == QLatin1String("--fps")        ? a.fps
                             : arg == QLatin1String("--vbitrate") ? a.videoBitrate
                             : arg == QLatin1String("--abitrate") ? a.audioBitrate
                                                                  : a.sampleRate;
            field = v;
        } else if (arg == QLatin1String("--start") || arg == QLatin1String("--end")) {
            if (!isTime(v))
                return fail(arg + QStringLiteral(" takes a time as hh:mm:ss.s, not \"") + v + '"');
            (arg == QLatin1String("--start") ? a.start : a.end) = v;
        } else if (arg == QLatin1String("--volume")) {
            if (!isWholeNumber(v, true))
                return fail(QStringLiteral("--volume takes whole decibels, not \"") + v + '"');
            const int db = v.toInt();
            if (db < -100 || db > 100)
                return fail(QStringLiteral("--volume lies between -100 and 100"));
            a.volume = db;
        } else if (arg == QLatin1String("--subtitle")) {
            a.subtitle = v;
        } else if (arg == QLatin1String("--stop-after")) {
            if (!isNumber(v))
                return fail(QStringLiteral("--stop-after takes seconds, not \"") + v + '"');
            a.stopAfter = numtext::Val(v);
        } else if (arg == QLatin1String("--display")) {
            a.display = v;
        } else {
            return fail(QStringLiteral("unknown option ") + arg);
        }
    }
    if (a.help)
        return r;

    // NAME INDEX SOURCE, or SOURCE alone with --caption.
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
