#pragma once

#include "app/quotation_session.h"
#include "app/seeding.h"
#include "temp_folder.h"

#include <chrono>
#include <filesystem>
#include <memory>

namespace kerbina {

// A session on `folders` started as the program starts one, with a new quotation open on its
// first sheet.
inline std::unique_ptr<QuotationSession> startSession(const AppFolders& folders, UserPrompt& prompt,
                                                      std::chrono::year_month_day today) {
    auto session = std::make_unique<QuotationSession>(folders, ModulePresence{}, prompt);
    session->openDatabases();
    session->readSettingsFiles();
    session->readSettings();
    session->beginRun();
    session->startNewQuotation(today);
    session->showSheetPage();
    return session;
}

// The program's folders under `root`, laid out as an installation lays them out, with the data
// root seeded from an empty installation.
inline AppFolders seededFolders(const std::filesystem::path& root) {
    AppFolders folders;
    folders.installFolder = root / "install";
    folders.dataRoot = root / "common/Norfell/kerbina_xe5";
    folders.databaseFolder = root / "common/Norfell/database";
    folders.quotationFolder = folders.dataRoot / "kerbina_data";
    std::filesystem::create_directories(folders.installFolder);
    std::filesystem::create_directories(folders.databaseFolder);
    seedDataRoot(folders.installFolder, folders.dataRoot, ModulePresence{});
    return folders;
}

// A quotation session started as the program starts it, on a fresh data root seeded from an
// empty installation, with a new quotation open on its first sheet.
class StartedSession {
public:
    static constexpr std::chrono::year_month_day kToday{
        std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{10}};

    explicit StartedSession(UserPrompt& prompt)
        : folders(seededFolders(root.path())), session(startSession(folders, prompt, kToday)) {}

    TempFolder root;
    AppFolders folders;
    std::unique_ptr<QuotationSession> session;
};

} // namespace kerbina
