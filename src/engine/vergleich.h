#pragma once
// The compare command without its widgets: checks the two directories, reads
// both trees and determines the tasks. The window and tarvendo-cli share it.

#include <cstdint>
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
    // What of both trees could not be read completely.
    std::vector<std::string> nicht_gelesen;
    // Target directories on another file system: nothing below is deleted.
    std::vector<std::string> grenzen;
    // Source directories and links not entered, and special files not backed up.
    std::vector<std::string> übergangen;
    std::vector<std::string> sonderdateien;
    // The source's entry that the target's version folder keeps from being copied.
    std::string reserviert;
    // For the guard against mass deletion.
    std::int32_t ziel_dateien = 0;
    bool quelle_leer = false;
};

// The message that forbids a compare run with these directories, if any. A
// source inside the target (or the same directory under another name) is
// refused: the run would delete it. Containment is decided by device and
// inode, so links, "." and ".." and bind mounts cannot hide it.
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
// The notice after a completed run: unreadable directories, mount points in
// the target, directories and links not entered and special files in the
// source, and a source entry named like the version folder; none when there
// was nothing of the kind.
[[nodiscard]] std::optional<std::string> vergleichshinweis(const Vergleichsstand& stand);

// Whether innen is außen or lies below it (device and inode of the real
// directories, walking up through ".."); false when either cannot be read.
[[nodiscard]] bool liegt_in(const std::string& innen, const std::string& außen);

}  // namespace tarvendo
