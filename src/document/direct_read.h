#pragma once

#include "document/document_events.h"
#include "document/quotation_file.h"
#include "document/work_folder.h"
#include "document/work_store.h"
#include "records/document_state.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kerbina {

// The page an opened quotation is worked on from; NotOpened when the user declined to open
// what could be read of a damaged file (nothing changed).
enum class OpenedView { Sheet, ItemList, NotOpened };

// Opens a quotation file (".krb2", or an old ".krb" by its extension in either case) as the open
// quotation. The whole file is read, checked and recomputed in memory first: every sheet with its
// own settings, then the breakdown list, as kerbina-cli does, so that no stale total stored in the
// file is shown or written back. A file that cannot be read (or a total that overflows) raises
// QuotationFileError, FileError or CurrencyOverflow and leaves the open quotation and the work
// folder as they were. A file that was cut short or whose parts disagree is opened only when the
// user says Yes to the question naming its problems (No is the default). Only then is a new
// quotation started, the work folder rebuilt from the file and the first sheet-owning item made
// current. `status` (from the quotation list) replaces [STATUS].
OpenedView loadQuotationFile(DocumentState& state, WorkStore& store, DocumentEvents& events,
                             const ApplySettings& applySettings, const std::filesystem::path& path,
                             std::optional<int> status, std::chrono::year_month_day today);

// The question asked before opening what could be read of a damaged file: the file, each problem
// with its line (the first few), and "読み込めた部分だけを開きますか？".
std::string damagedFileQuestion(const std::filesystem::path& path,
                                const std::vector<QuotationFileProblem>& problems);

} // namespace kerbina
