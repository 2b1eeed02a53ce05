#pragma once
// The real file system with failures injected where a test asks for them,
// and (optionally) every listing sorted by name so that orders are fixed.

#include <map>
#include <string>
#include <vector>

#include "engine/verzeichnisquelle.h"

namespace tarvendo::test {

class GestörteQuelle final : public Verzeichnisquelle {
public:
    struct Lesefehler {
        int nach = 0;  // entries delivered before the failure ("." and ".." not counted)
        int fehler = 0;
    };

    // Paths are as the scan builds them: the start path, then "/" + name per level.
    std::map<std::string, int> öffnen_scheitert;        // errno when opening
    std::map<std::string, Lesefehler> lesen_scheitert;  // errno part-way through the listing
    std::map<std::string, int> daten_scheitern;         // errno for both stats of an entry
    bool sortiert = true;
    std::vector<std::string> geöffnet;  // every path opened successfully, in order

    Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(const std::string& pfad) override;

    // Used by the wrapped listings.
    Ergebnis<std::unique_ptr<Verzeichnisliste>> umhülle(
        const std::string& pfad, Ergebnis<std::unique_ptr<Verzeichnisliste>> innen);

private:
    PosixVerzeichnisquelle echt_;
};

}  // namespace tarvendo::test
