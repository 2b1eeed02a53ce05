#pragma once
// What the parts of the run share: the state of one directory of the walk.

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ausfuehrung.h"

namespace tarvendo {

inline constexpr int verzeichnis_flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
inline constexpr std::string_view andere_grenze =
    "Der Pfad führt in ein anderes Dateisystem; dort wird nichts gelöscht.";

// A path below the base as the displays show it: without its leading "/".
inline std::string ohne_erstes(std::string_view s) {
    return s.empty() ? std::string() : std::string(s.substr(1));
}

// One directory of the walk with its descriptors on both sides. Every call
// works relative to the parent's descriptor, so a path is looked up once
// and a link on the way is seen; only the top level goes by full path.
struct Aufgabenausführung::Ebene {
    Ebene* eltern = nullptr;
    std::string relativ;   // the path below the base: "" for the base, then "/a", "/a/b"
    std::string ziel_ort;  // the name in the parent, or the full path at the top
    std::string quell_ort;
    Dateigriff ziel;
    std::shared_ptr<Dateigriff> stapelgriff;  // ziel for the copies that wait
    int ziel_fehler = 0;                      // why ziel is not open
    std::uint64_t gerät = 0;                  // of ziel
    struct stat zielstatus {};                // of ziel when it was opened
    bool rechte_vermerkt = false;             // its rights before the run are in the record
    bool erstellt = false;                    // the run created the target directory
    bool geschützt = false;  // on another file system than the base: delete nothing
    Erledigtbaum::Knoten knoten = Erledigtbaum::kein_knoten;
    // File deletions done early, to make room for a directory of the same name.
    std::vector<const Dateiklasse*> vorgezogen;
    Dateigriff quelle;
    int quell_fehler = 0;
    bool quelle_versucht = false;
    struct stat quellstatus {};
    bool quellstatus_versucht = false;
    bool quellstatus_da = false;

    [[nodiscard]] int eltern_fd() const { return eltern ? eltern->ziel.fd() : AT_FDCWD; }
    // Why nothing can be done in the parent; 0 when it is open.
    [[nodiscard]] int eltern_fehler() const { return eltern ? eltern->ziel_status() : 0; }
    [[nodiscard]] int ziel_status() const {
        if (ziel.offen()) return 0;
        return ziel_fehler != 0 ? ziel_fehler : EBADF;
    }
};

}  // namespace tarvendo
