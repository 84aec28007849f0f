#pragma once

#include <cstdio>
#include <filesystem>

namespace kerbina {

// The operating system's file calls behind the file helpers of file_io. They all live in
// file_posix.cpp, the one file a Windows build replaces; readRegularFile and fileStamp (declared
// in file_io.h) are defined there too.

// Creates `path` for writing, failing when it exists already (`exists` is then true) or cannot be
// created; nullptr on failure.
std::FILE* createNewFile(const std::filesystem::path& path, bool& exists);
// Forces the bytes written to an open file onto the disk.
bool flushToDisk(std::FILE* file);

} // namespace kerbina
