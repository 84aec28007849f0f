#pragma once

#include "grid/grid_commands.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbina {

// The parts library: reusable groups of quotation lines kept as line copy files ("*.prt") in the
// folders under dataRoot/part. Each direct subfolder is one library folder (folders are not
// nested); a part is named by its file name without the extension. Listings are sorted by name
// (the bytes of the UTF-8 names), as the order a folder lists its entries in changes from one
// file system to another and after every rename. The extension is matched in any letter case,
// so parts copied from other systems ("注記.PRT") are found.
//
// Every name reaches the file system through this class, which keeps it inside the library: a
// name can never be empty, ".", "..", nor hold a path separator, so no folder or part outside
// dataRoot/part (and never dataRoot/part itself) is written, moved or removed.

// Why a name typed for a new part or folder is refused, in the user's words; nothing when it may
// be used. Empty or blank names, ".." and the characters no file name may hold on either
// platform (\ / : * ? " < > | and control characters) are refused.
std::optional<std::string> partNameRefusal(std::string_view name);

// The question asked before a part or a library folder is removed.
std::string removePartQuestion(std::string_view part);
std::string removePartFolderQuestion(std::string_view folder);

class PartsLibrary {
public:
    // The library of a data folder: dataRoot/part.
    explicit PartsLibrary(const std::filesystem::path& dataRoot);

    const std::filesystem::path& root() const { return root_; }

    // The library folders, sorted by name.
    std::vector<std::string> folders() const;
    // The parts of `folder` (names without the extension), sorted by name; nothing for a folder
    // that is not there.
    std::vector<std::string> parts(std::string_view folder) const;

    // The file of part `part` in `folder`: the existing file in whatever letter case its
    // extension has, else `part` + ".prt". Raises UserError for a name that would leave the
    // library.
    std::filesystem::path partFile(std::string_view folder, std::string_view part) const;

    // Creates library folder `name` (a typed name: refused as partNameRefusal says, with
    // UserError). An existing folder is no error.
    void createFolder(std::string_view name) const;
    // Removes library folder `name` with every file in it. A link found in it is removed as a
    // link: nothing outside the folder is touched. Raises UserError when it cannot be removed
    // whole.
    void removeFolder(std::string_view name) const;
    // Removes a part. Raises UserError when the file stays.
    void removePart(std::string_view folder, std::string_view part) const;

    // Moves `parts` from folder `from` to folder `to`, each under its own file name. A part whose
    // name `to` already holds (in any letter case) stays where it is, and so does one the file
    // system refuses to move; the others move. Moving onto `from` itself does nothing. Returns
    // the message that names every part left behind and why; nothing when all moved.
    std::optional<std::string> moveParts(std::string_view from, std::string_view to,
                                         const std::vector<std::string>& parts) const;

private:
    std::filesystem::path folderPath(std::string_view folder) const;

    std::filesystem::path root_;
};

// Writes the selected lines (up to the sheet's last line) as part `name` of `folder`, replacing
// a part of that name, and tells "パーツファイルを保存しました。". A refused name or a missing
// folder raises UserError and writes nothing.
void savePart(GridContext& context, Selection selection, const PartsLibrary& library,
              std::string_view folder, std::string_view name);
// Inserts part `part` of `folder` at the selection's first row: the undo snapshot, the lines,
// the totals passes and the sheet write, as the line paste does. A part that is missing or is no
// line copy file raises UserError and changes nothing.
CommandResult loadPart(GridContext& context, Selection selection, const PartsLibrary& library,
                       std::string_view folder, std::string_view part);

} // namespace kerbina
