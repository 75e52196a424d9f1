// Everything that waits on the user (message boxes, open/save/folder dialogs) goes
// through one object, so that tests can answer with a script and never block.
// This seam needs no window system: the program makes the Qt dialogs its fallback at
// start (coregui/qtprompts.h), a test installs its own, and with neither nobody is
// asked (a box is closed as with Escape, a file dialog cancelled).
#pragma once

#include <QString>
#include <QStringList>

class QDialog;
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

// The prompts in use: the installed one, else the fallback, else nobody asks.
UserPrompts &current();
// Installs prompts (nullptr goes back to the fallback). The caller keeps ownership.
void install(UserPrompts *prompts);
// The prompts used while none are installed (nullptr: nobody asks).
void setFallback(UserPrompts *prompts);

// What a box answers when it is closed without a choice (Escape, the close button).
Answer closedAnswer(Buttons buttons);

// Shorthands for a message box.
Answer MsgBox(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString &title = QStringLiteral("Mavrell"), QWidget *parent = nullptr);
// A message about a file: the text, two line breaks, then the path; OK only.
void FileMsgBox(const QString &text, const QString &path, QWidget *parent = nullptr);

} // namespace prompts
