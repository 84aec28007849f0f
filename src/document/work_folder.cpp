#include "document/work_folder.h"

#include "document/file_io.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace kerbina {

namespace fs = std::filesystem;

std::string headerFileName(std::string_view extension) {
    return "HEAD." + std::string(extension);
}

std::string sheetFileName(int sheet) {
    return "WITEM" + std::to_string(sheet) + ".WRK";
}

std::string sheetSnapshotFileName(int generation, int sheet) {
    return std::to_string(generation) + "WITEM" + std::to_string(sheet) + ".UND";
}

std::string pickupFileName(int sheet) {
    return "WITEM" + std::to_string(sheet) + ".PUP";
}

std::string aggregationFileName(int sheet) {
    return "DATASORT" + std::to_string(sheet) + ".WRK";
}

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

// The regular files of a folder whose extension is one of `extensions`, listed before anything
// is deleted or renamed so that the listing is not disturbed by the changes.
std::vector<fs::path> filesWithExtensions(const fs::path& folder,
                                          std::initializer_list<std::string_view> extensions) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        for (std::string_view extension : extensions) {
            if (hasExtension(it->path(), extension)) {
                found.push_back(it->path());
                break;
            }
        }
    }
    return found;
}

void removeIfRegularFile(const fs::path& file) {
    std::error_code error;
    if (fs::is_regular_file(file, error)) {
        fs::remove(file, error);
    }
}

void renameExtension(const fs::path& folder, std::string_view from, std::string_view to) {
    for (const fs::path& file : filesWithExtensions(folder, {from})) {
        std::error_code error;
        fs::rename(file, fs::path(file).replace_extension(to), error);
    }
}

} // namespace

bool hasExtension(const fs::path& file, std::string_view extension) {
    return equalsIgnoringCase(file.extension().string(), extension);
}

void deleteFilesWithExtensions(const fs::path& folder,
                               std::initializer_list<std::string_view> extensions) {
    for (const fs::path& file : filesWithExtensions(folder, extensions)) {
        std::error_code error;
        fs::remove(file, error);
    }
}

void clearWorkFolder(const fs::path& workFolder) {
    removeIfRegularFile(workFolder / headerFileName("WRK"));
    deleteFilesWithExtensions(workFolder, {".PUP", ".WRK"});
}

void keepWorkFilesAsBackups(const fs::path& workFolder) {
    deleteFilesWithExtensions(workFolder, {".UND", ".bUP", ".bRK"});
    removeIfRegularFile(workFolder / "HEAD.bak");
    std::error_code error;
    if (fs::is_regular_file(workFolder / headerFileName("WRK"), error)) {
        fs::rename(workFolder / headerFileName("WRK"), workFolder / "HEAD.bak", error);
    }
    renameExtension(workFolder, ".PUP", ".bup");
    renameExtension(workFolder, ".WRK", ".brk");
}

fs::path backupFilePath(const fs::path& backupFolder) {
    return backupFolder / "backup.krb2";
}

fs::path previousBackupFilePath(const fs::path& backupFolder) {
    return backupFolder / "backup_prev.krb2";
}

fs::path prepareBackupWrite(WorkStore& store) {
    const fs::path current = backupFilePath(store.backupFolder);
    if (!store.previousBackupKept) {
        std::error_code error;
        fs::create_directories(store.backupFolder, error);
        if (fs::exists(current, error)) {
            fs::rename(current, previousBackupFilePath(store.backupFolder), error);
            if (error) {
                throw FileError("ファイルに書き込めませんでした: " +
                                previousBackupFilePath(store.backupFolder).string());
            }
        }
        store.previousBackupKept = true;
    }
    return current;
}

} // namespace kerbina
