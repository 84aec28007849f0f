#include "document/work_folder.h"

#include "document/file_io.h"
#include "document/quotation_file.h"

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

namespace {

// A backup of a quotation nobody has typed anything into: no line on any sheet, no item name, no
// cover text. Keeping it as the previous run's backup would push out the one before it (two
// starts in a row without an edit would lose the state before a crash), so it is just replaced.
// A file that cannot be read is kept: it may be all that is left of someone's work.
bool holdsNoWork(const fs::path& backup) {
    QuotationData data;
    try {
        data = readQuotationFile(backup);
    } catch (const std::exception&) {
        return false;
    }
    const QuotationHeader& header = data.header;
    const bool noCover = header.atesaki1.empty() && header.atesaki2.empty() &&
                         header.constract1.empty() && header.constract2.empty() &&
                         header.where.empty() && header.number.empty();
    const bool noItems = std::all_of(data.items.begin() + 1, data.items.end(),
                                     [](const ItemRecord& item) { return item.name.empty(); });
    const bool noLines = std::all_of(data.sheets.begin(), data.sheets.end(),
                                     [](const Sheet& sheet) { return sheet.size() <= 1; });
    return noCover && noItems && noLines;
}

} // namespace

fs::path prepareBackupWrite(WorkStore& store) {
    const fs::path current = backupFilePath(store.backupFolder);
    if (!store.previousBackupKept) {
        std::error_code error;
        fs::create_directories(store.backupFolder, error);
        if (fs::exists(current, error) && !holdsNoWork(current)) {
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
