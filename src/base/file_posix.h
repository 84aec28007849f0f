#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace kerbina {

// The operating system's file calls behind the file helpers of file_io. They all live in
// file_posix.cpp, the one file a Windows build replaces; readRegularFile and fileStamp (declared
// in file_io.h) are defined there too. Every read of a file ends in the one reader there, which
// never waits on a FIFO or a device and never reads past its limit.

// Creates `path` for writing, failing when it exists already (`exists` is then true) or cannot be
// created; nullptr on failure.
std::FILE* createNewFile(const std::filesystem::path& path, bool& exists);
// Forces the bytes written to an open file onto the disk.
bool flushToDisk(std::FILE* file);
// The first `count` bytes of a regular file (all of a shorter one); FileError for anything else.
std::string readRegularFileHead(const std::filesystem::path& path, std::size_t count);

} // namespace kerbina
