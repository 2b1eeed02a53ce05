#include <clocale>
#include <cstdio>
#include <string>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "cli/vergleichslauf.h"
#include "engine/aufgabenermittlung.h"
#include "engine/dateioperationen.h"
#include "engine/massenloeschung.h"
#include "engine/platzpruefung.h"
#include "engine/synchronisation.h"
#include "engine/systemfehlertext.h"
#include "engine/zielsperre.h"
#include "support/stopwatch.h"

namespace tarvendo::cli {

int synchronisieren(const char* quelle, const char* ziel, bool löschen_erlauben,
                    Dateioperationen& ops, int versionen_tage, bool ohne_platzprüfung) {
    // The system's error texts in the user's language and character set.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    Vergleichslauf lauf;
    if (const auto status = lauf.los(quelle, ziel)) return *status;
    Programmzustand& zustand = lauf.zustand;
    if (const auto warnung = massenlöschung(lauf.stand, zustand.anzahl_löschen, versionen_tage);
        warnung && !löschen_erlauben) {
        schreibe(stderr, *warnung + "\nMit --löschen-erlauben wird trotzdem synchronisiert.\n");
        return 3;
    }
    if (const auto platz = ermittle_platz(*lauf.stand.aufgabenbaum, ziel, versionen_tage);
        platz && !ohne_platzprüfung)
        if (const auto warnung = platzwarnung(*platz)) {
            schreibe(stderr,
                     *warnung + "\nMit --ohne-platzprüfung wird trotzdem synchronisiert.\n");
            return 4;
        }

    // Every task is ticked, as the comparison left them.
    StderrRückfrage rückfrage;
    OhneErledigtbaum erledigt;
    CStopWatch stoppuhr;
    const Synchronisationsbericht bericht = synchronisiere(
        *lauf.stand.aufgabenbaum, quelle, ziel,
        {lauf.anzeigen.alle, lauf.schleife, rückfrage, erledigt, zustand, ops, stoppuhr},
        versionen_tage);
    if (bericht.ziel_belegt) {
        schreibe(stderr, ziel_belegt_text(ziel) + "\n");
        return 2;
    }
    if (!bericht.versionshinweis.empty()) schreibe(stderr, bericht.versionshinweis + "\n");
    if (!bericht.gesichert) {
        schreibe(stderr, std::string("Zielverzeichnis \n") + ziel +
                             "\nkonnte nicht auf den Datenträger geschrieben werden\n\n" +
                             systemfehlertext(bericht.gesichert.fehlercode()) + "\n");
    }

    // The summary stays the last line.
    if (!bericht.versionsordner.empty())
        schreibe(stdout, "Versionen und Protokoll: " + bericht.versionsordner + "\n");
    schreibe(stdout, summentext(zustand.anzahl_kopieren, zustand.anzahl_löschen));
    schreibe(stdout, "\n");
    const bool ausgegeben = std::fflush(stdout) == 0 && !std::ferror(stdout);

    if (bericht.abgebrochen) {
        schreibe(stderr, "Aufgaben durchführen abgebrochen\n");
        return abbruchstatus();
    }
    if (!ausgegeben) std::perror("tarvendo-cli: Standardausgabe");
    const bool vollständig = bericht.fehler == 0 && bericht.gesichert && !lauf.unvollständig();
    return (vollständig && ausgegeben) ? 0 : 1;
}

}  // namespace tarvendo::cli
