#pragma once
// The comparison both commands start with, as the window runs it.

#include <optional>

#include "cli/konsole.h"
#include "engine/vergleich.h"
#include "engine/verzeichnisquelle.h"

namespace tarvendo::cli {

struct Vergleichslauf {
    Programmzustand zustand;
    StilleAnzeigen anzeigen;
    SignalSchleife schleife{zustand};
    Vergleichsstand stand;

    // Checks both paths and compares the trees; what could not be read is
    // reported on standard error. Returns the exit status when the command
    // must end here: 2 for a path the checks refuse or that is no
    // directory, 128 + the signal's number when cancelled.
    [[nodiscard]] std::optional<int> los(const char* quelle, const char* ziel);

    // Something could not be read: the backup is incomplete.
    [[nodiscard]] bool unvollständig() const { return !stand.nicht_gelesen.empty(); }
};

}  // namespace tarvendo::cli
