#pragma once
// The compare command without its widgets: checks the two directories, reads
// both trees and determines the tasks. The window and tarvendo-cli share it.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pfadklasse.h"
#include "engine/schnittstellen.h"
#include "engine/verzeichnisquelle.h"

namespace tarvendo {

// The trees of the last compare run and what it met.
struct Vergleichsstand {
    std::unique_ptr<Pfadklasse> quellbaum;
    std::unique_ptr<Pfadklasse> zielbaum;  // only the target-only entries remain
    std::unique_ptr<Pfadklasse> aufgabenbaum;
    bool abgebrochen = false;
    // Directories of both trees that could not be read completely.
    std::vector<std::string> nicht_gelesen;
};

// The message that forbids a compare run with these directories, if any.
[[nodiscard]] std::optional<std::string_view> prüfe_verzeichnisse(std::string_view quelle,
                                                                  std::string_view ziel);

// Drops the previous trees in stand, scans quelle and ziel and determines the
// tasks, all ticked, unless abbruch is set on the way. Resets abbruch and the
// two counts of zustand first. Displays: the step on Arbeitsschritt, the
// progress of scan and comparison on the others; at the end all four are
// empty, or Arbeitsinfo shows the summary of a completed run. The caller has
// checked the directories with prüfe_verzeichnisse. Returns false, and does
// nothing, while another command holds zustand.läuft.
bool vergleiche(Vergleichsstand& stand, const std::string& quelle, const std::string& ziel,
                Anzeigen& anzeigen, Ereignisschleife& schleife, Programmzustand& zustand,
                Verzeichnisquelle& dateisystem);

// The notice after a run that met unreadable directories; lines joined with "\n".
[[nodiscard]] std::string nicht_gelesen_hinweis(const std::vector<std::string>& pfade);

}  // namespace tarvendo
