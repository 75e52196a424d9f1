// Everything that waits on the user (message boxes, open/save/folder dialogs) goes
// through one object, so that tests can answer with a script and never block.
// The program installs nothing and gets the Qt dialogs; a test installs its own.
#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QFileDialog;
class QWidget;

namespace prompts {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Information, Question, Warning, Critical };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageRequest {
    QString text;
    QString title = QStringLiteral("Mavrell");
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    int defaultButton = 0;  // 0 the first button, 1 the second, 2 the third
    QWidget *parent = nullptr;
};

struct FileRequest {
    enum Kind { Open, Save, Folder };
    Kind kind = Open;
    QString title;
    QString initDir;          // ends in "/"
    QString fileName;         // preset name (save) or initial selection
    QStringList nameFilters;  // Qt form: "Video (*.avi *.mpg)"
    int filterIndex = 0;      // 0-based
    bool multiSelect = false;
    bool overwritePrompt = true;
    QString defaultSuffix;    // save: added to a name typed without an extension
    QWidget *parent = nullptr;
};

struct FileAnswer {
    bool accepted = false;
    QStringList paths;        // absolute paths; a folder answer ends without "/"
    int filterIndex = 0;      // 0-based index of the filter chosen
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    virtual Answer message(const MessageRequest &request) = 0;
    virtual FileAnswer file(const FileRequest &request) = 0;
    // A window of the program's own that waits on the user (the developer's review of a
    // command line): shown modal and run until it closes; gives its result code. The Qt
    // prompts run it; prompts that answer from a script must never block, so the default
    // closes the window unanswered.
    virtual int modalWindow(QDialog &window);
};

// The prompts in use: the installed one, else the Qt dialogs.
UserPrompts &current();
// Installs prompts (nullptr restores the Qt dialogs). The caller keeps ownership.
void install(UserPrompts *prompts);

// The Qt file dialog set up for a request, as the Qt prompts show it: name filters
// read as written and matched in either letter case.
void setUpFileDialog(QFileDialog &dialog, const FileRequest &request);

// Shorthands for a message box.
Answer MsgBox(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString &title = QStringLiteral("Mavrell"), QWidget *parent = nullptr);
// A message about a file: the text, two line breaks, then the path; OK only.
void FileMsgBox(const QString &text, const QString &path, QWidget *parent = nullptr);

} // namespace prompts
