#include "engine/laufprotokoll.h"

#include <array>
#include <charconv>

namespace tarvendo {

namespace {

constexpr std::array<std::string_view, 6> artnamen = {"gelöscht",    "ersetzt",   "erstellt",
                                                      "verzeichnis", "attribute", "umbenannt"};

std::vector<std::string_view> felder(std::string_view zeile) {
    std::vector<std::string_view> teile;
    for (;;) {
        const auto tab = zeile.find('\t');
        teile.push_back(zeile.substr(0, tab));
        if (tab == std::string_view::npos) return teile;
        zeile.remove_prefix(tab + 1);
    }
}

template <class Zahl>
bool lies_zahl(std::string_view text, Zahl& zahl) {
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), zahl);
    return fehler == std::errc() && ende == text.data() + text.size();
}

std::optional<Protokollzeile> lies_zeile(std::string_view zeile) {
    const auto teile = felder(zeile);
    Protokollzeile z;
    std::size_t art = 0;
    while (art < artnamen.size() && artnamen[art] != teile[0]) ++art;
    if (art == artnamen.size()) return std::nullopt;
    z.art = static_cast<Protokollart>(art);
    const std::size_t erwartet =
        z.art == Protokollart::erstellt                                        ? 5
        : z.art == Protokollart::umbenannt || z.art == Protokollart::attribute ? 3
                                                                               : 2;
    // A change of rights made as root keeps owner and group as well.
    z.mit_eigentümer = z.art == Protokollart::attribute && teile.size() == 5;
    if (teile.size() != erwartet && !z.mit_eigentümer) return std::nullopt;
    auto pfad = entmaskiere(teile[1]);
    if (!pfad || pfad->empty() || pfad->front() != '/') return std::nullopt;
    z.pfad = std::move(*pfad);
    if (z.art == Protokollart::umbenannt) {
        auto neu = entmaskiere(teile[2]);
        if (!neu || neu->empty() || neu->front() != '/') return std::nullopt;
        z.neu = std::move(*neu);
    } else if (z.art == Protokollart::attribute) {
        const auto [ende, fehler] =
            std::from_chars(teile[2].data(), teile[2].data() + teile[2].size(), z.modus, 8);
        if (fehler != std::errc() || ende != teile[2].data() + teile[2].size() || z.modus > 07777)
            return std::nullopt;
        if (z.mit_eigentümer &&
            (!lies_zahl(teile[3], z.benutzer) || !lies_zahl(teile[4], z.gruppe)))
            return std::nullopt;
    } else if (z.art == Protokollart::erstellt) {
        std::int64_t sekunden = 0;
        long nanosekunden = 0;
        if (!lies_zahl(teile[2], z.größe) || !lies_zahl(teile[3], sekunden) ||
            !lies_zahl(teile[4], nanosekunden))
            return std::nullopt;
        z.zeit.tv_sec = static_cast<std::time_t>(sekunden);
        z.zeit.tv_nsec = nanosekunden;
    }
    return z;
}

}  // namespace

std::string maskiere(std::string_view pfad) {
    static constexpr char ziffern[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(pfad.size());
    for (const char c : pfad) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (b < 0x20 || b == 0x7F) {
            text += "\\x";
            text += ziffern[b >> 4];
            text += ziffern[b & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> entmaskiere(std::string_view text) {
    std::string pfad;
    pfad.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            pfad += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            pfad += '\\';
            ++i;
            continue;
        }
        unsigned wert = 0;
        if (i + 4 > text.size() || text[i + 1] != 'x') return std::nullopt;
        const auto [ende, fehler] =
            std::from_chars(text.data() + i + 2, text.data() + i + 4, wert, 16);
        if (fehler != std::errc() || ende != text.data() + i + 4) return std::nullopt;
        pfad += static_cast<char>(wert);
        i += 3;
    }
    return pfad;
}

std::string protokollzeile(const Protokollzeile& zeile) {
    std::string text(artnamen[static_cast<std::size_t>(zeile.art)]);
    text += '\t';
    text += maskiere(zeile.pfad);
    if (zeile.art == Protokollart::umbenannt) {
        text += '\t';
        text += maskiere(zeile.neu);
    } else if (zeile.art == Protokollart::attribute) {
        char oktal[8];
        const auto [ende, fehler] = std::to_chars(oktal, oktal + sizeof oktal, zeile.modus, 8);
        (void)fehler;
        text += '\t';
        text.append(oktal, ende);
        if (zeile.mit_eigentümer)
            text += '\t' + std::to_string(zeile.benutzer) + '\t' + std::to_string(zeile.gruppe);
    } else if (zeile.art == Protokollart::erstellt) {
        text += '\t' + std::to_string(zeile.größe) + '\t' +
                std::to_string(static_cast<std::int64_t>(zeile.zeit.tv_sec)) + '\t' +
                std::to_string(zeile.zeit.tv_nsec);
    }
    text += '\n';
    return text;
}

std::vector<Protokollzeile> lies_protokoll(std::string_view inhalt) {
    std::vector<Protokollzeile> zeilen;
    for (;;) {
        const auto ende = inhalt.find('\n');
        if (ende == std::string_view::npos) return zeilen;  // a cut last line
        if (auto z = lies_zeile(inhalt.substr(0, ende))) zeilen.push_back(std::move(*z));
        inhalt.remove_prefix(ende + 1);
    }
}

}  // namespace tarvendo
