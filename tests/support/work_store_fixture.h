#pragma once

#include "document/document_events.h"
#include "document/work_store.h"
#include "record_builders.h"
#include "records/document_state.h"
#include "scripted_prompt.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace kerbina::testing_support {

// Whoever drives the store, scripted: answers come from a queue, every change is kept, and the
// last of each kind that tests look at is at hand.
class ScriptedHost : public Scripted<QuietDocumentEvents> {
public:
    DocumentChanges changes;
    std::string counters;
    std::string sheetTitle;
    std::string quotationNumber;

    void changed(DocumentChange change) override {
        switch (change.kind) {
        case DocumentChange::Kind::UndoMoved:
            counters = change.text;
            break;
        case DocumentChange::Kind::SheetOpened:
            sheetTitle = change.text;
            break;
        case DocumentChange::Kind::HeaderWritten:
            quotationNumber = change.text;
            break;
        default:
            break;
        }
        changes.push_back(std::move(change));
    }

    // The settings in force that a new or opened quotation takes; none unless a test says.
    virtual void readSettings(DocumentState&) {}
    ApplySettings settings() {
        return [this](DocumentState& state) {
            readSettings(state);
        };
    }
};

inline constexpr std::chrono::year_month_day kToday{std::chrono::year{2024}, std::chrono::May,
                                                    std::chrono::day{17}};

// A data root of its own per test, with the work and backup folders of the store.
class WorkStoreTest : public ::testing::Test {
protected:
    // Also called again by table tests to start each row from scratch.
    void SetUp() override {
        const char* appData = std::getenv("KERBINA_APPDATA");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::path(appData != nullptr ? appData
                                                        : std::filesystem::temp_directory_path()) /
               "work_store_test" / info->test_suite_name() / info->name();
        std::filesystem::remove_all(root);
        store = WorkStore{root / "temp", root / "backup"};
        state = DocumentState{};
        host = ScriptedHost{};
        std::filesystem::create_directories(store.workFolder);
    }

    std::filesystem::path work(const std::string& name) const { return store.workFolder / name; }

    std::filesystem::path root;
    WorkStore store;
    DocumentState state;
    ScriptedHost host;
};

// Every file and folder under `root` (relative name → bytes, "<dir>" for a folder): the whole
// picture of the data root, to show that a failed command changed nothing.
inline std::map<std::string, std::string> folderContents(const std::filesystem::path& root) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).string();
        if (entry.is_directory()) {
            contents[name] = "<dir>";
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            contents[name] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        }
    }
    return contents;
}

// The names of the sheet's lines joined by ",", a compact picture of a sheet for comparisons.
inline std::string namesOf(const Sheet& sheet) {
    std::string names;
    for (std::size_t i = 1; i < sheet.size(); ++i) {
        names += (i > 1 ? "," : "") + sheet[i].nameSpec;
    }
    return names;
}

} // namespace kerbina::testing_support
