#pragma once

#include "document/document_host.h"
#include "document/document_state.h"
#include "document/work_folder.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace kerbina {

// What the window shows after a quotation was opened.
enum class OpenedView { Sheet, ItemList };

// Opens a quotation file (".krb2", or an old ".krb" by its extension in either case) as the open
// quotation. The whole file is read and checked in memory first: a file that cannot be read
// raises QuotationFileError or FileError and leaves the open quotation and the work folder as
// they were. Only then is a new quotation started, the work folder rebuilt from the file and the
// first sheet-owning item made current. `status` (from the quotation list) replaces [STATUS].
OpenedView Direct_read(DocumentState& state, WorkStore& store, DocumentHost& host,
                       const std::filesystem::path& path, std::optional<int> status,
                       std::chrono::year_month_day today);

} // namespace kerbina
