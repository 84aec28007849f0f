#pragma once

#include "records/document_state.h"

#include <filesystem>
#include <string>

namespace kerbina {

// The name a quotation is first offered under when it is saved to a file: its quotation number,
// else the name of its first sheet item, else "見積書"; characters that no file name may hold
// ("\\/:*?\"<>|" and control characters) become "_", and ".krb2" is appended.
std::string suggestedQuotationFileName(const DocumentState& state);

// Where "ファイルに保存" starts: the quotation's own file when it has one, else the suggested name
// in the quotation folder.
std::filesystem::path suggestedSavePath(const DocumentState& state,
                                        const std::filesystem::path& ownFile,
                                        const std::filesystem::path& quotationFolder);

} // namespace kerbina
