#pragma once

#include <filesystem>

namespace kerbina {

// The operating system's answers about where things are. Everything here is the only place that
// asks the environment or the system; the rest of the program builds on these two folders.

// The machine's common application data folder: $KERBINA_APPDATA when set, else $XDG_DATA_HOME
// (when absolute), else the home folder + "/.local/share".
std::filesystem::path commonAppDataFolder();

// The folder the seed files and companion programs are installed in: $KERBINA_INSTALL_DIR when
// set, else the folder of the running executable.
std::filesystem::path installFolder();

} // namespace kerbina
