#pragma once

#include "grid/grid_commands.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kerbina::testing {

// Answers the commands' questions from a script and keeps every text shown.
class ScriptedHost : public QuietPrompt {
public:
    std::deque<bool> answers;
    std::vector<std::string> questions;
    std::vector<std::string> notices;

    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void notify(const std::string& text) override { notices.push_back(text); }
};

// Records the steps of the edit cycle in the order the commands take them.
class RecordingCycle : public EditCycle {
public:
    std::vector<std::string> steps;

    void takeSheetSnapshot() override { steps.push_back("snapshot"); }
    void recalculate(bool listMode) override {
        steps.push_back(listMode ? "list totals" : "totals");
    }
    void writeSheet() override { steps.push_back("write"); }
    void takeListSnapshot() override { steps.push_back("list snapshot"); }
    void writeList() override { steps.push_back("write list"); }
    void reloadSheet() override { steps.push_back("reload"); }
    bool undo(bool) override {
        steps.push_back("undo");
        return true;
    }
};

// A fresh folder per test under the test temporary directory.
inline std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) /
        ("grid_" + name + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Everything a command needs, over a recording cycle.
struct CommandBench {
    DocumentState state;
    RecordingCycle cycle;
    ScriptedHost host;
    GridSession session;
    std::filesystem::path workFolder = freshFolder("work");
    GridContext context{state, cycle, host, session, workFolder};
};

} // namespace kerbina::testing
