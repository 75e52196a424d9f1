// Answers message boxes and file dialogs from a script, records every question,
// and never blocks: with the script used up, a box gets its first button
// (OK or Yes), a file dialog is cancelled and a modal window of the program's own is
// closed unanswered. A window action works the real window as a user would.
#pragma once

#include "core/userprompts.h"

// Tests of window-free logic build without the widget library: the window part of the
// script is there only where QDialog is.
#if __has_include(<QDialog>)
#include <QDialog>
#include <QPointer>
#define MAVRELL_SCRIPTED_WINDOWS 1
#endif

#include <QList>
#include <deque>
#include <functional>

class ScriptedPrompts final : public prompts::UserPrompts {
public:
    ScriptedPrompts() { prompts::install(this); }
    ~ScriptedPrompts() override { prompts::install(nullptr); }

    std::deque<prompts::Answer> answers;
    std::deque<prompts::FileAnswer> fileAnswers;
    QList<prompts::MessageRequest> messages;
    QList<prompts::FileRequest> fileRequests;
#ifdef MAVRELL_SCRIPTED_WINDOWS
    std::deque<std::function<void(QDialog &)>> windowActions;
    QStringList windowsShown;  // object names of the modal windows, in order
#endif

    void answer(prompts::Answer a) { answers.push_back(a); }
    void answerFile(const QString &path, int filterIndex = 0)
    {
        prompts::FileAnswer f;
        f.accepted = true;
        f.paths = {path};
        f.filterIndex = filterIndex;
        fileAnswers.push_back(f);
    }
    void cancelFile() { fileAnswers.push_back(prompts::FileAnswer{}); }
    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }

    prompts::Answer message(const prompts::MessageRequest &r) override
    {
        messages.append(r);
        if (!answers.empty()) {
            auto a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (r.buttons) {
        case prompts::Buttons::YesNo:
        case prompts::Buttons::YesNoCancel: return prompts::Answer::Yes;
        case prompts::Buttons::RetryCancel: return prompts::Answer::Retry;
        case prompts::Buttons::AbortRetryIgnore: return prompts::Answer::Abort;
        default: return prompts::Answer::Ok;
        }
    }

#ifdef MAVRELL_SCRIPTED_WINDOWS
    // The window shows (not modal to the test), the next action works it; a window the
    // action left open is closed.
    int modalWindow(QDialog &window) override
    {
        windowsShown.append(window.objectName());
        QPointer<QDialog> guard(&window);
        window.show();
        if (!windowActions.empty()) {
            auto act = std::move(windowActions.front());
            windowActions.pop_front();
            act(window);
        }
        if (guard && guard->isVisible())
            guard->reject();
        return guard ? guard->result() : int(QDialog::Rejected);
    }
#endif

    prompts::FileAnswer file(const prompts::FileRequest &r) override
    {
        fileRequests.append(r);
        if (fileAnswers.empty())
            return {};
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
};
