// The driver's command line and the small pure rules it follows: how a word of
// --answer answers a box with given buttons, how box texts are put on one line.
#pragma once

#include "core/userprompts.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace e2e {

struct Args {
    // The target-menu item: by control name and index, or by its caption.
    QString itemName;  // "mnuSrcIsFileToAvi"
    int itemIndex = -1;
    QString caption;
    QString source;

    // The options dialog is opened when asked for or when any setting is given.
    bool openOptions = false;
    QString size;  // size list item: its text or its 0-based index
    QString width, height;
    QString fps, videoBitrate, audioBitrate, sampleRate;
    QString start, end;  // hh:mm:ss.s
    std::optional<int> volume;  // dB
    bool noSound = false;
    QString subtitle;

    QStringList answers;  // "yes", "no", "ok", "cancel", in the order of the questions
    double stopAfter = -1;  // seconds after the encode click; -1 never
    QString display;        // X display; empty: offscreen
    QString programFolder;  // the program folder to use; empty: a temporary one
    bool help = false;

    bool anySetting() const;
};

struct ParseResult {
    Args args;
    QString error;  // empty when the command line is good
};

// Parses the arguments after the program name.
ParseResult parseArgs(const QStringList &arguments);

// The text of --help: every option.
QString helpText();

// How a word answers a box with these buttons; no word (empty) gives the first
// affirmative button (OK, Yes, Retry).
prompts::Answer answerFor(const QString &word, prompts::Buttons buttons);
// Whether a box asks a question (has more than one button), so that it takes a word.
bool isQuestion(prompts::Buttons buttons);
QString answerName(prompts::Answer answer);

// A box text on one output line: line breaks become a literal "\n".
QString oneLine(const QString &text);

} // namespace e2e
