// Answers message boxes and file dialogs from a script, records every question,
// and never blocks: with the script used up, a box gets its first button
// (OK or Yes) and a file dialog is cancelled.
#pragma once

#include "core/userprompts.h"

#include <QList>
#include <deque>

class ScriptedPrompts final : public prompts::UserPrompts {
public:
    ScriptedPrompts() { prompts::install(this); }
    ~ScriptedPrompts() override { prompts::install(nullptr); }

    std::deque<prompts::Answer> answers;
    std::deque<prompts::FileAnswer> fileAnswers;
    QList<prompts::MessageRequest> messages;
    QList<prompts::FileRequest> fileRequests;

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
