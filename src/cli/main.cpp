// tarvendo-cli: the engine without a window, for scripts and benchmarks.

#include <cstdio>
#include <string_view>

#include "cli/befehle.h"
#include "engine/dateigrenze.h"

namespace {

constexpr std::string_view aufruf =
    "Aufruf:\n"
    "  tarvendo-cli vergleichen QUELLE ZIEL\n"
    "      Liest beide Verzeichnisbäume und gibt die Aufgaben aus, die ZIEL\n"
    "      gleich QUELLE machen: je Zeile 2 (kopieren) oder 3 (löschen) und\n"
    "      der Pfad unterhalb des Basisverzeichnisses, zuletzt die Summe.\n"
    "  tarvendo-cli synchronisieren [--löschen-erlauben] QUELLE ZIEL\n"
    "      Vergleicht und führt alle Aufgaben aus. Würde der Lauf mehr als die\n"
    "      Hälfte der Dateien in ZIEL löschen (ab 100) oder ist QUELLE leer,\n"
    "      bricht er ohne --löschen-erlauben vorher ab.\n"
    "Exit-Status: 0 erfolgreich, 1 Aufgaben fehlgeschlagen oder nicht alles\n"
    "lesbar, 2 falscher Aufruf, 3 Massenlöschung verweigert, 128 + Signal\n"
    "abgebrochen (Strg-C: 130, SIGTERM: 143, SIGHUP: 129).\n";

}  // namespace

int main(int argc, char** argv) {
    tarvendo::erhöhe_dateigrenze();
    const std::string_view befehl = argc > 1 ? argv[1] : "";
    if (argc == 4 && befehl == "vergleichen") return tarvendo::cli::vergleichen(argv[2], argv[3]);
    const bool erlauben = argc == 5 && std::string_view(argv[2]) == "--löschen-erlauben";
    if (befehl == "synchronisieren" && (argc == 4 || erlauben)) {
        tarvendo::PosixDateioperationen ops;
        return tarvendo::cli::synchronisieren(argv[argc - 2], argv[argc - 1], erlauben, ops);
    }
    std::fwrite(aufruf.data(), 1, aufruf.size(), stderr);
    return 2;
}
