#pragma once
// Entry keys: names compared without regard to letter case, "ß" never equal to "ss".

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvendo {

// The key under which an entry is stored: the name with every "ß" replaced.
// The replacement is "/", which no file name can contain, so a key can never
// collide with the key of a different legal name.
[[nodiscard]] std::string gib_schlüssel(std::string_view name);

// Hash and equality of the keys of two names, without building the keys:
// Unicode simple case folding for valid UTF-8, exact comparison of bytes
// that are not valid UTF-8.
[[nodiscard]] std::uint32_t schlüssel_hash(std::string_view name) noexcept;
[[nodiscard]] bool schlüssel_gleich(std::string_view a, std::string_view b) noexcept;

}  // namespace tarvendo
