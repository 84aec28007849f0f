#include "document/work_folder.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "document/quotation_file.h"
#include "money/rounding.h"

#include <algorithm>
#include <ctime>
#include <fstream>
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

std::string takeoffSnapshotFileName(int generation, int sheet) {
    return std::to_string(generation) + "WITEM" + std::to_string(sheet) + ".PUND";
}

std::string pickupFileName(int sheet) {
    return "WITEM" + std::to_string(sheet) + ".PUP";
}

std::string aggregationFileName(int sheet) {
    return "DATASORT" + std::to_string(sheet) + ".WRK";
}

namespace {

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
        tryRemoveFile(file);
    }
}

void renameExtension(const fs::path& folder, std::string_view from, std::string_view to) {
    for (const fs::path& file : filesWithExtensions(folder, {from})) {
        tryRenameFile(file, fs::path(file).replace_extension(to));
    }
}

} // namespace

bool hasExtension(const fs::path& file, std::string_view extension) {
    return equalsIgnoringAsciiCase(file.extension().string(), extension);
}

void deleteFilesWithExtensions(const fs::path& folder,
                               std::initializer_list<std::string_view> extensions) {
    for (const fs::path& file : filesWithExtensions(folder, extensions)) {
        tryRemoveFile(file);
    }
}

void removeListSnapshot(const fs::path& workFolder) {
    const fs::path folder = workFolder / kListSnapshotFolderName;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return;
    }
    std::vector<fs::path> files;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        files.push_back(entry->path());
    }
    for (const fs::path& file : files) {
        tryRemoveFile(file);
    }
    fs::remove(folder, error); // only when nothing is left in it
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
        tryRenameFile(workFolder / headerFileName("WRK"), workFolder / "HEAD.bak");
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
// cover text. Keeping it in the rotation would push real work out (every start writes one), so
// it is just replaced.
// A file that cannot be read is kept: it may be all that is left of someone's work.
bool holdsNoWork(const fs::path& backup) {
    QuotationData data;
    try {
        data = readQuotationFile(backup);
    } catch (const std::exception&) {
        return false;
    }
    const QuotationHeader& header = data.header;
    const bool noCover = header.addressee1.empty() && header.addressee2.empty() &&
                         header.siteName1.empty() && header.siteName2.empty() &&
                         header.workName.empty() && header.number.empty();
    const bool noItems = std::all_of(data.items.begin() + 1, data.items.end(),
                                     [](const ItemRecord& item) { return item.name.empty(); });
    const bool noLines = std::all_of(data.sheets.begin(), data.sheets.end(),
                                     [](const Sheet& sheet) { return sheet.size() <= 1; });
    return noCover && noItems && noLines;
}

constexpr std::string_view kRotationPrefix = "backup_";
constexpr std::string_view kCrashMark = "_crash";
constexpr std::string_view kBackupExtension = ".krb2";

// "backup_YYYYMMDD_HHMMSS.krb2" or "backup_YYYYMMDD_HHMMSS_crash.krb2".
bool isRotatedBackup(const fs::path& file) {
    const std::string name = file.filename().string();
    if (!name.starts_with(kRotationPrefix) || !hasExtension(file, kBackupExtension)) {
        return false;
    }
    const std::string_view stamp = std::string_view(name).substr(
        kRotationPrefix.size(), name.size() - kRotationPrefix.size() - kBackupExtension.size());
    return stamp.size() >= 15 && stamp[8] == '_' &&
           std::all_of(stamp.begin(), stamp.begin() + 8,
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool isCrashBackup(const fs::path& file) {
    return fs::path(file).replace_extension().string().ends_with(kCrashMark);
}

std::chrono::system_clock::time_point lastWriteTime(const fs::path& file) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(file, error);
    if (error) {
        return {};
    }
    return std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        std::chrono::file_clock::to_sys(time));
}

// The rotation, newest first.
std::vector<fs::path> rotatedBackups(const fs::path& backupFolder) {
    std::vector<std::pair<std::chrono::system_clock::time_point, fs::path>> found;
    std::error_code error;
    for (fs::directory_iterator it(backupFolder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && isRotatedBackup(it->path())) {
            found.emplace_back(lastWriteTime(it->path()), it->path());
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    std::vector<fs::path> files;
    for (auto& [time, file] : found) {
        files.push_back(std::move(file));
    }
    return files;
}

std::string formatLocalTime(std::chrono::system_clock::time_point time, const char* format) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (const std::tm* converted = std::localtime(&seconds)) {
        local = *converted;
    }
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

// The rotation name for a backup last written at `written`, one not taken yet.
fs::path rotationName(const fs::path& backupFolder, std::chrono::system_clock::time_point written,
                      bool crash) {
    const std::string base =
        std::string(kRotationPrefix) + formatLocalTime(written, "%Y%m%d_%H%M%S");
    const std::string mark = crash ? std::string(kCrashMark) : std::string();
    fs::path name = backupFolder / (base + mark + std::string(kBackupExtension));
    std::error_code error;
    for (int n = 2; fs::exists(name, error); ++n) {
        name =
            backupFolder / (base + "-" + std::to_string(n) + mark + std::string(kBackupExtension));
    }
    return name;
}

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::error_code error;
    if (fs::file_size(a, error) != fs::file_size(b, error) || error) {
        return false;
    }
    try {
        return readFileBytes(a) == readFileBytes(b);
    } catch (const FileError&) {
        return false;
    }
}

// Removes the oldest backups beyond kKeptBackups; the newest crash backup always stays. One that
// cannot be removed just stays too: it must not stop the write of the new backup.
void trimRotation(const fs::path& backupFolder) {
    const std::vector<fs::path> files = rotatedBackups(backupFolder);
    const auto newestCrash = std::find_if(files.begin(), files.end(), isCrashBackup);
    for (std::size_t n = kKeptBackups; n < files.size(); ++n) {
        if (files.begin() + static_cast<std::ptrdiff_t>(n) != newestCrash) {
            tryRemoveFile(files[n]);
        }
    }
}

// Moves the backup the previous run left into the rotation, or drops it when it is not worth
// keeping; the file name it now has, if kept.
std::optional<fs::path> rotatePreviousBackup(const WorkStore& store) {
    const fs::path current = backupFilePath(store.backupFolder);
    std::error_code error;
    if (!fs::exists(current, error) || holdsNoWork(current)) {
        return std::nullopt;
    }
    if (!store.previousRunUnclean) {
        const std::vector<fs::path> rotation = rotatedBackups(store.backupFolder);
        if (!rotation.empty() && sameBytes(current, rotation.front())) {
            return std::nullopt;
        }
    }
    const fs::path kept =
        rotationName(store.backupFolder, lastWriteTime(current), store.previousRunUnclean);
    renameFile(current, kept);
    trimRotation(store.backupFolder);
    return kept;
}

} // namespace

