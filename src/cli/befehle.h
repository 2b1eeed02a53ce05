#pragma once
// The commands of tarvendo-cli; each returns the process exit status.

#include "engine/dateioperationen.h"

namespace tarvendo::cli {

int vergleichen(const char* quelle, const char* ziel);
// Refuses a run that would delete most of the target (exit status 3) unless
// löschen_erlauben is set.
int synchronisieren(const char* quelle, const char* ziel, bool löschen_erlauben,
                    Dateioperationen& ops);

}  // namespace tarvendo::cli
