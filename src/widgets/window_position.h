#pragma once

#include <QRect>
#include <filesystem>
#include <optional>
#include <string_view>

class QWidget;

namespace kerbina {

// Window positions are kept per window name in dataRoot/conf/<name>.ini as the whole window with
// its frame, the way other programs store them.

// The stored position of the window `name`; nothing when none is stored or the file cannot be read
// (the window then keeps its designed position).
std::optional<QRect> storedWindowPosition(const std::filesystem::path& dataRoot,
                                          std::string_view name);

// Writes the window's frame as the position of `name`. Raises FileError when the file cannot be
// written; the caller decides whether that is worth a message.
void storeWindowPosition(const std::filesystem::path& dataRoot, std::string_view name,
                         const QWidget& window);

} // namespace kerbina
