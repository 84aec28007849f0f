#pragma once

#include "document/document_host.h"
#include "document/document_state.h"
#include "document/work_folder.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace kerbina {

// Opens a quotation file as the open quotation: a ".krb2" file, or one of the old format when
// the name ends in ".krb" (either case). Used for "直接ファイルを開く", "Version1のファイルを開く",
// the backup file and the file named on the command line; the quotation list passes the status
// its row has.
//
// The whole file is read and checked in memory first. A file that cannot be read changes nothing:
// the open quotation, its work files and its settings stay as they were, and the host is told
// why (with the line of the file, where there is one). Only a readable file replaces the open
// quotation: a new quotation is started, the work folder is rebuilt from the file, and the first
// sheet (or, with several items, the breakdown list) is shown. Returns whether it was opened.
bool Direct_read(DocumentState& state, WorkStore& store, DocumentHost& host,
                 const std::filesystem::path& path, std::optional<int> status,
                 std::chrono::year_month_day today);

} // namespace kerbina
