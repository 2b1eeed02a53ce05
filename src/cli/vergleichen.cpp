#include <cstdio>
#include <string>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "engine/aufgabenermittlung.h"
#include "engine/vergleich.h"

namespace tarvendo::cli {

namespace {

// Writes a task node's subtree in task-tree order: sub-directories first,
// each followed by its own subtree, then the files. relativ is the node's path
// below the base, "" at the root; it is extended in place and restored.
void schreibe_aufgaben(std::FILE* aus, const Pfadklasse& knoten, std::string& relativ) {
    const std::size_t länge = relativ.size();
    for (const Pfadklasse& p : knoten.pfade) {
        relativ += '/';
        relativ += p.pfadname;
        if (p.aufgabe != aufgabe_keine) {
            std::fputc('0' + p.aufgabe, aus);
            std::fputc(' ', aus);
            schreibe(aus, relativ);
            std::fputs("/\n", aus);
        }
        schreibe_aufgaben(aus, p, relativ);
        relativ.resize(länge);
    }
    for (const Dateiklasse& d : knoten.dateien) {
        std::fputc('0' + d.aufgabe, aus);
        std::fputc(' ', aus);
        schreibe(aus, relativ);
        std::fputc('/', aus);
        schreibe(aus, d.Name);
        std::fputc('\n', aus);
    }
}

}  // namespace

int vergleichen(const char* quelle, const char* ziel) {
    if (const auto meldung = prüfe_verzeichnisse(quelle, ziel)) {
        schreibe(stderr, *meldung);
        schreibe(stderr, "\n");
        return 2;
    }
    fange_unterbrechung();

    Programmzustand zustand;
    StilleAnzeigen anzeigen;
    SignalSchleife schleife(zustand);
    PosixVerzeichnisquelle dateisystem;
    Vergleichsstand stand;
    vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem);

    if (stand.abgebrochen) {
        schreibe(stderr, "Aufgaben ermitteln abgebrochen\n");
        return 130;
    }

    static char puffer[1 << 16];
    std::setvbuf(stdout, puffer, _IOFBF, sizeof puffer);
    std::string relativ;
    schreibe_aufgaben(stdout, *stand.aufgabenbaum, relativ);
    schreibe(stdout, summentext(zustand.anzahl_kopieren, zustand.anzahl_löschen));
    schreibe(stdout, "\n");
    const bool geschrieben = std::fflush(stdout) == 0 && !std::ferror(stdout);

    if (!stand.nicht_gelesen.empty()) {
        schreibe(stderr, nicht_gelesen_hinweis(stand.nicht_gelesen));
        schreibe(stderr, "\n");
    }
    if (!geschrieben) {
        std::perror("tarvendo-cli: Standardausgabe");
        return 1;
    }
    return 0;
}

}  // namespace tarvendo::cli
