#pragma once
// Taking back the last run that has not been taken back: what it created
// goes, what it replaced or deleted comes back from its version folder, then
// the folder goes. Refused, with nothing changed, when a file the run put in
// place was changed since: taking the run back would lose that change.

#include <optional>
#include <string>
#include <vector>

#include "engine/dateioperationen.h"

namespace tarvendo {

struct Laufübersicht {
    std::string name;  // of the version folder: the run's start in UTC
    int erstellt = 0;  // new files put in place
    int ersetzt = 0;   // files replaced by a new copy
    int gelöscht = 0;
    int verzeichnisse = 0;  // directories made
};

// The run that rücknehmen would take back; none when there is none.
[[nodiscard]] std::optional<Laufübersicht> letzter_lauf(Dateioperationen& ops,
                                                        const std::string& zielbasis);
// "Lauf vom 07.12.2026 20:05:33: 3 Dateien erstellt, …"
[[nodiscard]] std::string laufbeschreibung(const Laufübersicht& lauf);

struct Rücknahme {
    enum class Art { zurückgenommen, kein_lauf, verweigert, unvollständig, fehler };
    Art art = Art::kein_lauf;
    std::string text;  // what to tell the user, German
};

// The caller holds the target's run lock.
[[nodiscard]] Rücknahme nimm_zurück(Dateioperationen& ops, const std::string& zielbasis);

}  // namespace tarvendo
