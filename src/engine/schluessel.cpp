#include "engine/schluessel.h"

#include <utf8proc.h>

namespace tarvendo {

namespace {

constexpr std::string_view eszett = "\xC3\x9F";
// Values past the Unicode range stand for bytes that are not valid UTF-8 and
// for the replaced "ß", so they never equal a folded character.
constexpr std::int32_t ungültiges_byte = 0x110000;
constexpr std::int32_t ersetztes_eszett = '/';

std::int32_t falte(std::int32_t zeichen) noexcept {
    utf8proc_int32_t ziel[4];
    int letzte_klasse = 0;
    const utf8proc_ssize_t n =
        utf8proc_decompose_char(zeichen, ziel, 4, UTF8PROC_CASEFOLD, &letzte_klasse);
    // A one-character folding is the simple folding; multi-character (full)
    // foldings are left to the lower-case mapping.
    if (n == 1) return ziel[0];
    return utf8proc_tolower(zeichen);
}

// Walks the folded characters of a key, one at a time.
class Faltung {
public:
    explicit Faltung(std::string_view name) noexcept : name_(name) {}

    // Returns false at the end.
    bool nächstes(std::int32_t& zeichen) noexcept {
        if (pos_ >= name_.size()) return false;
        const auto byte = static_cast<unsigned char>(name_[pos_]);
        if (byte < 0x80) {
            ++pos_;
            zeichen = (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte;
            return true;
        }
        utf8proc_int32_t cp = -1;
        const auto* start = reinterpret_cast<const utf8proc_uint8_t*>(name_.data() + pos_);
        const utf8proc_ssize_t länge =
            utf8proc_iterate(start, static_cast<utf8proc_ssize_t>(name_.size() - pos_), &cp);
        if (länge <= 0 || cp < 0) {
            ++pos_;
            zeichen = ungültiges_byte + byte;
            return true;
        }
        pos_ += static_cast<std::size_t>(länge);
        zeichen = (cp == 0xDF) ? ersetztes_eszett : falte(cp);
        return true;
    }

private:
    std::string_view name_;
    std::size_t pos_ = 0;
};

bool nur_ascii(std::string_view s) noexcept {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

constexpr char ascii_klein(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace

std::string gib_schlüssel(std::string_view name) {
    std::string schlüssel;
    schlüssel.reserve(name.size());
    std::size_t pos = 0;
    while (pos < name.size()) {
        const std::size_t fund = name.find(eszett, pos);
        if (fund == std::string_view::npos) {
            schlüssel.append(name.substr(pos));
            break;
        }
        schlüssel.append(name.substr(pos, fund - pos));
        schlüssel.push_back(static_cast<char>(ersetztes_eszett));
        pos = fund + eszett.size();
    }
    return schlüssel;
}

std::uint32_t schlüssel_hash(std::string_view name) noexcept {
    std::uint32_t h = 2166136261u;  // FNV-1a over the folded characters
    Faltung faltung(name);
    std::int32_t zeichen = 0;
    while (faltung.nächstes(zeichen)) {
        auto z = static_cast<std::uint32_t>(zeichen);
        for (int i = 0; i < 3; ++i) {
            h ^= z & 0xFFu;
            h *= 16777619u;
            z >>= 8;
        }
    }
    return h;
}

bool schlüssel_gleich(std::string_view a, std::string_view b) noexcept {
    if (nur_ascii(a) && nur_ascii(b)) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (ascii_klein(a[i]) != ascii_klein(b[i])) return false;
        return true;
    }
    Faltung fa(a), fb(b);
    std::int32_t za = 0, zb = 0;
    for (;;) {
        const bool weiter_a = fa.nächstes(za);
        const bool weiter_b = fb.nächstes(zb);
        if (weiter_a != weiter_b) return false;
        if (!weiter_a) return true;
        if (za != zb) return false;
    }
}

}  // namespace tarvendo
