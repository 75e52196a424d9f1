// The developer console: in developer mode (mdlMavrell::showDosOutput) the tool
// runners mirror the command they run and what it printed into a sink. The developer
// window installs itself as the sink; until one is installed the texts are kept here,
// so a window created later (and a test) can pick them up.
#pragma once

#include <QString>

namespace devconsole {

class Sink {
public:
    virtual ~Sink() = default;
    // The upper box: the current folder and the command line.
    virtual void setCommand(const QString &text) = 0;
    // The lower box: the tool's output, replaced or added to.
    virtual void setOutput(const QString &text) = 0;
    virtual void appendOutput(const QString &text) = 0;
    // Brings the developer window up (not modal).
    virtual void showConsole() = 0;
};

// The sink in use: the installed one, else the built-in one that only keeps the texts.
Sink &current();
// Installs a sink (nullptr goes back to the built-in one). The caller keeps ownership.
void install(Sink *sink);

// What was last mirrored (whichever sink was installed).
QString commandText();
QString outputText();
// How often showConsole() was asked for since the program started.
int showCount();

// The upper box's text for a command: "目前的路徑 = " + current folder + CR LF + command.
QString commandHeader(const QString &cmdLine);

// Mirrors one finished one-shot run: header, whole output, then shows the console.
void mirrorRun(const QString &cmdLine, const QString &output);

} // namespace devconsole
