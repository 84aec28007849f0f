#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// The one way the core asks the user something or tells them something. The core never shows
// anything itself: commands, the work-file store, undo and the database layer call these, the
// main window answers through its message boxes (the application title as caption, "確認" as
// heading), and tests script the answers.
class UserPrompt {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~UserPrompt() = default;

    virtual Answer askYesNoCancel(const std::string& question) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& question) = 0;
    // A Yes/No question whose safe answer is No: No is the default button. True for Yes.
    virtual bool askYesNoDefaultNo(const std::string& question) = 0;
    virtual void notify(const std::string& text) = 0;
    // A one-line text question (the question, then `text`: the text filled in and, on true, the
    // answer); false when cancelled. Without someone to ask, it counts as cancelled.
    virtual bool askText(const std::string&, std::string&) { return false; }
    // A failure: `text` is the box's heading ("ERROR"), `detail` the message in the system's words.
    virtual void reportError(std::string_view text, std::string_view detail) = 0;
    // A file to read: the dialog's caption, the folder it starts in, the filter shown
    // ("ケルビナファイル(krb2) (*.krb2)"). Nothing when the user cancelled; without someone to
    // ask, nothing.
    virtual std::optional<std::filesystem::path>
    chooseFileToOpen(const std::string&, const std::filesystem::path&, const std::string&) {
        return std::nullopt;
    }
    // A file to write, starting with the suggested one; the suffix is added to a name typed
    // without one. Choosing an existing file has been confirmed by the user. Nothing when the user
    // cancelled; without someone to ask, nothing.
    virtual std::optional<std::filesystem::path> chooseFileToSave(const std::string&,
                                                                  const std::filesystem::path&,
                                                                  const std::string&,
                                                                  const std::string&) {
        return std::nullopt;
    }
};

// A prompt with no one to ask: every question is answered No and nothing is shown. For work done
// without a window (benchmarks) and as the base of scripted test prompts.
class QuietPrompt : public UserPrompt {
public:
    Answer askYesNoCancel(const std::string&) override { return Answer::No; }
    bool askYesNo(const std::string&) override { return false; }
    bool askYesNoDefaultNo(const std::string&) override { return false; }
    void notify(const std::string&) override {}
    bool askText(const std::string&, std::string&) override { return false; }
    void reportError(std::string_view, std::string_view) override {}
};

} // namespace kerbina
