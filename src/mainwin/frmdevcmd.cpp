#include "mainwin/frmdevcmd.h"

#include "core/mdlmavrell.h"
#include "core/userprompts.h"
#include "coregui/defaultinstance.h"
#include "mainwin/frmmain.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <cmath>

using namespace mdlMavrell;

namespace {

DefaultInstance<FrmOutput> theOutput;
// The command the developer confirmed in the last review.
QString confirmedCommand;

constexpr int buttonHeight = 26;
constexpr int buttonWidth = 120;

// The console's texts reach the developer window, created when the first one comes.
class ConsoleBridge final : public devconsole::Sink {
public:
    void setCommand(const QString &text) override { frmOutput().setCommand(text); }
    void setOutput(const QString &text) override { frmOutput().setOutput(text); }
    void appendOutput(const QString &text) override { frmOutput().appendOutput(text); }
    void showConsole() override { frmOutput().showConsole(); }
};
ConsoleBridge bridge;

} // namespace

namespace devcmd {
void installConsoleBridge() { devconsole::install(&bridge); }
}

FrmOutput &frmOutput()
{
    return theOutput.get([] {
        auto *w = new FrmOutput;
        w->Form_Load();
        return w;
    });
}

bool frmOutputLoaded() { return theOutput.loaded(); }

void unloadFrmOutput()
{
    theOutput.unload([](FrmOutput &w) {  // its own button may be unloading it
        w.Form_Unload();
        w.done(QDialog::Rejected);
    });
}

FrmOutput::FrmOutput(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOutput"));
    setWindowTitle(QStringLiteral("Mavrell - Dos"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint);
    resize(760, 480);

    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(12);

    txtOutputSpec = new QPlainTextEdit(this);
    txtOutputSpec->setObjectName(QStringLiteral("txtOutputSpec"));
    txtOutputSpec->setFont(mono);
    txtOutputSpec->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtOutputSpec->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Both header lines show, also above the scroll bar a long command line brings.
    specHeight = 2 * QFontMetrics(mono).lineSpacing() + 2 * txtOutputSpec->frameWidth()
                 + 2 * int(std::ceil(txtOutputSpec->document()->documentMargin()))
                 + txtOutputSpec->horizontalScrollBar()->sizeHint().height() + 2;

    const char *captions[] = {"確定命令列", "取消命令列"};
    for (int i = 0; i < 2; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdOkCancel%1").arg(i));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOkCancel_Click(i); });
        cmdOkCancel[size_t(i)] = b;
    }

    txtOutput = new QPlainTextEdit(this);
    txtOutput->setObjectName(QStringLiteral("txtOutput"));
    txtOutput->setFont(mono);
    txtOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtOutput->setMaximumBlockCount(maxOutputLines);
    Form_Resize();
}

FrmOutput::~FrmOutput()
{
    theOutput.forget(this);
}

void FrmOutput::Form_Load()
{
    txtOutputSpec->clear();
    txtOutput->clear();
    move(0, 0);
}

void FrmOutput::Form_Resize()
{
    const int w = width();
    txtOutputSpec->setGeometry(0, 0, w, specHeight);
    for (int i = 0; i < 2; ++i)
        cmdOkCancel[size_t(i)]->setGeometry(i * buttonWidth, specHeight, buttonWidth, buttonHeight);
    const int rest = height() - specHeight - buttonHeight - 7;
    txtOutput->setGeometry(0, specHeight + buttonHeight, w, rest > 0 ? rest : 0);
}

void FrmOutput::cmdOkCancel_Click(int Index)
{
    if (Index == 0) {
        confirmedCommand = txtOutput->toPlainText();
        if (frmMainExists())
            frmMain().chkCheckCmdTag = confirmedCommand;
    }
    unloadFrmOutput();
}

void FrmOutput::Form_Unload() { showDosOutput = false; }

QString FrmOutput::reviewCommand(QWidget *owner, const QString &command)
{
    confirmedCommand.clear();
    if (frmMainExists())
        frmMain().chkCheckCmdTag.clear();
    FrmOutput &w = frmOutput();
    // Owned by the window that asks: a dialog of it, which a window manager keeps above it.
    if (owner && (w.parentWidget() != owner || w.windowType() != Qt::Dialog))
        w.setParent(owner, (w.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    w.txtOutput->setPlainText(command);
    QPointer<FrmOutput> guard(&w);
    w.setWindowModality(Qt::ApplicationModal);
    prompts::current().modalWindow(w);
    if (guard)
        guard->setWindowModality(Qt::NonModal);
    return confirmedCommand;
}

void FrmOutput::setCommand(const QString &text) { txtOutputSpec->setPlainText(text); }

void FrmOutput::setOutput(const QString &text) { txtOutput->setPlainText(text); }

void FrmOutput::appendOutput(const QString &text)
{
    // Added at the end as it comes, whatever the developer has selected meanwhile.
    QTextCursor end(txtOutput->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    txtOutput->verticalScrollBar()->setValue(txtOutput->verticalScrollBar()->maximum());
}

void FrmOutput::showConsole()
{
    show();
    raise();
}

void FrmOutput::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void FrmOutput::closeEvent(QCloseEvent *event)
{
    event->accept();
    unloadFrmOutput();
}

void FrmOutput::reject()
{
    // Escape and the window's close: cancel, the console goes off.
    unloadFrmOutput();
}
