#include "app/seeding.h"

#include "app/instance_lock.h"
#include "base/text.h"

#include <string>
#include <system_error>
#include <utility>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

class Seeder {
public:
    Seeder(const fs::path& installFolder, const fs::path& dataRoot)
        : install_(installFolder), root_(dataRoot) {}

    // Creates dataRoot/folder when missing; true when it was created now.
    bool createFolder(const fs::path& folder) { return create(root_ / folder); }
    bool createRoot() { return create(root_); }

    // Copies the files (not the sub-folders) of installFolder/from into dataRoot/to; only names
    // with the given extension when one is given.
    void copyFiles(const fs::path& from, const fs::path& to, std::string_view extension = {}) {
        std::error_code error;
        for (fs::directory_iterator entry(install_ / from, error), end; !error && entry != end;
             entry.increment(error)) {
            const fs::path name = entry->path().filename();
            std::error_code ignored;
            if (!entry->is_regular_file(ignored) || isPlaceholder(name)) {
                continue;
            }
            if (!extension.empty() &&
                !equalsIgnoringAsciiCase(name.extension().string(), extension)) {
                continue;
            }
            copyFile(from / name, to / name);
        }
    }

    // Copies installFolder/from to dataRoot/to when the target is missing.
    void copyFile(const fs::path& from, const fs::path& to) {
        std::error_code error;
        const fs::path target = root_ / to;
        if (fs::exists(target, error) || !fs::is_regular_file(install_ / from, error)) {
            return;
        }
        if (fs::copy_file(install_ / from, target, fs::copy_options::skip_existing, error)) {
            result_.copiedFiles.push_back(target);
        } else if (error) {
            // A half-copied file would count as present and never be copied again.
            fs::remove(target, error);
        }
    }

    // A folder that is filled from the seed tree the first time it is missing.
    void seedFolder(const fs::path& folder, std::string_view extension = {}) {
        if (createFolder(folder)) {
            copyFiles(folder, folder, extension);
        }
    }

    SeedResult take() { return std::move(result_); }

private:
    bool create(const fs::path& target) {
        std::error_code error;
        if (fs::exists(target, error)) {
            return false;
        }
        if (!fs::create_directories(target, error) || error) {
            return false;
        }
        result_.createdFolders.push_back(target);
        return true;
    }

    // Empty seed folders carry a placeholder so that version control keeps them; it is not a
    // seed file.
    static bool isPlaceholder(const fs::path& name) { return name == ".gitkeep"; }

    fs::path install_;
    fs::path root_;
    SeedResult result_;
};

} // namespace

bool companionProgramExists(const fs::path& installFolder, std::string_view baseName) {
    std::error_code error;
    const std::string base(baseName);
    return fs::is_regular_file(installFolder / base, error) ||
           fs::is_regular_file(installFolder / (base + ".exe"), error);
}

ModulePresence detectModules(const fs::path& installFolder) {
    return ModulePresence{companionProgramExists(installFolder, "kanzai_dlg"),
                          companionProgramExists(installFolder, "dactdlg")};
}

bool isNewDataRoot(const fs::path& dataRoot) {
    std::error_code error;
    fs::directory_iterator entry(dataRoot, error);
    if (error) {
        return !fs::exists(dataRoot, error);
    }
    for (const fs::directory_iterator end; !error && entry != end; entry.increment(error)) {
        if (entry->path().filename() != kInstanceLockFileName) {
            return false;
        }
    }
    return true;
}

SeedResult seedDataRoot(const fs::path& installFolder, const fs::path& dataRoot,
                        ModulePresence modules) {
    Seeder seeder(installFolder, dataRoot);
    const fs::path templates = fs::path("part") / u8"見積定型";
    const fs::path notes = fs::path("part") / u8"特記事項";

    if (isNewDataRoot(dataRoot)) {
        seeder.createRoot();
        for (const char* folder : {"data", "style", "conf", "printdata", "temp", "kerbina_data"}) {
            seeder.createFolder(folder);
        }
        seeder.copyFiles("style", "style");
        seeder.copyFiles("conf", "conf");
        seeder.copyFiles("sampledata", "kerbina_data");
        seeder.copyFiles("data", "data");
    }
    for (const char* folder : {"temp", "conf", "backup", "part", "printdata"}) {
        seeder.createFolder(folder);
    }
    seeder.seedFolder("style");
    seeder.seedFolder(templates);
    seeder.seedFolder(notes, ".prt");

    if (modules.piping) {
        seeder.createFolder("ex_data");
        seeder.createFolder("conf");
        for (const char* file : {"kerbinaXe5EX.db3", "DataSort_ex.conf", "keito_name.conf"}) {
            seeder.copyFile(fs::path("ex_data") / file, fs::path("ex_data") / file);
        }
        seeder.seedFolder(fs::path("style") / "ex_data");
    }
    if (modules.duct) {
        seeder.createFolder("dx_data");
        seeder.copyFile(fs::path("dx_data") / "datasort_dx.conf",
                        fs::path("dx_data") / "datasort_dx.conf");
        seeder.seedFolder(fs::path("style") / "dx_data");
    }
    return seeder.take();
}

} // namespace kerbina
