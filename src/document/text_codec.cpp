#include "document/text_codec.h"

#include "document/cp932_iconv.h"

#include <cstdint>

namespace kerbina {
namespace {

using platform::convertCp932Prefix;
using platform::Cp932Direction;

constexpr std::string_view kGetaCp932 = "\x81\xAC"; // 〓
constexpr std::string_view kGetaUtf8 = "\xE3\x80\x93";

std::uint8_t byteAt(std::string_view text, std::size_t index) {
    return static_cast<std::uint8_t>(text[index]);
}

bool isLeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(std::uint8_t b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Length of the UTF-8 sequence at the start of `text` as far as it is well formed (at least 1), so
// that one replacement stands for one character.
std::size_t utf8SequenceLength(std::string_view text) {
    const std::uint8_t lead = byteAt(text, 0);
    std::size_t expected = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        expected = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        expected = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        expected = 4;
    }
    std::size_t length = 1;
    while (length < expected && length < text.size() && (byteAt(text, length) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

// Length of the CP932 sequence at the start of `text` that could not be decoded: a lead byte with
// a proper trail byte is one (unassigned) character, anything else one stray byte.
std::size_t cp932SequenceLength(std::string_view text) {
    if (text.size() >= 2 && isLeadByte(byteAt(text, 0)) && isTrailByte(byteAt(text, 1))) {
        return 2;
    }
    return 1;
}

} // namespace

std::string toCp932(std::string_view utf8) {
    std::string result;
    result.reserve(utf8.size());
    while (!utf8.empty()) {
        utf8.remove_prefix(convertCp932Prefix(Cp932Direction::FromUtf8, utf8, result));
        if (utf8.empty()) {
            break;
        }
        result += kGetaCp932;
        utf8.remove_prefix(utf8SequenceLength(utf8));
    }
    return result;
}

std::string fromCp932(std::string_view cp932) {
    std::string result;
    result.reserve(cp932.size() * 3 / 2);
    while (!cp932.empty()) {
        cp932.remove_prefix(convertCp932Prefix(Cp932Direction::ToUtf8, cp932, result));
        if (cp932.empty()) {
            break;
        }
        result += kGetaUtf8;
        cp932.remove_prefix(cp932SequenceLength(cp932));
    }
    return result;
}

std::string_view cutCp932(std::string_view cp932, int width) {
    if (width <= 0) {
        return {};
    }
    std::size_t end = 0;
    while (end < cp932.size()) {
        const std::size_t step = isLeadByte(byteAt(cp932, end)) ? 2 : 1;
        if (end + step > cp932.size() || end + step > static_cast<std::size_t>(width)) {
            break;
        }
        end += step;
    }
    return cp932.substr(0, end);
}

std::string fitToWidth(std::string_view utf8, int width) {
    return fromCp932(cutCp932(toCp932(utf8), width));
}

int cp932Length(std::string_view utf8) {
    return static_cast<int>(toCp932(utf8).size());
}

} // namespace kerbina
