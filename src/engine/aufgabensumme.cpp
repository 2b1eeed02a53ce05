#include "engine/aufgabensumme.h"

namespace tarvendo {

void erstelle_aufgabensumme(const Pfadklasse& pfad, Programmzustand& zustand) {
    if (!pfad.checked) return;
    for (const Pfadklasse& unter : pfad.pfade) erstelle_aufgabensumme(unter, zustand);
    for (const Dateiklasse& datei : pfad.dateien) {
        if (!datei.checked) continue;
        if (datei.aufgabe == aufgabe_kopieren) {
            ++zustand.anzahl_kopieren;
            zustand.summe_gesamt += datei.größe;
        } else if (datei.aufgabe == aufgabe_löschen) {
            ++zustand.anzahl_löschen;
            zustand.summe_gesamt += 1;
        }
    }
}

}  // namespace tarvendo
