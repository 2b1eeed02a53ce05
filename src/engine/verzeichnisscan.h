#pragma once
// Reads a directory tree from disk into a path tree.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/pfadklasse.h"
#include "engine/schnittstellen.h"
#include "engine/verzeichnisquelle.h"

namespace tarvendo {

// Attribute bits as the model knows them.
inline constexpr std::uint32_t attr_schreibgeschützt = 1;
inline constexpr std::uint32_t attr_versteckt = 2;
inline constexpr std::uint32_t attr_verzeichnis = 16;

// Days since 1899-12-30 00:00, the time of day as fraction, for a local
// time given as whole seconds since 1970-01-01 00:00.
[[nodiscard]] double datum_aus_sekunden(std::int64_t lokale_sekunden);
// The offset of local time from UTC in force now, in seconds.
[[nodiscard]] std::int64_t utc_versatz_jetzt();

class Verzeichnisscan {
public:
    Verzeichnisscan(Anzeigen& anzeigen, Ereignisschleife& schleife, const Programmzustand& zustand,
                    Verzeichnisquelle& quelle);

    // Fills knoten (existing and empty) with the tree below pfad. Progress
    // goes to Arbeitsverzeichnis and Arbeitsinfo; a directory that cannot be
    // listed, or is not entered because it lies on its own path, stays an
    // empty node marked nicht_gelesen and its path is added to nicht_gelesen.
    // A directory reached through a symbolic link is marked ist_verknüpfung.
    // Stops after the entry at hand once abbruch is set.
    void verzeichnis_auslesen(const std::string& pfad, Pfadklasse& knoten);

    // "<Verzeichnisse> Verzeichnisse / <Dateien> Dateien"
    [[nodiscard]] std::string fortschrittstext() const;

    // Reset by the caller before each scan.
    std::int32_t anzahl_verzeichnisse = 0;
    std::int32_t anzahl_dateien = 0;
    // Paths of the directories marked nicht_gelesen, in the order met.
    std::vector<std::string> nicht_gelesen;

private:
    void betrete(const std::string& pfad, Pfadklasse& knoten, Verzeichnisliste* eltern,
                 const char* name);
    void lies_einträge(Verzeichnisliste& liste, const std::string& pfad, Pfadklasse& knoten);
    void unterverzeichnis(Verzeichnisliste& liste, const std::string& name, const std::string& pfad,
                          Pfadklasse& knoten, bool verknüpfung);
    [[nodiscard]] static bool ist_verknüpfung(Verzeichnisliste& liste, const std::string& name,
                                              Eintragsart art);
    void datei(std::string name, const Eintragsdaten& daten, Pfadklasse& knoten);
    void markiere(const std::string& pfad, Pfadklasse& knoten);
    void zeige_fortschritt_und_warte();

    Anzeigen& anzeigen_;
    Ereignisschleife& schleife_;
    const Programmzustand& zustand_;
    Verzeichnisquelle& quelle_;
    std::int64_t versatz_ = 0;
    // Directories from the start directory down to the one being read.
    std::vector<Verzeichniskennung> weg_;
};

}  // namespace tarvendo
