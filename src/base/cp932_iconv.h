#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The one operating-system service behind the text codec: converting between UTF-8 and the
// Windows Japanese code page 932. Here glibc iconv does it; a Windows build puts the code-page API
// behind the same function.
namespace kerbina::platform {

enum class Cp932Direction { FromUtf8, ToUtf8 };

// Converts the longest convertible prefix of `input` and appends the result to `output`. Returns
// the number of input bytes consumed; fewer than input.size() means the conversion stopped in
// front of a sequence it cannot convert (unencodable, invalid or cut off). The caller decides
// what replaces that sequence.
std::size_t convertCp932Prefix(Cp932Direction direction, std::string_view input,
                               std::string& output);

} // namespace kerbina::platform
