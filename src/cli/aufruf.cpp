#include "cli/aufruf.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace tarvendo::cli {

namespace {

std::optional<int> tage(std::string_view text) {
    int wert = -1;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
    if (fehler != std::errc() || ende != text.data() + text.size() || wert < 0 || wert > 36500)
        return std::nullopt;
    return wert;
}

}  // namespace

std::optional<Aufruf> lies_aufruf(int argc, const char* const* argv) {
    Aufruf aufruf;
    std::vector<std::string_view> wörter;
    bool optionen = true;
    bool falsch = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view wort = argv[i];
        if (!optionen || wort.size() < 2 || wort[0] != '-') {
            wörter.push_back(wort);
        } else if (wort == "--") {
            optionen = false;
        } else if (wort == "--help" || wort == "--version") {
            aufruf.befehl = wort == "--help" ? Aufruf::Befehl::hilfe : Aufruf::Befehl::version;
            return aufruf;
        } else if (wort == "--löschen-erlauben") {
            aufruf.löschen_erlauben = true;
        } else if (wort == "--ohne-platzprüfung") {
            aufruf.ohne_platzprüfung = true;
        } else if (wort == "--versionen-tage" && i + 1 < argc) {
            aufruf.versionen_tage = tage(argv[++i]);
            falsch |= !aufruf.versionen_tage;
        } else if (wort.starts_with("--versionen-tage=")) {
            aufruf.versionen_tage = tage(wort.substr(wort.find('=') + 1));
            falsch |= !aufruf.versionen_tage;
        } else {
            falsch = true;
        }
    }
    if (falsch || wörter.empty()) return std::nullopt;
    const bool nur_synchronisieren =
        aufruf.löschen_erlauben || aufruf.ohne_platzprüfung || aufruf.versionen_tage;
    if (wörter[0] == "rückgängig" && wörter.size() == 2 && !nur_synchronisieren) {
        aufruf.befehl = Aufruf::Befehl::rückgängig;
        aufruf.ziel = wörter[1];
        return aufruf;
    }
    if (wörter.size() != 3) return std::nullopt;
    if (wörter[0] == "synchronisieren")
        aufruf.befehl = Aufruf::Befehl::synchronisieren;
    else if (wörter[0] == "vergleichen" && !nur_synchronisieren)
        aufruf.befehl = Aufruf::Befehl::vergleichen;
    else
        return std::nullopt;
    aufruf.quelle = wörter[1];
    aufruf.ziel = wörter[2];
    return aufruf;
}

}  // namespace tarvendo::cli