fs::path prepareBackupWrite(WorkStore& store) {
    const fs::path current = backupFilePath(store.backupFolder);
    if (!store.previousBackupKept) {
        createFolders(store.backupFolder);
        const std::optional<fs::path> kept = rotatePreviousBackup(store);
        if (store.previousRunUnclean) {
            store.crashBackup = kept;
        }
        store.previousBackupKept = true;
    }
    return current;
}

BackupSummary summarizeBackup(const fs::path& file) {
    BackupSummary summary;
    summary.file = file;
    summary.written = lastWriteTime(file);
    summary.crashRun = isCrashBackup(file);
    summary.damaged = true;
    try {
        // The title section comes first and is short; the grand total is one of its lines.
        constexpr std::size_t kHeadBytes = 64 * 1024;
        const std::vector<std::string> head = splitTextLines(readFileHead(file, kHeadBytes));
        std::optional<Currency> total;
        if (!head.empty() && head.front() == "<TITLE>") {
            for (const std::string& line : head) {
                if (line == "</TITLE>") {
                    break;
                }
                if (line.starts_with("[ALLGTOTAL]=")) {
                    total = parseNumber(std::string_view(line).substr(12));
                }
            }
        }
        // A file cut short lacks its closing line.
        std::error_code error;
        const std::uintmax_t size = fs::file_size(file, error);
        constexpr std::string_view kEnd = "</EOF>";
        bool whole = false;
        if (!error && size >= kEnd.size()) {
            std::ifstream in(file, std::ios::binary);
            const std::uintmax_t tail = std::min<std::uintmax_t>(size, 16);
            in.seekg(static_cast<std::streamoff>(size - tail));
            std::string end(static_cast<std::size_t>(tail), '\0');
            in.read(end.data(), static_cast<std::streamsize>(tail));
            const std::vector<std::string> lines = splitTextLines(end);
            whole = in && end.back() == '\n' && !lines.empty() && lines.back() == kEnd;
        }
        if (total && whole) {
            summary.grandTotal = *total;
            summary.damaged = false;
        }
    } catch (const std::exception&) {
        summary.damaged = true;
    }
    return summary;
}

std::string localTimeText(std::chrono::system_clock::time_point time) {
    return formatLocalTime(time, "%Y/%m/%d %H:%M:%S");
}

std::string backupRowText(const BackupSummary& backup) {
    std::string row = localTimeText(backup.written) + "　";
    row += backup.damaged ? "（壊れているか途中までのファイルです）"
                          : "総合計 " + wholeYenText(backup.grandTotal);
    if (backup.crashRun) {
        row += "　（異常終了）";
    }
    return row + "　" + pathText(backup.file.filename());
}

std::vector<BackupSummary> listBackups(const fs::path& backupFolder) {
    std::vector<BackupSummary> backups;
    std::vector<fs::path> files = rotatedBackups(backupFolder);
    for (const fs::path& file :
         {backupFilePath(backupFolder), previousBackupFilePath(backupFolder)}) {
        std::error_code error;
        if (fs::is_regular_file(file, error)) {
            files.push_back(file);
        }
    }
    for (const fs::path& file : files) {
        backups.push_back(summarizeBackup(file));
    }
    std::stable_sort(
        backups.begin(), backups.end(),
        [](const BackupSummary& a, const BackupSummary& b) { return a.written > b.written; });
    return backups;
}

fs::path runMarkerPath(const fs::path& dataRoot) {
    return dataRoot / "KERBINA.running";
}

bool beginRun(WorkStore& store, const fs::path& dataRoot) {
    for (const fs::path& folder :
         {store.workFolder, store.workFolder / "LIST.UND", store.backupFolder, dataRoot / "conf"}) {
        removeLeftoverTemporaries(folder);
    }
    const fs::path marker = runMarkerPath(dataRoot);
    std::error_code error;
    store.previousRunUnclean = fs::exists(marker, error);
    writeFileAtomically(marker, "");
    return store.previousRunUnclean;
}

void endRun(const fs::path& dataRoot) {
    tryRemoveFile(runMarkerPath(dataRoot));
}

std::optional<BackupSummary> crashBackupToOffer(const WorkStore& store) {
    if (!store.crashBackup) {
        return std::nullopt;
    }
    return summarizeBackup(*store.crashBackup);
}

} // namespace kerbina
