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

    // Checks both paths and compares the trees; unreadable directories are
    // reported on standard error. Returns the exit status when the command
    // must end here: 2 for a path the checks refuse, 130 after Ctrl-C.
    [[nodiscard]] std::optional<int> los(const char* quelle, const char* ziel);
};

}  // namespace tarvendo::cli
