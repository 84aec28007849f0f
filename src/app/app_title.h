#pragma once

namespace kerbina {

// The application title, shown as every window caption and message-box caption.
inline constexpr const char* kApplicationTitle = "積算・見積ソフト「ケルビナ」";

} // namespace kerbina
