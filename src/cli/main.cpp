// tarvendo-cli: the engine without a window, for scripts and benchmarks.

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/aufruf.h"
#include "cli/befehle.h"
#include "engine/dateigrenze.h"
#include "support/programmversion.h"

namespace {

constexpr std::string_view aufruf_text =
    "Aufruf:\n"
    "  tarvendo-cli vergleichen QUELLE ZIEL\n"
    "      Liest beide Verzeichnisbäume und gibt die Aufgaben aus, die ZIEL\n"
    "      gleich QUELLE machen: je Zeile 2 (kopieren), 3 (löschen) oder 4\n"
    "      (nur Rechte angleichen) und der Pfad unterhalb des\n"
    "      Basisverzeichnisses, zuletzt die Summe.\n"
    "      Steuerzeichen, Rückstrich und Bytes, die kein UTF-8 sind, stehen\n"
    "      in Namen als \\xNN und \\\\.\n"
    "  tarvendo-cli synchronisieren [--löschen-erlauben] [--versionen-tage N]\n"
    "                               [--ohne-platzprüfung] QUELLE ZIEL\n"
    "      Vergleicht und führt alle Aufgaben aus. Würde der Lauf mehr als die\n"
    "      Hälfte der Dateien in ZIEL löschen (ab 100), ist QUELLE leer oder\n"
    "      ein gelesenes Verzeichnis darin leer, dessen Gegenstück in ZIEL\n"
    "      mindestens 100 Dateien hat, bricht er ohne --löschen-erlauben\n"
    "      vorher ab. Was der Lauf löscht oder ersetzt, bleibt N Tage (ohne\n"
    "      Angabe 30, 0: nicht) als Version in ZIEL/.tarvendo/versionen.\n"
    "      Reicht der Platz in ZIEL nicht, bricht er ohne --ohne-platzprüfung\n"
    "      vorher ab.\n"
    "  tarvendo-cli rückgängig ZIEL\n"
    "      Macht den letzten Lauf nach ZIEL rückgängig, der noch nicht\n"
    "      rückgängig gemacht wurde.\n"
    "  tarvendo-cli --help | --version\n"
    "Optionen dürfen überall stehen; nach -- ist jedes Wort ein Pfad.\n"
    "Exit-Status: 0 erfolgreich, 1 Aufgaben fehlgeschlagen, nicht alles\n"
    "lesbar oder Ausgabe nicht geschrieben, 2 falscher Aufruf oder Rücknahme\n"
    "verweigert, 3 Massenlöschung verweigert, 4 zu wenig Platz, 128 + Signal\n"
    "abgebrochen (Strg-C: 130, SIGTERM: 143, SIGHUP: 129).\n";

// Writes text to standard output; exit status 1 when that failed.
int gib_aus(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    std::perror("tarvendo-cli: Standardausgabe");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using tarvendo::cli::Aufruf;
    tarvendo::erhöhe_dateigrenze();
    const auto aufruf = tarvendo::cli::lies_aufruf(argc, argv);
    if (!aufruf) {
        std::fwrite(aufruf_text.data(), 1, aufruf_text.size(), stderr);
        return 2;
    }
    switch (aufruf->befehl) {
        case Aufruf::Befehl::hilfe:
            return gib_aus(aufruf_text);
        case Aufruf::Befehl::version:
            return gib_aus("tarvendo-cli " + std::string(tarvendo::programm::version) + "\n");
        case Aufruf::Befehl::vergleichen:
            return tarvendo::cli::vergleichen(aufruf->quelle.c_str(), aufruf->ziel.c_str());
        case Aufruf::Befehl::synchronisieren:
        case Aufruf::Befehl::rückgängig:
            break;
    }
    tarvendo::PosixDateioperationen ops;
    if (aufruf->befehl == Aufruf::Befehl::rückgängig)
        return tarvendo::cli::rückgängig(aufruf->ziel.c_str(), ops);
    return tarvendo::cli::synchronisieren(
        aufruf->quelle.c_str(), aufruf->ziel.c_str(), aufruf->löschen_erlauben, ops,
        aufruf->versionen_tage.value_or(tarvendo::standard_versionen_tage),
        aufruf->ohne_platzprüfung);
}
