#include "cli/vergleichslauf.h"

#include <cstdio>

namespace tarvendo::cli {

std::optional<int> Vergleichslauf::los(const char* quelle, const char* ziel) {
    if (const auto meldung = prüfe_verzeichnisse(quelle, ziel)) {
        schreibe(stderr, *meldung);
        schreibe(stderr, "\n");
        return 2;
    }
    fange_unterbrechung();
    PosixVerzeichnisquelle dateisystem;
    (void)vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem);
    if (stand.abgebrochen) {
        schreibe(stderr, "Aufgaben ermitteln abgebrochen\n");
        return 130;
    }
    if (!stand.nicht_gelesen.empty()) {
        schreibe(stderr, nicht_gelesen_hinweis(stand.nicht_gelesen));
        schreibe(stderr, "\n");
    }
    return std::nullopt;
}

}  // namespace tarvendo::cli
