#pragma once
// The commands of tarvendo-cli; each returns the process exit status.

namespace tarvendo::cli {

int vergleichen(const char* quelle, const char* ziel);
int synchronisieren(const char* quelle, const char* ziel);

}  // namespace tarvendo::cli
