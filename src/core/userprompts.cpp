#include "core/userprompts.h"

namespace prompts {
namespace {

// Nobody to ask (a program without windows): every box is closed as with Escape and
// every file dialog cancelled.
class NobodyAsks final : public UserPrompts {
public:
    Answer message(const MessageRequest &r) override { return closedAnswer(r.buttons); }
    FileAnswer file(const FileRequest &) override { return {}; }
};

UserPrompts *installed = nullptr;
UserPrompts *fallback = nullptr;

} // namespace

int UserPrompts::modalWindow(QDialog &)
{
    return 0;  // never shown: closed unanswered (QDialog::Rejected)
}

Answer closedAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::AbortRetryIgnore: return Answer::Ignore;
    default: return Answer::Cancel;
    }
}

UserPrompts &current()
{
    static NobodyAsks nobody;
    if (installed)
        return *installed;
    return fallback ? *fallback : nobody;
}

void install(UserPrompts *p) { installed = p; }

void setFallback(UserPrompts *p) { fallback = p; }
Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title, QWidget *parent)
{
    MessageRequest r;
    r.text = text;
    r.buttons = buttons;
    r.icon = icon;
    r.title = title;
    r.parent = parent;
    return current().message(r);
}

void FileMsgBox(const QString &text, const QString &path, QWidget *parent)
{
    MsgBox(text + QStringLiteral("\n\n") + path, Buttons::Ok, Icon::None, QStringLiteral("Mavrell"), parent);
}

} // namespace prompts
