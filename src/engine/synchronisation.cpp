#include "engine/synchronisation.h"

#include <ctime>

#include "engine/aufgabensumme.h"
#include "engine/laufsperre.h"
#include "engine/versionsablage.h"
#include "engine/zielmedium.h"
#include "engine/zielsperre.h"

namespace tarvendo {

Synchronisationsbericht synchronisiere(const Pfadklasse& aufgabenbaum, const std::string& quelle,
                                       const std::string& ziel, Aufgabenausführung::Dienste dienste,
                                       int versionen_tage) {
    Synchronisationsbericht bericht;
    Programmzustand& zustand = dienste.zustand;
    const Laufsperre sperre(zustand);
    if (!sperre) {
        bericht.abgewiesen = true;
        return bericht;
    }
    const Zielsperre zielsperre(dienste.ops, ziel);
    if (!zielsperre) {
        bericht.ziel_belegt = true;
        return bericht;
    }
    zustand.abbruch = false;
    zustand.anzahl_kopieren = 0;
    zustand.anzahl_löschen = 0;
    zustand.summe_gesamt = 0;
    zustand.summe_erledigt = 0;
    erstelle_aufgabensumme(aufgabenbaum, zustand);

    Anzeigen& a = dienste.anzeigen;
    a.Arbeitsschritt.text("Aufgaben durchführen");
    a.Arbeitsinfo.Reset();
    a.Arbeitsinfo.setze_maxwert(1000);
    a.Arbeitsverzeichnis.text("");
    a.Arbeitsdatei.text("");
    a.Arbeitsdatei.mit_prozentzahl(true);

    Versionsablage ablage(dienste.ops, ziel, versionen_tage, std::time(nullptr));
    ablage.bereite_vor();
    Aufgabenausführung ausführung(dienste, quelle, ziel);
    ausführung.setze_zieleigenschaften(prüfe_ziel(dienste.ops, ziel));
    ausführung.setze_versionsablage(&ablage);
    bericht.gesichert = ausführung.führe_aus(aufgabenbaum);
    bericht.versionsordner = ablage.ordnerpfad();
    bericht.versionshinweis = ablage.hinweis();
    bericht.fehler = ausführung.anzahl_fehler();
    bericht.abgebrochen = zustand.abbruch;

    a.Arbeitsschritt.text("");
    a.Arbeitsinfo.Reset();
    a.Arbeitsinfo.text("");
    a.Arbeitsverzeichnis.text("");
    a.Arbeitsdatei.mit_prozentzahl(false);
    a.Arbeitsdatei.text("");
    return bericht;
}

}  // namespace tarvendo
