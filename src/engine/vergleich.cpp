#include "engine/vergleich.h"

#include "engine/aufgabenermittlung.h"
#include "engine/laufsperre.h"
#include "engine/verzeichnisscan.h"

namespace tarvendo {

namespace {

void leere(Anzeigen& anzeigen) {
    anzeigen.Arbeitsverzeichnis.text("");
    anzeigen.Arbeitsdatei.text("");
    anzeigen.Arbeitsinfo.text("");
}

void schritt(Anzeigen& anzeigen, std::string_view text) {
    anzeigen.Arbeitsschritt.text(text);
    leere(anzeigen);
}

}  // namespace

std::optional<std::string_view> prüfe_verzeichnisse(std::string_view quelle,
                                                    std::string_view ziel) {
    if (quelle.empty()) return "Quellverzeichnis nicht festgelegt";
    if (ziel.empty()) return "Zielverzeichnis nicht festgelegt";
    if (quelle == ziel) return "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein";
    return std::nullopt;
}

bool vergleiche(Vergleichsstand& stand, const std::string& quelle, const std::string& ziel,
                Anzeigen& anzeigen, Ereignisschleife& schleife, Programmzustand& zustand,
                Verzeichnisquelle& dateisystem) {
    const Laufsperre sperre(zustand);
    if (!sperre) return false;
    zustand.abbruch = false;
    zustand.anzahl_kopieren = 0;
    zustand.anzahl_löschen = 0;

    schritt(anzeigen, "Speicher freigeben");
    stand.aufgabenbaum.reset();
    stand.zielbaum.reset();
    stand.quellbaum.reset();
    stand.nicht_gelesen.clear();
    stand.abgebrochen = false;
    stand.quellbaum = std::make_unique<Pfadklasse>(quelle);
    stand.zielbaum = std::make_unique<Pfadklasse>(ziel);
    stand.aufgabenbaum = std::make_unique<Pfadklasse>("");

    Verzeichnisscan scan(anzeigen, schleife, zustand, dateisystem);
    const auto lies = [&](std::string_view text, const std::string& pfad, Pfadklasse& wurzel) {
        if (zustand.abbruch) return;
        scan.anzahl_verzeichnisse = 0;
        scan.anzahl_dateien = 0;
        schritt(anzeigen, text);
        scan.verzeichnis_auslesen(pfad, wurzel);
        schleife.ereignisse_verarbeiten();
    };
    lies("Quellverzeichnisstruktur auslesen", quelle, *stand.quellbaum);
    lies("Zielverzeichnisstruktur auslesen", ziel, *stand.zielbaum);

    if (!zustand.abbruch) {
        schritt(anzeigen, "Aufgaben ermitteln");
        Aufgabenermittlung ermittlung(anzeigen, schleife, zustand);
        (void)ermittlung.aufgaben_ermitteln(*stand.quellbaum, *stand.zielbaum, *stand.aufgabenbaum);
    }

    anzeigen.Arbeitsschritt.text("");
    leere(anzeigen);
    stand.nicht_gelesen = std::move(scan.nicht_gelesen);
    stand.abgebrochen = zustand.abbruch;
    if (stand.abgebrochen) return true;

    stand.aufgabenbaum->setze_pfadchecked(true);
    anzeigen.Arbeitsinfo.text(summentext(zustand.anzahl_kopieren, zustand.anzahl_löschen));
    return true;
}

std::string nicht_gelesen_hinweis(const std::vector<std::string>& pfade) {
    constexpr std::size_t höchstens = 10;
    std::string text = "Folgende Verzeichnisse konnten nicht gelesen werden:";
    for (std::size_t i = 0; i < pfade.size() && i < höchstens; ++i) text += "\n" + pfade[i];
    if (pfade.size() > höchstens)
        text += "\n… und " + std::to_string(pfade.size() - höchstens) + " weitere";
    text += "\n\nDarunter wird im Zielverzeichnis nichts gelöscht.";
    return text;
}

}  // namespace tarvendo
