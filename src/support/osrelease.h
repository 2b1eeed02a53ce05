#pragma once
// Reads the distribution's identification file (os-release): shell-style
// KEY=value lines, values optionally quoted.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvendo {

// The value of the last assignment to schlüssel, unquoted and unescaped;
// none when the key is not assigned.
[[nodiscard]] std::optional<std::string> os_release_wert(std::string_view inhalt,
                                                         std::string_view schlüssel);

// PRETTY_NAME, else NAME, else "Linux" (the documented default).
[[nodiscard]] std::string systemname_aus_os_release(std::string_view inhalt);

// The name from the first of the files that can be read; "Linux" when none can.
[[nodiscard]] std::string systemname_aus_dateien(const std::vector<std::string>& dateien);

// Where the file lives, in the order to try.
[[nodiscard]] std::vector<std::string> os_release_orte();

}  // namespace tarvendo
