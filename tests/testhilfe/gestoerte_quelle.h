#pragma once
// The real file system with failures injected where a test asks for them, and
// every listing sorted by name so that orders are fixed.

#include <functional>
#include <map>
#include <string>

#include "engine/verzeichnisquelle.h"

namespace tarvendo::test {

class GestörteQuelle final : public Verzeichnisquelle {
public:
    struct Lesefehler {
        std::size_t nach = 0;  // entries delivered first, "." and ".." (sorted first) included
        int fehler = 0;
    };

    // Paths are as the scan builds them: the start path, then "/" + name per level.
    std::map<std::string, int> öffnen_scheitert;        // errno when opening
    std::map<std::string, Lesefehler> lesen_scheitert;  // errno part-way through the listing
    std::map<std::string, int> daten_scheitern;         // errno for both stats of an entry
    // Called with a sub-directory's path just before it is opened.
    std::function<void(const std::string&)> vor_dem_öffnen;

    Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(const std::string& pfad) override;

private:
    PosixVerzeichnisquelle echt_;
};

}  // namespace tarvendo::test
