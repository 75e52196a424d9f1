#include "coregui/qtprompts.h"

#include "core/quitsignals.h"
#include "core/userprompts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace prompts {
namespace {

// Without a window manager nobody hands the keyboard on when a box or dialog closes:
// it went to the root window, and Escape and Enter did nothing until a click. The
// window that opened it (its parent's window, else the window active at the time)
// takes the keyboard again once it has closed.
class KeyboardReturn {
public:
    explicit KeyboardReturn(QWidget *parent) : opener_(parent ? parent->window() : QApplication::activeWindow()) {}
    ~KeyboardReturn()
    {
        if (opener_ && opener_->isVisible() && !opener_->isMinimized())
            opener_->activateWindow();
    }
    KeyboardReturn(const KeyboardReturn &) = delete;
    KeyboardReturn &operator=(const KeyboardReturn &) = delete;

private:
    QPointer<QWidget> opener_;
};

class QtPrompts final : public UserPrompts {
public:
    Answer message(const MessageRequest &r) override
    {
        // The program is ending on a signal: nobody is there to answer.
        if (quitsignals::requested())
            return closedAnswer(r.buttons);
        QMessageBox box(r.parent);
        box.setWindowTitle(r.title);
        box.setText(r.text);
        switch (r.icon) {
        case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
        case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        }
        QList<QMessageBox::StandardButton> order;
        switch (r.buttons) {
        case Buttons::Ok: order = {QMessageBox::Ok}; break;
        case Buttons::OkCancel: order = {QMessageBox::Ok, QMessageBox::Cancel}; break;
        case Buttons::YesNo: order = {QMessageBox::Yes, QMessageBox::No}; break;
        case Buttons::YesNoCancel: order = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
        case Buttons::RetryCancel: order = {QMessageBox::Retry, QMessageBox::Cancel}; break;
        case Buttons::AbortRetryIgnore: order = {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}; break;
        }
        for (auto b : order)
            box.addButton(b);
        if (r.defaultButton >= 0 && r.defaultButton < order.size())
            box.setDefaultButton(order[r.defaultButton]);
        const KeyboardReturn keyboard(r.parent);
        switch (box.exec()) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
        case QMessageBox::Abort: return Answer::Abort;
        case QMessageBox::Ignore: return Answer::Ignore;
        default: break;
        }
        // Closed with Escape or the window's close button.
        return closedAnswer(r.buttons);
    }

    int modalWindow(QDialog &window) override
    {
        if (quitsignals::requested())
            return QDialog::Rejected;
        const KeyboardReturn keyboard(window.parentWidget());
        return window.exec();
    }

    FileAnswer file(const FileRequest &r) override
    {
        QFileDialog dlg(r.parent, r.title, r.initDir);
        setUpFileDialog(dlg, r);
        FileAnswer a;
        const KeyboardReturn keyboard(r.parent);
        if (dlg.exec() != QDialog::Accepted)
            return a;
        a.accepted = true;
        a.paths = dlg.selectedFiles();
        a.filterIndex = qMax(0, r.nameFilters.indexOf(dlg.selectedNameFilter()));
        return a;
    }
};

} // namespace

void setUpFileDialog(QFileDialog &dlg, const FileRequest &r)
{
    // With name filters, Qt's own dialog: the desktop's dialog may match "*.avi" by case
    // only and hide "CLIP.AVI"; Qt's matches either case once case-sensitivity is off.
    dlg.setOption(QFileDialog::DontUseNativeDialog, !r.nameFilters.isEmpty());
    dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
    if (r.kind == FileRequest::Folder) {
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
    } else if (r.kind == FileRequest::Save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
        dlg.setDefaultSuffix(r.defaultSuffix);
    } else {
        dlg.setFileMode(r.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    if (!r.nameFilters.isEmpty()) {
        dlg.setNameFilters(r.nameFilters);
        if (r.filterIndex >= 0 && r.filterIndex < r.nameFilters.size())
            dlg.selectNameFilter(r.nameFilters[r.filterIndex]);
    }
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
}

void useQtDialogs()
{
    static QtPrompts qtPrompts;
    setFallback(&qtPrompts);
}

} // namespace prompts
