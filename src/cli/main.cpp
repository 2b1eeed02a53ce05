// tarvendo-cli: the engine without a window, for scripts and benchmarks.

#include <cstdio>
#include <string_view>

#include "cli/befehle.h"

namespace {

constexpr std::string_view aufruf =
    "Aufruf:\n"
    "  tarvendo-cli vergleichen QUELLE ZIEL\n"
    "      Liest beide Verzeichnisbäume und gibt die Aufgaben aus, die ZIEL\n"
    "      gleich QUELLE machen: je Zeile 2 (kopieren) oder 3 (löschen) und\n"
    "      der Pfad unterhalb des Basisverzeichnisses, zuletzt die Summe.\n"
    "  tarvendo-cli synchronisieren QUELLE ZIEL\n"
    "      Vergleicht und führt alle Aufgaben aus.\n"
    "Exit-Status: 0 erfolgreich, 1 Aufgaben fehlgeschlagen, 2 falscher Aufruf,\n"
    "130 abgebrochen (Strg-C).\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4) {
        const std::string_view befehl = argv[1];
        if (befehl == "vergleichen") return tarvendo::cli::vergleichen(argv[2], argv[3]);
        if (befehl == "synchronisieren") return tarvendo::cli::synchronisieren(argv[2], argv[3]);
    }
    std::fwrite(aufruf.data(), 1, aufruf.size(), stderr);
    return 2;
}
