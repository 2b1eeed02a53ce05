#pragma once

#include <cstdint>
#include <string>

namespace tarvendo {

// The text for an errno value: German for the errors a backup commonly meets,
// whatever the locale; for others the system's text in the language of the
// user's locale (as far as the host has adopted it with setlocale), as UTF-8
// where the locale's character set is UTF-8. A code without a text of its own yields
// "Unbekannter Fehler: &H" and the code in upper-case hexadecimal; a negative
// code shows the eight digits of its two's complement.
[[nodiscard]] std::string systemfehlertext(std::int32_t code);

}  // namespace tarvendo
