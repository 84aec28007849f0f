#pragma once

namespace kerbina {

// 128-bit integers hold exact products and quotients of two money values before they are
// brought back to 1/10000. This is the only place that names the compiler's 128-bit type; a
// Windows build with MSVC puts its own 128-bit type here.
__extension__ typedef __int128 WideInt;
__extension__ typedef unsigned __int128 UnsignedWideInt;

} // namespace kerbina
