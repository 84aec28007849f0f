#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kerbina {

// The files under tests/data.
inline std::filesystem::path testDataFile(std::string_view relativePath) {
    return std::filesystem::path(KERBINA_TEST_DATA_DIR) / relativePath;
}

// The example quotations 1 to 6 (tests/data/totals/example_n.krb2), each with its independently
// computed totals beside it (example_n.expected.json).
inline std::filesystem::path exampleQuotation(int number) {
    return testDataFile("totals/example_" + std::to_string(number) + ".krb2");
}

} // namespace kerbina
