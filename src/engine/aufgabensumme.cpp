#include "engine/aufgabensumme.h"

namespace tarvendo {

std::int64_t arbeit_von(const Dateiklasse& datei) {
    return (datei.aufgabe == aufgabe_kopieren ? datei.größe : 0) + dateikosten;
}

std::int64_t arbeit_in(const Pfadklasse& pfad) {
    Programmzustand summe;
    erstelle_aufgabensumme(pfad, summe);
    return summe.summe_gesamt;
}

void erstelle_aufgabensumme(const Pfadklasse& pfad, Programmzustand& zustand) {
    if (!pfad.checked) return;
    for (const Pfadklasse& unter : pfad.pfade) erstelle_aufgabensumme(unter, zustand);
    for (const Dateiklasse& datei : pfad.dateien) {
        if (!datei.checked) continue;
        if (datei.aufgabe == aufgabe_kopieren) {
            ++zustand.anzahl_kopieren;
            zustand.summe_gesamt += arbeit_von(datei);
        } else if (datei.aufgabe == aufgabe_löschen) {
            ++zustand.anzahl_löschen;
            zustand.summe_gesamt += arbeit_von(datei);
        }
    }
}

}  // namespace tarvendo
