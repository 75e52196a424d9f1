// The driver's side of one conversion: the prompts that answer every box, the
// temporary program folder, finding a target-menu item, and the run itself.
#pragma once

#include "e2eargs.h"

#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class FrmMain;

namespace e2e {

// Prints a prefixed line on standard output at once.
void out(const char *prefix, const QString &text);

// Answers message boxes from the --answer words (one word per question, OK-only
// boxes take none; with the words used up the first affirmative button), the first
// open dialog with the source file, and cancels every other file dialog. Prints
// each box and dialog.
class AnsweringPrompts final : public prompts::UserPrompts {
public:
    AnsweringPrompts(const QStringList &answers, const QString &source);
    ~AnsweringPrompts() override;

    prompts::Answer message(const prompts::MessageRequest &request) override;
    prompts::FileAnswer file(const prompts::FileRequest &request) override;

    // Every box text shown, in order.
    QStringList boxes;
    int sourceDialogs = 0;

private:
    QStringList answers_;
    QString source_;
};

// A program folder whose plugins/OrvexRes1..3 link to the player, the encoder and the
// converter found on PATH; the settings file and the notes of a run land here too. A
// temporary one, or the folder given (made when missing; tools already there are kept).
class ProgramFolder {
public:
    explicit ProgramFolder(const QString &given = QString());
    bool isValid() const { return QFileInfo(path_).isDir(); }
    QString appDir() const { return path_ + '/'; }
    // The tools that could not be found (their names).
    QStringList missingTools() const { return missing_; }

private:
    std::unique_ptr<QTemporaryDir> temporary_;
    QString path_;
    QStringList missing_;
};

// The action of a target-menu item by control name and index (nullptr when there is
// none or it is a separator).
QAction *findTargetItem(FrmMain &w, const QString &controlName, int index);
// Every target action whose caption (without "&", trimmed) equals caption; when none
// does, those whose caption contains it (case-insensitive).
QList<QAction *> findTargetItemsByCaption(QMenu *menu, const QString &caption);

enum class Exit { Success = 0, NotSuccess = 1, DriverError = 2 };

// Runs the whole conversion in the running application; returns the exit status.
int runConversion(const Args &args);

} // namespace e2e
