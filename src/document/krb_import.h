#pragma once

#include "records/quotation_data.h"

#include <filesystem>
#include <string_view>

namespace kerbina {

// Imports a quotation of the old binary format (.krb): a 464-byte header, the item count and its
// 140-byte items, then 228-byte lines up to a kind-999 record, then take-off records. The whole
// file is converted and checked in memory; a damaged file raises QuotationFileError (line 0) and
// returns nothing. Take-off records are checked for their framing only: their layout beyond the
// kind field is not known, so they are not carried over.
QuotationData importVersion1(std::string_view bytes);
// The same on a file: regular files only, up to kReadLimit; errors name the file.
QuotationData importVersion1File(const std::filesystem::path& path);

// ".krb" in either case: files of the old format.
bool isVersion1Path(const std::filesystem::path& path);

} // namespace kerbina
