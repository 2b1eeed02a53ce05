#pragma once
// The commands of tarvendo-cli; each returns the process exit status.

#include "engine/dateioperationen.h"
#include "engine/versionsordner.h"

namespace tarvendo::cli {

int vergleichen(const char* quelle, const char* ziel);
// Refuses a run that would delete most of the target (exit status 3) unless
// löschen_erlauben is set, and one for which the target has too little room
// (exit status 4) unless ohne_platzprüfung is set.
int synchronisieren(const char* quelle, const char* ziel, bool löschen_erlauben,
                    Dateioperationen& ops, int versionen_tage = standard_versionen_tage,
                    bool ohne_platzprüfung = false);
// Takes back the target's last run: exit status 0, 2 when refused because
// a file it made was changed since or another run holds the target, 1 when there was none or not
// all of it could be taken back.
int rückgängig(const char* ziel, Dateioperationen& ops);

}  // namespace tarvendo::cli
