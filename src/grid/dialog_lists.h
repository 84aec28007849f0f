#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace kerbina {

// The lists the line dialogs and the price editors keep in the data folder's "conf" folder, one
// entry a line: histories and the user's own choices. Each is a convenience: a missing or
// unreadable file gives no entries and never stops a dialog.
std::vector<std::string> readListFile(const std::filesystem::path& file);
// The units the user keeps ("conf/cilist.lst").
std::vector<std::string> readUnitList(const std::filesystem::path& dataRoot);

// The amount-column texts users typed, kept in the data folder's "conf/comment.DAT", newest
// first, at most 30: the one store that the data-entry dialog and the price editors read and add
// to. Every addition reads the file as it is now and writes it at once, so no window writes back
// a copy that lacks what another one added. The four amount texts of the settings
// ("[KINGAKU_NAME1]".."4") stand first in every choice and are never stored.
inline constexpr std::size_t kAmountTextHistoryLength = 30;
using AmountSettingTexts = std::array<std::string, 4>;

// A non-empty text not yet in the list goes on top; the list then keeps its first `limit`.
void rememberNewAtTop(std::vector<std::string>& history, const std::string& text,
                      std::size_t limit);
// The stored texts.
std::vector<std::string> readAmountTextHistory(const std::filesystem::path& dataRoot);
// Adds `text` (line breaks dropped) unless it is empty, a settings text or stored already.
// Returns the stored texts. Raises FileError.
std::vector<std::string> rememberAmountTextInHistory(const std::filesystem::path& dataRoot,
                                                     const std::string& text,
                                                     const AmountSettingTexts& settingTexts);

} // namespace kerbina
