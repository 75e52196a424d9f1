#include "core/devconsole.h"

#include <QDir>

namespace devconsole {

namespace {

// Keeps the texts until a developer window takes over.
class KeepingSink final : public Sink {
public:
    void setCommand(const QString &) override {}
    void setOutput(const QString &) override {}
    void appendOutput(const QString &) override {}
    void showConsole() override {}
};

KeepingSink keeping;
Sink *installed = nullptr;
QString lastCommand;
QString lastOutput;
int shows = 0;

// Records every text on its way to the sink in use.
class RecordingFront final : public Sink {
public:
    void setCommand(const QString &text) override
    {
        lastCommand = text;
        target().setCommand(text);
    }
    void setOutput(const QString &text) override
    {
        lastOutput = text;
        target().setOutput(text);
    }
    void appendOutput(const QString &text) override
    {
        lastOutput += text;
        target().appendOutput(text);
    }
    void showConsole() override
    {
        ++shows;
        target().showConsole();
    }

private:
    static Sink &target() { return installed ? *installed : static_cast<Sink &>(keeping); }
};

RecordingFront front;

} // namespace

Sink &current() { return front; }

void install(Sink *sink) { installed = sink; }

QString commandText() { return lastCommand; }
QString outputText() { return lastOutput; }
int showCount() { return shows; }

QString commandHeader(const QString &cmdLine)
{
    return QStringLiteral("目前的路徑 = ") + QDir::currentPath() + QStringLiteral("\r\n") + cmdLine;
}

void mirrorRun(const QString &cmdLine, const QString &output)
{
    Sink &s = current();
    s.setCommand(commandHeader(cmdLine));
    s.setOutput(output);
    s.showConsole();
}

} // namespace devconsole
