#pragma once
// Reads a directory tree from disk into a path tree.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/pfadklasse.h"
#include "engine/schnittstellen.h"
#include "engine/verzeichnisquelle.h"

namespace tarvendo {

// Days since 1899-12-30 00:00, the time of day as fraction, for a local
// time given as whole seconds since 1970-01-01 00:00.
[[nodiscard]] double datum_aus_sekunden(std::int64_t lokale_sekunden);
// The offset of local time from UTC in force now, in seconds.
[[nodiscard]] std::int64_t utc_versatz_jetzt();

class Verzeichnisscan {
public:
    // The offset of local time from UTC is taken once, here: both scans of
    // a comparison must use the same, or a daylight-saving switch between
    // them would mark every file changed.
    Verzeichnisscan(Anzeigen& anzeigen, Ereignisschleife& schleife, const Programmzustand& zustand,
                    Verzeichnisquelle& quelle);

    // Fills knoten (existing and empty) with the tree below pfad. Progress
    // goes to Arbeitsverzeichnis and Arbeitsinfo. A directory that cannot be
    // listed, lies deeper than größte_tiefe or (in the target) on its own
    // path stays an empty node marked nicht_gelesen, its path added to
    // nicht_gelesen.
    // Stops after the entry at hand once abbruch is set.
    //
    // The source (ziel false) is read through links, each directory once:
    // a directory link that leads to the start, one of its ancestors, a
    // directory inside the tree or one read already is not followed, and
    // neither is a directory of the kernel's (proc, sysfs, ...); such a name
    // is listed in übergangen. An entry that cannot be read there (a dangling
    // link, a FIFO, socket or device) is recorded as ungelesen in its
    // directory, so that nothing of its name is deleted; special files are
    // listed in sonderdateien. Files reached through a link carry
    // attr_über_verknüpfung.
    // The target (ziel true) is read without following any link below pfad:
    // a link is a file record of its own (attr_verknüpfung), so are FIFOs,
    // sockets and devices (attr_sonderdatei), and a directory on another file
    // system is marked geschützt and listed in grenzen.
    void verzeichnis_auslesen(const std::string& pfad, Pfadklasse& knoten, bool ziel = false);

    // "<Verzeichnisse> Verzeichnisse / <Dateien> Dateien"
    [[nodiscard]] std::string fortschrittstext() const;

    // Deeper directories are not read: the walk holds a descriptor per level.
    static constexpr std::size_t größte_tiefe = 1000;

    // Reset by the caller before each scan.
    std::int32_t anzahl_verzeichnisse = 0;
    std::int32_t anzahl_dateien = 0;
    // Paths of what could not be read, in the order met.
    std::vector<std::string> nicht_gelesen;
    // Target directories on another file system.
    std::vector<std::string> grenzen;
    // Source directories and directory links not entered (see above).
    std::vector<std::string> übergangen;
    // FIFOs, sockets and devices in the source.
    std::vector<std::string> sonderdateien;
    // The source's entry at its base named like the target's version
    // folder, which is not copied; empty when there is none.
    std::string reserviert;
    // A directory left out of the tree wherever it is met: the target when
    // it lies inside the source, so that a backup never holds itself.
    std::optional<Verzeichniskennung> ausgenommen;

private:
    using Geöffnet = Ergebnis<std::unique_ptr<Verzeichnisliste>>;

    void lies_verzeichnis(const std::string& pfad, Pfadklasse& knoten, Geöffnet geöffnet);
    void lies_einträge(Verzeichnisliste& liste, const std::string& pfad, Pfadklasse& knoten);
    void unterverzeichnis(Verzeichnisliste& liste, const std::string& name, const std::string& pfad,
                          Pfadklasse& knoten, bool durch_link);
    // Whether a directory reached through a link must not be entered.
    [[nodiscard]] bool übergehen(Verzeichnisliste& verzeichnis, bool durch_link);
    // Whether the directory is the start, an ancestor of it or lies below it.
    [[nodiscard]] bool führt_zurück(Verzeichnisliste& verzeichnis);
    void nicht_lesbar(Verzeichnisliste& liste, std::string name, int fehler,
                      const std::string& pfad, Pfadklasse& knoten);
    void datei(std::string name, const Eintragsdaten& daten, Pfadklasse& knoten);
    void markiere(const std::string& pfad, Pfadklasse& knoten);
    void zeige_fortschritt_und_warte();

    Anzeigen& anzeigen_;
    Ereignisschleife& schleife_;
    const Programmzustand& zustand_;
    Verzeichnisquelle& quelle_;
    std::int64_t versatz_ = 0;
    bool ziel_ = false;
    // Directories from the start directory down to the one being read.
    std::vector<Verzeichniskennung> weg_;
    // Every source directory read in this scan: one entry per directory,
    // however many ways lead to it.
    std::unordered_set<Verzeichniskennung, Verzeichniskennung::Hash> gelesen_;
    // The start directory and its ancestors, the start first.
    std::vector<Verzeichniskennung> anfang_;
    // The directory being read was reached through a link.
    bool über_verknüpfung_ = false;
};

}  // namespace tarvendo
