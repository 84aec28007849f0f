#pragma once

namespace kerbina {

// Whether `value` lies in the closed range low..high, both ends included (kind ranges such as
// 51..56, item numbers of a range).
template <typename Value>
constexpr bool between(const Value& value, const Value& low, const Value& high) {
    return !(value < low) && !(high < value);
}

} // namespace kerbina
