#include <cstdio>
#include <string>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "cli/vergleichslauf.h"
#include "engine/aufgabenermittlung.h"
#include "support/pfad.h"

namespace tarvendo::cli {

namespace {

// Writes a task node's subtree in task-tree order: sub-directories first,
// each followed by its own subtree, then the files. relativ is the node's path
// below the base, "" at the root; it is extended in place and restored.
void schreibe_aufgaben(std::FILE* aus, const Pfadklasse& knoten, std::string& relativ) {
    const std::size_t länge = relativ.size();
    for (const Pfadklasse& p : knoten.pfade) {
        hänge_an(relativ, p.pfadname);
        if (p.aufgabe != aufgabe_keine) {
            std::fputc('0' + p.aufgabe, aus);
            std::fputc(' ', aus);
            schreibe_name(aus, relativ);
            std::fputs("/\n", aus);
        }
        schreibe_aufgaben(aus, p, relativ);
        relativ.resize(länge);
    }
    for (const Dateiklasse& d : knoten.dateien) {
        std::fputc('0' + d.aufgabe, aus);
        std::fputc(' ', aus);
        schreibe_name(aus, relativ);
        std::fputc('/', aus);
        schreibe_name(aus, d.Name);
        std::fputc('\n', aus);
    }
}

}  // namespace

int vergleichen(const char* quelle, const char* ziel) {
    Vergleichslauf lauf;
    if (const auto status = lauf.los(quelle, ziel)) return *status;

    static char puffer[1 << 16];
    std::setvbuf(stdout, puffer, _IOFBF, sizeof puffer);
    std::string relativ;
    if (lauf.stand.aufgabenbaum->aufgabe != aufgabe_keine)  // the base's own rights
        std::fprintf(stdout, "%d /\n", lauf.stand.aufgabenbaum->aufgabe);
    schreibe_aufgaben(stdout, *lauf.stand.aufgabenbaum, relativ);
    schreibe(stdout, summentext(lauf.zustand.anzahl_kopieren, lauf.zustand.anzahl_löschen));
    schreibe(stdout, "\n");
    const bool geschrieben = std::fflush(stdout) == 0 && !std::ferror(stdout);

    if (!geschrieben) {
        std::perror("tarvendo-cli: Standardausgabe");
        return 1;
    }
    return lauf.unvollständig() ? 1 : 0;
}

}  // namespace tarvendo::cli
