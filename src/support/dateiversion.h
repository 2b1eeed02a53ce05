#pragma once
// The version of an installed shared library, read from its real file name.

#include <string>

namespace tarvendo {

// Resolves symbolic links and reads the version from the real name of a
// regular file: "libX.so.A.B.C" gives "A.B.C.0". The numbers after the last
// ".so." become four numbers joined by ".", missing ones padded with 0, each
// written without leading zeros. A single number counts too ("libc.so.6"
// gives "6.0.0.0"). Anything else gives "NV": a missing or unreadable file, a
// name without ".so." followed by numbers, an empty or non-numeric part, a
// part above 65535 or more than four parts.
[[nodiscard]] std::string gib_dateiversion(const std::string& pfad);

}  // namespace tarvendo
