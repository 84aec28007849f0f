#pragma once

#include "base/file_io.h"

#include <cstddef>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kerbina {

// Overwrites the last 4096-byte page of a database file with 0xFF bytes, as a failing disk leaves
// it. The file must hold more than `leastPages` pages, so the pages in front stay sound; call it
// inside ASSERT_NO_FATAL_FAILURE so a file too small stops the test.
inline void damageLastDatabasePage(const std::filesystem::path& file, std::size_t leastPages) {
    constexpr std::size_t kPage = 4096;
    std::string bytes = readFileBytes(file);
    ASSERT_GT(bytes.size(), leastPages * kPage);
    bytes.replace(bytes.size() - kPage, kPage, std::string(kPage, '\xFF'));
    writeFileAtomically(file, bytes);
}

} // namespace kerbina
