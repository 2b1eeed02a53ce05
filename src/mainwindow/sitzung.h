#pragma once
// What start-up takes from the settings store and the file system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvendo {

// Major and minor number of this build, e.g. "1.0".
[[nodiscard]] std::string_view programmversion();

// Stores this build's version; a different stored one (or none) removes the
// paths of the last session, which may not suit this version.
void prüfe_version();

// True when pfad names a directory (following links); false when it does
// not or cannot be asked.
[[nodiscard]] bool ist_verzeichnis(const std::string& pfad);

// A stored number as a whole number, halves to even; none for a text that
// is not a number, so that the caller falls back to its default.
[[nodiscard]] std::optional<std::int32_t> als_ganzzahl(std::string_view text);

}  // namespace tarvendo
