#include <clocale>
#include <cstdio>
#include <string>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "cli/vergleichslauf.h"
#include "engine/aufgabenermittlung.h"
#include "engine/aufgabensumme.h"
#include "engine/ausfuehrung.h"
#include "engine/dateioperationen.h"
#include "engine/systemfehlertext.h"
#include "support/stopwatch.h"

namespace tarvendo::cli {

int synchronisieren(const char* quelle, const char* ziel) {
    // The system's error texts in the user's language and character set.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    Vergleichslauf lauf;
    if (const auto status = lauf.los(quelle, ziel)) return *status;
    Programmzustand& zustand = lauf.zustand;
    Vergleichsstand& stand = lauf.stand;

    // Every task is ticked; the run's totals are summed as the window does.
    zustand.abbruch = false;
    zustand.anzahl_kopieren = 0;
    zustand.anzahl_löschen = 0;
    zustand.summe_gesamt = 0;
    zustand.summe_erledigt = 0;
    erstelle_aufgabensumme(*stand.aufgabenbaum, zustand);

    StderrRückfrage rückfrage;
    OhneErledigtbaum erledigt;
    PosixDateioperationen dateien;
    CStopWatch stoppuhr;
    Aufgabenausführung ausführung(
        {lauf.anzeigen.alle, lauf.schleife, rückfrage, erledigt, zustand, dateien, stoppuhr},
        quelle, ziel);
    const Status gesichert = ausführung.führe_aus(*stand.aufgabenbaum);
    if (!gesichert) {
        schreibe(stderr, std::string("Zielverzeichnis \n") + ziel +
                             "\nkonnte nicht auf den Datenträger geschrieben werden\n\n" +
                             systemfehlertext(gesichert.fehlercode()) + "\n");
    }

    schreibe(stdout, summentext(zustand.anzahl_kopieren, zustand.anzahl_löschen));
    schreibe(stdout, "\n");
    const bool ausgegeben = std::fflush(stdout) == 0 && !std::ferror(stdout);

    if (zustand.abbruch) {
        schreibe(stderr, "Aufgaben durchführen abgebrochen\n");
        return 130;
    }
    if (!ausgegeben) std::perror("tarvendo-cli: Standardausgabe");
    return (ausführung.anzahl_fehler() == 0 && gesichert && ausgegeben) ? 0 : 1;
}

}  // namespace tarvendo::cli
