#pragma once

#include <string_view>
#include <vector>

namespace kerbina::cli {

// "prices import FILE --group 1|10 --category NAME [--data-root DIR]" and
// "prices export --group 1|10 -o FILE.csv [--data-root DIR]" (the words after "prices"). The
// exit status.
int runPrices(const std::vector<std::string_view>& words, std::string_view usage);

} // namespace kerbina::cli
