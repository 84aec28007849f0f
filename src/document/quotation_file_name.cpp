#include "document/quotation_file_name.h"

#include "base/text.h"
#include "records/line_kinds.h"

#include <string_view>

namespace kerbina {

namespace {

std::string trimmed(std::string_view text) {
    return std::string(trimBlanksAndFullWidthSpaces(text));
}

std::string fileNameSafe(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    // "." and ".." are no names; leading dots would hide the file.
    for (std::size_t i = 0; i < text.size() && text[i] == '.'; ++i) {
        text[i] = '_';
    }
    return text;
}

} // namespace

std::string suggestedQuotationFileName(const DocumentState& state) {
    std::string name = trimmed(state.header.number);
    for (int item = 1; name.empty() && item <= state.itemMax(); ++item) {
        const ItemRecord& record = state.items[static_cast<std::size_t>(item)];
        if (ownsSheet(record.kind)) {
            name = trimmed(splitNameSpec(record.name).first);
        }
    }
    if (name.empty()) {
        name = "見積書";
    }
    return fileNameSafe(std::move(name)) + ".krb2";
}

std::filesystem::path suggestedSavePath(const DocumentState& state,
                                        const std::filesystem::path& ownFile,
                                        const std::filesystem::path& quotationFolder) {
    if (!ownFile.empty()) {
        return ownFile;
    }
    const std::string name = suggestedQuotationFileName(state);
    return quotationFolder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

} // namespace kerbina
