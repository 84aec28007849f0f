#pragma once

#include "base/user_prompt.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kerbina {

// One scripted answer to a question: Yes, No or Cancel; true and false stand for Yes and No.
struct ScriptedAnswer {
    ScriptedAnswer(bool yes) : answer(yes ? UserPrompt::Answer::Yes : UserPrompt::Answer::No) {}
    ScriptedAnswer(UserPrompt::Answer answer) : answer(answer) {}

    UserPrompt::Answer answer;
};

// A file dialog the core opened: its caption, the folder or file it started on, its filter and
// (save dialogs) the suffix added to a name typed without one.
struct OfferedFileDialog {
    std::string caption;
    std::filesystem::path start;
    std::string filter;
    std::string suffix;
};

// The user, scripted, in front of any prompt (UserPrompt or a host built on it). Questions take
// their answers from `answers` in order and, once the script is used up, from `otherwise`;
// without that, an unscripted question fails the test and is answered Cancel, which is No to a
// Yes/No question. Text questions take `texts` (nothing cancels), file dialogs choose
// `fileToOpen` / `fileToSave`. Everything asked and shown is kept.
template <class Prompt> class Scripted : public Prompt {
public:
    using Answer = UserPrompt::Answer;

    // A user who gives `answer` to every question not scripted in `answers`.
    static Scripted answering(ScriptedAnswer answer) {
        Scripted prompt;
        prompt.otherwise = answer;
        return prompt;
    }

    std::deque<ScriptedAnswer> answers;
    std::optional<ScriptedAnswer> otherwise;
    std::deque<std::optional<std::string>> texts;
    std::optional<std::filesystem::path> fileToOpen;
    std::optional<std::filesystem::path> fileToSave;

    std::vector<std::string> questions;                       // Yes/No and text questions
    std::vector<std::string> notices;                         // notices and error details
    std::vector<std::pair<std::string, std::string>> reports; // error heading, detail
    std::vector<OfferedFileDialog> fileDialogs;
    std::vector<std::string> shown; // questions, notices and error details, in order
    // Called after each notice is kept, so a test can look at the data at that moment.
    std::function<void()> onNotify;

    Answer askYesNoCancel(const std::string& question) override { return ask(question); }
    bool askYesNo(const std::string& question) override { return ask(question) == Answer::Yes; }
    bool askYesNoDefaultNo(const std::string& question) override {
        return ask(question) == Answer::Yes;
    }
    bool askText(const std::string& question, std::string& text) override {
        keepQuestion(question);
        if (texts.empty()) {
            return false;
        }
        const std::optional<std::string> answer = texts.front();
        texts.pop_front();
        if (answer) {
            text = *answer;
        }
        return answer.has_value();
    }
    void notify(const std::string& text) override {
        notices.push_back(text);
        shown.push_back(text);
        if (onNotify) {
            onNotify();
        }
    }
    void reportError(std::string_view text, std::string_view detail) override {
        reports.emplace_back(text, detail);
        notices.emplace_back(detail);
        shown.emplace_back(detail);
    }
    std::optional<std::filesystem::path> chooseFileToOpen(const std::string& caption,
                                                          const std::filesystem::path& folder,
                                                          const std::string& filter) override {
        fileDialogs.push_back({caption, folder, filter, {}});
        return fileToOpen;
    }
    std::optional<std::filesystem::path> chooseFileToSave(const std::string& caption,
                                                          const std::filesystem::path& suggested,
                                                          const std::string& filter,
                                                          const std::string& suffix) override {
        fileDialogs.push_back({caption, suggested, filter, suffix});
        return fileToSave;
    }

private:
    void keepQuestion(const std::string& question) {
        questions.push_back(question);
        shown.push_back(question);
    }
    Answer ask(const std::string& question) {
        keepQuestion(question);
        if (!answers.empty()) {
            const Answer answer = answers.front().answer;
            answers.pop_front();
            return answer;
        }
        if (otherwise) {
            return otherwise->answer;
        }
        ADD_FAILURE() << "unscripted question: " << question;
        return Answer::Cancel;
    }
};

using ScriptedPrompt = Scripted<QuietPrompt>;

} // namespace kerbina
