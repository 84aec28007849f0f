#include "money/typed_number.h"

#include "base/text.h"

#include <string>

namespace kerbina {

Currency parseTypedNumber(std::string_view text) {
    std::string number = asciiNumberText(text);
    std::erase(number, ',');
    return parseNumber(number);
}

} // namespace kerbina
