#pragma once
// Why a pending task is there, in words: the tool tip and the description a
// screen reader gives of a node in the view of pending tasks.

#include <QString>

#include <string>

#include "engine/pfadklasse.h"

namespace tarvendo {

// A directory to create, remove or enter.
[[nodiscard]] QString verzeichnisgrund(const Pfadklasse& pfad);
// A file to copy or delete; zielpfad is where it is in the target. The
// target is looked at now, since the task keeps only the source's size
// and time.
[[nodiscard]] QString dateigrund(const Dateiklasse& datei, const Pfadklasse* eltern,
                                 const std::string& zielpfad);

}  // namespace tarvendo
