#include "base/text_codec.h"

#include "base/cp932_iconv.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kerbina {
namespace {

using platform::convertCp932Prefix;
using platform::Cp932Direction;

constexpr std::string_view kGetaCp932 = "\x81\xAC"; // 〓
constexpr std::string_view kGetaUtf8 = "\xE3\x80\x93";
constexpr std::array<char, 0x80> kAllBytes = [] {
    std::array<char, 0x80> bytes{};
    for (std::size_t b = 0; b < bytes.size(); ++b) {
        bytes[b] = static_cast<char>(b);
    }
    return bytes;
}();

std::uint8_t byteAt(std::string_view text, std::size_t index) {
    return static_cast<std::uint8_t>(text[index]);
}

bool isLeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(std::uint8_t b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isContinuation(std::uint8_t b) {
    return (b & 0xC0) == 0x80;
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
    while (length < expected && length < text.size() && isContinuation(byteAt(text, length))) {
        ++length;
    }
    return length;
}

// 4 when `text` starts with a well-formed UTF-8 sequence of a character beyond the Basic
// Multilingual Plane, else 0.
std::size_t supplementaryLength(std::string_view text) {
    if (text.size() < 4 || !isContinuation(byteAt(text, 2)) || !isContinuation(byteAt(text, 3))) {
        return 0;
    }
    const std::uint8_t lead = byteAt(text, 0);
    const std::uint8_t second = byteAt(text, 1);
    const bool wellFormed = (lead == 0xF0 && second >= 0x90 && second <= 0xBF) ||
                            (lead >= 0xF1 && lead <= 0xF3 && isContinuation(second)) ||
                            (lead == 0xF4 && second >= 0x80 && second <= 0x8F);
    return wellFormed ? 4 : 0;
}

// Length of the CP932 sequence at the start of `text` that could not be decoded: a lead byte with
// a proper trail byte is one (unassigned) character, anything else one stray byte.
std::size_t cp932SequenceLength(std::string_view text) {
    if (text.size() >= 2 && isLeadByte(byteAt(text, 0)) && isTrailByte(byteAt(text, 1))) {
        return 2;
    }
    return 1;
}

// Collects the output in a small buffer and hands it to the string in pieces: appending to a
// std::string byte by byte costs a capacity check, and often a call, for every byte.
class Sink {
public:
    explicit Sink(std::string& out) : out_(out) {}
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    void put(std::string_view bytes) {
        if (bytes.size() > buffer_.size() - used_) {
            putBeyondBuffer(bytes);
            return;
        }
        std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    // One character of a table: all its N bytes are copied at once (a copy of fixed size costs
    // a move or two), and the first `length` of them kept.
    template <std::size_t N> void put(const std::array<char, N>& bytes, std::size_t length) {
        if (buffer_.size() - used_ < N) {
            flush();
        }
        std::memcpy(buffer_.data() + used_, bytes.data(), N);
        used_ += length;
    }
    // The string with everything put so far, for appending to it directly.
    std::string& flushed() {
        flush();
        return out_;
    }

private:
    void flush() {
        out_.append(buffer_.data(), used_);
        used_ = 0;
    }

    void putBeyondBuffer(std::string_view bytes) {
        flush();
        if (bytes.size() > buffer_.size()) {
            out_.append(bytes);
        } else {
            std::memcpy(buffer_.data(), bytes.data(), bytes.size());
            used_ = bytes.size();
        }
    }

    std::string& out_;
    std::array<char, 512> buffer_;
    std::size_t used_ = 0;
};

// What one character converts to: up to Capacity bytes, or nothing at all (length -1) when the
// converter refuses it.
template <std::size_t Capacity> struct Converted {
    std::int8_t length = -1;
    std::array<char, Capacity> bytes{};

    bool convertible() const { return length >= 0; }
    std::string_view view() const { return {bytes.data(), static_cast<std::size_t>(length)}; }
    void putTo(Sink& out) const { out.put(bytes, static_cast<std::size_t>(length)); }
};

// Asks the system converter about one character alone. Consuming all of `input` is success; a
// converter that stops earlier leaves the entry refused.
template <std::size_t Capacity>
Converted<Capacity> askConverter(Cp932Direction direction, std::string_view input) {
    std::string output;
    Converted<Capacity> result;
    if (convertCp932Prefix(direction, input, output) == input.size()) {
        if (output.size() > Capacity) {
            throw std::logic_error("CP932 conversion table: a character converts to " +
                                   std::to_string(output.size()) + " bytes");
        }
        result.length = static_cast<std::int8_t>(output.size());
        output.copy(result.bytes.data(), output.size());
    }
    return result;
}

std::string utf8Of(char32_t codePoint) {
    std::string text;
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return text;
}

// The conversion tables, filled once by asking the system converter about every character, so
// that the tables say exactly what it says (its one-way mappings such as U+00A5 → 0x5C
// included) at the cost of a table look-up per character. CP932 characters are one or two bytes
// and all lie in the Basic Multilingual Plane; the rare text beyond that plane, and broken UTF-8,
// still go to the converter itself.
class Cp932Tables {
public:
    Cp932Tables() {
        for (std::size_t b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            single_[b] = askConverter<3>(Cp932Direction::ToUtf8, std::string_view(&byte, 1));
            if (single_[b].convertible()) {
                continue;
            }
            // A byte that is no character on its own: a lead byte, or garbage in any company.
            for (std::size_t second = 0; second < 256; ++second) {
                const char pair[2] = {byte, static_cast<char>(second)};
                double_[b * 256 + second] =
                    askConverter<3>(Cp932Direction::ToUtf8, std::string_view(pair, 2));
            }
        }
        for (char32_t codePoint = 0; codePoint < 0x10000; ++codePoint) {
            if (codePoint < 0xD800 || codePoint > 0xDFFF) {
                encode_[codePoint] = askConverter<2>(Cp932Direction::FromUtf8, utf8Of(codePoint));
            }
        }
        for (char32_t codePoint = 0; codePoint < 0x10000; ++codePoint) {
            keepsWhole_[codePoint] = comesBackWhole(codePoint);
        }
        for (std::size_t b = 0; b < 0x80; ++b) {
            const std::string_view itself(&kAllBytes[b], 1);
            decodesToItself_.bytes[b] = single_[b].convertible() && single_[b].view() == itself;
            encodesToItself_.bytes[b] = encode_[b].convertible() && encode_[b].view() == itself;
        }
        for (std::size_t b = 0; b < 0x80; ++b) {
            roundTripsItself_.bytes[b] = decodesToItself_.bytes[b] && encodesToItself_.bytes[b];
        }
        for (Unchanged* unchanged : {&decodesToItself_, &encodesToItself_, &roundTripsItself_}) {
            unchanged->allAscii = std::all_of(unchanged->bytes.begin(), unchanged->bytes.end(),
                                              [](bool itself) { return itself; });
        }
    }

    // Appends the UTF-8 of what starts `cp932`: a run of bytes that stand for themselves (the
    // digits, separators and ASCII letters of record fields and file lines) in one piece, else
    // one character. Returns the bytes it took, 0 when they are not a character.
    std::size_t decode(std::string_view cp932, Sink& out) const {
        if (const std::size_t unchanged = unchangedRun(cp932, decodesToItself_); unchanged > 0) {
            out.put(cp932.substr(0, unchanged));
            return unchanged;
        }
        const std::uint8_t first = byteAt(cp932, 0);
        if (single_[first].convertible()) {
            single_[first].putTo(out);
            return 1;
        }
        if (cp932.size() >= 2) {
            const auto& pair = double_[first * 256u + byteAt(cp932, 1)];
            if (pair.convertible()) {
                pair.putTo(out);
                return 2;
            }
        }
        return 0;
    }

    // Appends the CP932 of what starts `utf8`: a run of bytes that stand for themselves in one
    // piece, else one well-formed UTF-8 character of the Basic Multilingual Plane. Returns the
    // bytes it took, 0 when they are no such character or CP932 cannot hold it.
    std::size_t encode(std::string_view utf8, Sink& out) const {
        if (const std::size_t unchanged = unchangedRun(utf8, encodesToItself_); unchanged > 0) {
            out.put(utf8.substr(0, unchanged));
            return unchanged;
        }
        const auto [codePoint, length] = characterAt(utf8);
        if (length == 0 || !encode_[codePoint].convertible()) {
            return 0;
        }
        encode_[codePoint].putTo(out);
        return length;
    }

    // True when fitting `utf8` to `width` CP932 bytes changes nothing: every character comes
    // back from CP932 as it went in, as the whole character the cut takes it for, and all of
    // them fit.
    bool fitsUnchanged(std::string_view utf8, std::size_t width) const {
        std::size_t bytes = 0;
        while (!utf8.empty() && bytes <= width) {
            const std::size_t unchanged = unchangedRun(utf8, roundTripsItself_);
            bytes += unchanged;
            utf8.remove_prefix(unchanged);
            if (utf8.empty()) {
                break;
            }
            const auto [codePoint, length] = characterAt(utf8);
            if (length == 0 || !keepsWhole_[codePoint]) {
                return false;
            }
            bytes += static_cast<std::size_t>(encode_[codePoint].length);
            utf8.remove_prefix(length);
        }
        return bytes <= width;
    }

private:
    // The well-formed UTF-8 character of the Basic Multilingual Plane at the start of `utf8` and
    // its length in bytes; length 0 when there is none.
    static std::pair<char32_t, std::size_t> characterAt(std::string_view utf8) {
        const std::uint8_t lead = byteAt(utf8, 0);
        if (lead < 0x80) {
            return {lead, 1};
        }
        if (lead >= 0xC2 && lead <= 0xDF && utf8.size() >= 2 && isContinuation(byteAt(utf8, 1))) {
            return {(lead & 0x1Fu) << 6 | (byteAt(utf8, 1) & 0x3Fu), 2};
        }
        if (lead >= 0xE0 && lead <= 0xEF && utf8.size() >= 3 && isContinuation(byteAt(utf8, 1)) &&
            isContinuation(byteAt(utf8, 2))) {
            const char32_t codePoint =
                (lead & 0x0Fu) << 12 | (byteAt(utf8, 1) & 0x3Fu) << 6 | (byteAt(utf8, 2) & 0x3Fu);
            // Overlong forms and surrogates are broken UTF-8, not characters.
            if (codePoint >= 0x800 && (codePoint < 0xD800 || codePoint > 0xDFFF)) {
                return {codePoint, 3};
            }
        }
        return {0, 0};
    }

    // The CP932 of the character decodes to the character again, and cutCp932 steps over its
    // bytes as one character.
    bool comesBackWhole(char32_t codePoint) const {
        const Converted<2>& encoded = encode_[codePoint];
        if (encoded.length < 1) {
            return false;
        }
        const auto first = static_cast<std::uint8_t>(encoded.bytes[0]);
        const std::string utf8 = utf8Of(codePoint);
        if (encoded.length == 1) {
            return !isLeadByte(first) && single_[first].convertible() &&
                   single_[first].view() == utf8;
        }
        const auto& pair = double_[first * 256u + static_cast<std::uint8_t>(encoded.bytes[1])];
        return isLeadByte(first) && !single_[first].convertible() && pair.convertible() &&
               pair.view() == utf8;
    }

    // The bytes that a direction leaves as they are, and whether that is all of ASCII.
    struct Unchanged {
        std::array<bool, 0x80> bytes{};
        bool allAscii = false;
    };

    static std::size_t unchangedRun(std::string_view text, const Unchanged& unchanged) {
        std::size_t length = 0;
        // Eight bytes at a time while they are all ASCII, when ASCII stands for itself (as it
        // does in CP932).
        if (unchanged.allAscii) {
            for (std::uint64_t word = 0; length + sizeof word <= text.size();
                 length += sizeof word) {
                std::memcpy(&word, text.data() + length, sizeof word);
                if ((word & 0x8080808080808080u) != 0) {
                    break;
                }
            }
        }
        while (length < text.size() && byteAt(text, length) < 0x80 &&
               unchanged.bytes[byteAt(text, length)]) {
            ++length;
        }
        return length;
    }

    std::array<Converted<3>, 256> single_;
    std::array<Converted<3>, 256 * 256> double_;
    std::array<Converted<2>, 0x10000> encode_;
    Unchanged decodesToItself_;
    Unchanged encodesToItself_;
    Unchanged roundTripsItself_;
    std::vector<bool> keepsWhole_ = std::vector<bool>(0x10000); // by code point
};

const Cp932Tables& tables() {
    static const std::unique_ptr<const Cp932Tables> instance = std::make_unique<Cp932Tables>();
    return *instance;
}

// The UTF-8 of `cp932`, appended to `result`. False when some bytes were no CP932 character (each
// such sequence became "〓"), or, when `exactly` is set, as soon as the first one is met.
bool appendUtf8(std::string_view cp932, std::string& result, bool exactly = false) {
    const Cp932Tables& table = tables();
    Sink out(result);
    bool valid = true;
    while (!cp932.empty()) {
        if (const std::size_t taken = table.decode(cp932, out); taken > 0) {
            cp932.remove_prefix(taken);
        } else {
            valid = false;
            if (exactly) {
                break;
            }
            out.put(kGetaUtf8);
            cp932.remove_prefix(cp932SequenceLength(cp932));
        }
    }
    out.flushed();
    return valid;
}

// Length of the well-formed UTF-8 character at the start of `text` (overlong forms, surrogates
// and code points beyond U+10FFFF are not), 0 when there is none.
std::size_t wellFormedUtf8Length(std::string_view text) {
    const std::uint8_t lead = byteAt(text, 0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byteAt(text, 1) < low || byteAt(text, 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(byteAt(text, i))) {
            return 0;
        }
    }
    return length;
}

// The CP932 of the many short texts of records and fields goes through this buffer, kept per
// thread, instead of a new string each time.
std::string& scratchBuffer() {
    thread_local std::string buffer;
    buffer.clear();
    return buffer;
}

} // namespace

void appendCp932(std::string_view utf8, std::string& result) {
    const Cp932Tables& table = tables();
    Sink out(result);
    while (!utf8.empty()) {
        if (const std::size_t taken = table.encode(utf8, out); taken > 0) {
            utf8.remove_prefix(taken);
            continue;
        }
        // Beyond the tables: a character outside the Basic Multilingual Plane goes to the
        // converter alone; broken UTF-8 goes with the rest of the text, so that the converter
        // judges it exactly as it always has. What it refuses becomes one "〓" for the whole
        // sequence.
        const std::size_t outside = supplementaryLength(utf8);
        const std::string_view piece = outside > 0 ? utf8.substr(0, outside) : utf8;
        const std::size_t taken =
            convertCp932Prefix(Cp932Direction::FromUtf8, piece, out.flushed());
        utf8.remove_prefix(taken);
        if (taken < piece.size()) {
            out.put(kGetaCp932);
            utf8.remove_prefix(utf8SequenceLength(utf8));
        }
    }
    out.flushed();
}

std::string toCp932(std::string_view utf8) {
    std::string result;
    result.reserve(utf8.size());
    appendCp932(utf8, result);
    return result;
}

std::string fromCp932(std::string_view cp932) {
    std::string result;
    result.reserve(cp932.size() * 3 / 2);
    appendUtf8(cp932, result);
    return result;
}

std::optional<std::string> fromCp932Exactly(std::string_view cp932) {
    std::string result;
    result.reserve(cp932.size() * 3 / 2);
    if (!appendUtf8(cp932, result, true)) {
        return std::nullopt;
    }
    return result;
}

bool isUtf8Text(std::string_view bytes) {
    bool beyondAscii = false;
    while (!bytes.empty()) {
        const std::size_t length = wellFormedUtf8Length(bytes);
        if (length == 0) {
            return false;
        }
        beyondAscii = beyondAscii || length > 1;
        bytes.remove_prefix(length);
    }
    return beyondAscii;
}

std::string fromCp932OrUtf8(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return isUtf8Text(bytes) ? std::string(bytes) : fromCp932(bytes);
}

std::string excerpt(std::string_view utf8, std::size_t characters) {
    std::size_t end = 0;
    for (std::size_t count = 0; end < utf8.size() && count < characters; ++count) {
        end += utf8SequenceLength(utf8.substr(end));
    }
    if (end >= utf8.size()) {
        return std::string(utf8);
    }
    return std::string(utf8.substr(0, end)) + "…";
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
    // Most texts already fit, as they were cut when they were assigned.
    if (tables().fitsUnchanged(utf8, static_cast<std::size_t>(std::max(width, 0)))) {
        return std::string(utf8);
    }
    std::string& cp932 = scratchBuffer();
    appendCp932(utf8, cp932);
    const std::string_view fitted = cutCp932(cp932, width);
    std::string result;
    result.reserve(fitted.size() * 3 / 2);
    appendUtf8(fitted, result);
    return result;
}

int cp932Length(std::string_view utf8) {
    std::string& cp932 = scratchBuffer();
    appendCp932(utf8, cp932);
    return static_cast<int>(cp932.size());
}

} // namespace kerbina
