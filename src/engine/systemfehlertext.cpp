#include "engine/systemfehlertext.h"

#include <cstdio>
#include <cstring>

namespace tarvendo {

std::string systemfehlertext(std::int32_t code) {
    // strerror_r makes up "Unknown error N" (translated) for codes it does not
    // know; strerrorname_np tells those apart, having no name for them.
    if (code == 0 || ::strerrorname_np(code) != nullptr) {
        char puffer[1024];
        const char* text = ::strerror_r(code, puffer, sizeof puffer);
        if (text && *text) return text;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X",
                  static_cast<unsigned int>(static_cast<std::uint32_t>(code)));
    return std::string("Unbekannter Fehler: &H") + hex;
}

}  // namespace tarvendo
