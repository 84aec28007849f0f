#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// What the two print programs share around their pages: how they start and how they fail.

// Chooses the window system before the application starts. A PDF needs no screen, so it is made
// with the offscreen platform wherever it runs; a preview needs one, and where there is none the
// program says so instead of letting the window system abort it. Returns that message.
std::optional<std::string> choosePlatform(bool windowed);

// Qt's own notices (font folders, runtime folders and the like, in English) are not for the users
// of a print program: only its own messages, in Japanese, reach them. Qt's errors still show.
void quietQtNotices();

// Tells the user why the program stops: in a box titled `caption` for a preview, on standard
// error after the program's name for a PDF. Returns the exit status 1.
int reportFailure(std::string_view program, const QString& caption, const std::string& message,
                  bool windowed);

} // namespace kerbina
