#include "cli/vergleichslauf.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

namespace tarvendo::cli {

std::optional<int> Vergleichslauf::los(const char* quelle, const char* ziel) {
    if (const auto meldung = prüfe_verzeichnisse(quelle, ziel)) {
        schreibe(stderr, *meldung);
        schreibe(stderr, "\n");
        return 2;
    }
    for (const auto& [pfad, was] :
         {std::pair{quelle, "Quellverzeichnis "}, {ziel, "Zielverzeichnis "}}) {
        struct stat st {};
        if (::stat(pfad, &st) != 0 || !S_ISDIR(st.st_mode)) {
            schreibe(stderr,
                     std::string(was) + pfad + " existiert nicht oder ist kein Verzeichnis\n");
            return 2;
        }
    }
    fange_unterbrechung();
    PosixVerzeichnisquelle dateisystem;
    (void)vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem);
    if (stand.abgebrochen) {
        schreibe(stderr, "Aufgaben ermitteln abgebrochen\n");
        return abbruchstatus();
    }
    if (const auto hinweis = vergleichshinweis(stand)) {
        schreibe(stderr, *hinweis);
        schreibe(stderr, "\n");
    }
    return std::nullopt;
}

}  // namespace tarvendo::cli
