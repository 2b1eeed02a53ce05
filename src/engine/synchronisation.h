#pragma once
// The synchronise command without its widgets: sums the ticked work, prepares
// the displays, carries out the tasks and flushes the target. The window and
// tarvendo-cli share it, as they share the comparison.

#include <string>

#include "engine/ausfuehrung.h"
#include "engine/pfadklasse.h"
#include "engine/versionsordner.h"

namespace tarvendo {

struct Synchronisationsbericht {
    bool abgewiesen = false;       // another command was running: nothing happened
    bool ziel_belegt = false;      // another run holds the target: nothing happened
    bool abgebrochen = false;      // abbruch was set by the end of the run
    int fehler = 0;                // failure messages shown
    Ausgang gesichert = erfolg();  // the final flush of the target
    std::string versionsordner;    // of this run, when it changed something
    std::string versionshinweis;   // why no versions were kept, if that is so
};

// Resets abbruch and the totals of zustand, recounts them from the ticks of
// aufgabenbaum, sets the overall bar's scale to 1000 and runs the tasks.
// What the run deletes or replaces is kept in the target's version folder
// for versionen_tage days (0: not at all); older version folders go first.
// Afterwards all four displays are empty. The caller drops the task tree.
// Refused while zustand.läuft is set, so that a command started from inside
// a yield cannot pull the tree from under the running walk, and while another
// run (of this or another process) holds the target (Zielsperre).
[[nodiscard]] Synchronisationsbericht synchronisiere(const Pfadklasse& aufgabenbaum,
                                                     const std::string& quelle,
                                                     const std::string& ziel,
                                                     Aufgabenausführung::Dienste dienste,
                                                     int versionen_tage = standard_versionen_tage);

}  // namespace tarvendo
