#include "widgets/window_position.h"

#include "base/conf_file.h"

#include <QWidget>
#include <exception>

namespace kerbina {

std::optional<QRect> storedWindowPosition(const std::filesystem::path& dataRoot,
                                          std::string_view name) {
    try {
        const WindowPosition position = readWindowPosition(dataRoot, name);
        if (position.height > 0) {
            return QRect(position.left, position.top, position.width, position.height);
        }
    } catch (const std::exception&) {
        // An unreadable position file leaves the designed position.
    }
    return std::nullopt;
}

void storeWindowPosition(const std::filesystem::path& dataRoot, std::string_view name,
                         const QWidget& window) {
    const QRect frame = window.frameGeometry();
    writeWindowPosition(dataRoot, name,
                        WindowPosition{frame.left(), frame.top(), frame.width(), frame.height()});
}

} // namespace kerbina
