#pragma once

#include <stdexcept>

namespace kerbina {

// The one base of the errors meant for the user: a damaged file, a number that is none, an
// amount too large, a database that cannot be used. The message is in the system's own words and
// says what went wrong and where; the window shows it as it stands. Anything else that reaches
// the window is a fault of the program itself.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kerbina
