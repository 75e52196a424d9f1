// The developer window: the command line a tool runs (upper box), the tool's live
// output or a command to review and edit (lower box), and the two buttons that confirm
// or cancel an edited command. While it is loaded it is the developer console's sink.
#pragma once

#include "core/devconsole.h"

#include <QDialog>
#include <array>

class QPlainTextEdit;
class QPushButton;

class FrmOutput : public QDialog, public devconsole::Sink {
    Q_OBJECT
public:
    explicit FrmOutput(QWidget *parent = nullptr);
    ~FrmOutput() override;

    QPlainTextEdit *txtOutputSpec = nullptr;
    std::array<QPushButton *, 2> cmdOkCancel{};  // 0 confirm the command line, 1 cancel it
    QPlainTextEdit *txtOutput = nullptr;

    void Form_Load();
    void Form_Resize();
    void cmdOkCancel_Click(int Index);
    void Form_Unload();

    // Shows command in the lower box, modal over owner, and gives back the command the
    // developer confirmed (edited or not); "" after cancel or close. The hand-over goes
    // through the main window's chkCheckCmdTag when there is a main window.
    static QString reviewCommand(QWidget *owner, const QString &command);

    // devconsole::Sink
    void setCommand(const QString &text) override;
    void setOutput(const QString &text) override;
    void appendOutput(const QString &text) override;
    void showConsole() override;

    // The lower box keeps this many lines of a tool's output at most.
    static constexpr int maxOutputLines = 50000;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    int specHeight = 40;  // the header box: two lines and a scroll bar
};

// The one developer window, created (and loaded) on first use; unloading destroys it.
FrmOutput &frmOutput();
bool frmOutputLoaded();
void unloadFrmOutput();

namespace devcmd {
// Routes the developer console to the developer window, creating it when a tool's
// command or output first arrives.
void installConsoleBridge();
}
