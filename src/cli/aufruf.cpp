#include "cli/aufruf.h"

#include <string_view>
#include <vector>

namespace tarvendo::cli {

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
        } else {
            falsch = true;
        }
    }
    if (falsch || wörter.size() != 3) return std::nullopt;
    if (wörter[0] == "synchronisieren")
        aufruf.befehl = Aufruf::Befehl::synchronisieren;
    else if (wörter[0] == "vergleichen" && !aufruf.löschen_erlauben)
        aufruf.befehl = Aufruf::Befehl::vergleichen;
    else
        return std::nullopt;
    aufruf.quelle = wörter[1];
    aufruf.ziel = wörter[2];
    return aufruf;
}

}  // namespace tarvendo::cli
