#include "base/cp932_iconv.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace kerbina::platform {
namespace {

// Opening a converter loads a gconv module, far too slow to do per text; each thread keeps one
// converter per direction for its whole life.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("文字コード変換を開始できませんでした: ") + from +
                                     " → " + to);
        }
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

iconv_t converterFor(Cp932Direction direction) {
    // "CP932", never "SHIFT_JIS": plain Shift-JIS lacks ～, －, ㎡, ㌧ and the other Windows
    // extensions our users type every day.
    if (direction == Cp932Direction::FromUtf8) {
        thread_local IconvHandle toCp932("CP932", "UTF-8");
        return toCp932.get();
    }
    thread_local IconvHandle toUtf8("UTF-8", "CP932");
    return toUtf8.get();
}

} // namespace

std::size_t convertCp932Prefix(Cp932Direction direction, std::string_view input,
                               std::string& output) {
    iconv_t cd = converterFor(direction);
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // a previous stop may have left a state behind

    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::array<char, 4096> buffer;
    while (inLeft > 0) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break; // EILSEQ or EINVAL: the caller replaces the sequence and goes on
        }
    }
    return input.size() - inLeft;
}

} // namespace kerbina::platform
