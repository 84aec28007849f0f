#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kerbina {

// Texts live in memory as UTF-8; files shared with users and companion programs are CP932.

// UTF-8 → CP932 bytes. Characters CP932 cannot encode become "〓".
std::string toCp932(std::string_view utf8);
// The same, appended to `out`: for callers that put many texts into one buffer.
void appendCp932(std::string_view utf8, std::string& out);
// CP932 bytes → UTF-8. Bytes that are not valid CP932 become "〓".
std::string fromCp932(std::string_view cp932);
// CP932 bytes → UTF-8 when every byte belongs to a valid CP932 character; nothing otherwise.
std::optional<std::string> fromCp932Exactly(std::string_view cp932);
// True when the bytes are well-formed UTF-8 and hold at least one character beyond ASCII: a text
// file saved as UTF-8 rather than CP932.
bool isUtf8Text(std::string_view bytes);
// The text of a file that other tools write in either encoding: UTF-8 (with or without its byte
// order mark) when it is UTF-8 text, else CP932.
std::string fromCp932OrUtf8(std::string_view bytes);
// At most `characters` characters of a UTF-8 text, cut at a character boundary, with "…" added
// when something was cut: for messages that quote a line of a file, however long it is.
std::string excerpt(std::string_view utf8, std::size_t characters = 80);
// The text a fixed-width field Str[width] holds after assignment: unencodable characters replaced
// by "〓", then cut to at most `width` CP932 bytes at the last whole character. UTF-8 in and out.
std::string fitToWidth(std::string_view utf8, int width);
// CP932 bytes cut to at most `width` bytes at the last whole character; a lead byte left dangling
// at the end (half a character) is dropped too.
std::string_view cutCp932(std::string_view cp932, int width);
// Number of CP932 bytes of a UTF-8 text.
int cp932Length(std::string_view utf8);

} // namespace kerbina
