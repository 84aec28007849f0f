#include "prices/parts_library.h"

#include "base/file_io.h"
#include "base/path_text.h"
#include "base/text.h"
#include "base/user_error.h"
#include "grid/row_commands.h"

#include <algorithm>

namespace kerbina {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPartExtension = ".prt";

// Characters no file name holds on either platform; a path separator among them.
constexpr std::string_view kForbiddenCharacters = "\\/:*?\"<>|";

bool isControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// What keeps a name inside its folder, checked for every name that comes to the library: a name
// from a listing always passes.
bool staysInFolder(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos &&
           std::ranges::none_of(name, [](char c) { return c == '\0'; });
}

void requireStaysInFolder(std::string_view name) {
    if (!staysInFolder(name)) {
        throw UserError("パーツファイルの名前が正しくありません：" + std::string(name));
    }
}

bool hasPartExtension(const fs::path& file) {
    return equalsIgnoringAsciiCase(pathText(file.extension()), kPartExtension);
}

std::vector<std::string> sortedNames(std::vector<std::string> names) {
    std::ranges::sort(names);
    return names;
}

} // namespace

std::optional<std::string> partNameRefusal(std::string_view name) {
    if (name.find_first_not_of(' ') == std::string_view::npos) {
        return "名前を入力してください。";
    }
    if (name.find_first_of(kForbiddenCharacters) != std::string_view::npos ||
        std::ranges::any_of(name, isControlCharacter) ||
        name.find("..") != std::string_view::npos || name == ".") {
        return "名前に使えない文字が含まれています。\n"
               "\\ / : * ? \" < > | と制御文字、\"..\" は使えません。";
    }
    return std::nullopt;
}

std::string removePartQuestion(std::string_view part) {
    return "パーツファイルを削除しますか？\n" + std::string(part);
}

std::string removePartFolderQuestion(std::string_view folder) {
    return "パーツファイルフォルダーを削除しますか？\n" + std::string(folder);
}

PartsLibrary::PartsLibrary(const fs::path& dataRoot) : root_(dataRoot / "part") {}

std::vector<std::string> PartsLibrary::folders() const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(root_, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_directory(typeError)) {
            names.push_back(pathText(entry->path().filename()));
        }
    }
    return sortedNames(std::move(names));
}

std::vector<std::string> PartsLibrary::parts(std::string_view folder) const {
    std::vector<std::string> names;
    if (!staysInFolder(folder)) {
        return names;
    }
    std::error_code error;
    for (fs::directory_iterator entry(folderPath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_regular_file(typeError) && hasPartExtension(entry->path())) {
            names.push_back(pathText(entry->path().stem()));
        }
    }
    return sortedNames(std::move(names));
}

fs::path PartsLibrary::folderPath(std::string_view folder) const {
    requireStaysInFolder(folder);
    return root_ / pathFromText(folder);
}

fs::path PartsLibrary::partFile(std::string_view folder, std::string_view part) const {
    requireStaysInFolder(part);
    return fileInAnyCase(folderPath(folder), std::string(part) + std::string(kPartExtension));
}

void PartsLibrary::createFolder(std::string_view name) const {
    if (const auto refusal = partNameRefusal(name)) {
        throw UserError(*refusal);
    }
    createFolders(folderPath(name));
}

void PartsLibrary::removeFolder(std::string_view name) const {
    const fs::path folder = folderPath(name);
    // remove_all removes links as links, the folder's own name included, and never follows them.
    std::error_code error;
    fs::remove_all(folder, error);
    if (error) {
        throw FileError(pathText(folder) + " を削除できませんでした。");
    }
}

void PartsLibrary::removePart(std::string_view folder, std::string_view part) const {
    removeFile(partFile(folder, part));
}

std::optional<std::string> PartsLibrary::moveParts(std::string_view from, std::string_view to,
                                                   const std::vector<std::string>& parts) const {
    if (from == to) {
        return std::nullopt;
    }
    const fs::path target = folderPath(to);
    std::string leftBehind;
    for (const std::string& part : parts) {
        try {
            const fs::path source = partFile(from, part);
            const fs::path name = source.filename();
            std::error_code error;
            if (fs::exists(fs::symlink_status(fileInAnyCase(target, pathText(name)), error))) {
                leftBehind += "\n" + part + "：移動先に同じ名前のパーツファイルがあります。";
                continue;
            }
            renameFile(source, target / name);
        } catch (const UserError& error) {
            leftBehind += "\n" + part + "：" + error.what();
        }
    }
    if (leftBehind.empty()) {
        return std::nullopt;
    }
    return "移動できなかったパーツファイルがあります。" + leftBehind;
}

void savePart(GridContext& context, Selection selection, const PartsLibrary& library,
              std::string_view folder, std::string_view name) {
    if (const auto refusal = partNameRefusal(name)) {
        throw UserError(*refusal);
    }
    const fs::path file = library.partFile(folder, name);
    std::error_code error;
    if (!fs::is_directory(file.parent_path(), error)) {
        throw UserError("パーツフォルダーが見つかりません：" + std::string(folder));
    }
    savePartsFile(context, selection, file);
}

CommandResult loadPart(GridContext& context, Selection selection, const PartsLibrary& library,
                       std::string_view folder, std::string_view part) {
    return loadPartsFile(context, selection, library.partFile(folder, part));
}

} // namespace kerbina
