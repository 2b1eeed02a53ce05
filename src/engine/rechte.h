#pragma once
// Permission bits, owner and group in the backup: what the target keeps,
// when a matched entry differs from the source, and bringing it in line.

#include <string>

#include "engine/dateiklasse.h"
#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"

namespace tarvendo {

// What the target keeps of the rights its entries are given (prüfe_ziel).
struct Rechtepflege {
    bool bits = true;         // permission bits
    bool eigentümer = false;  // owner and group: only root gives them
};

// Whether the target's rights differ from what a copy of the source would
// get there: the source's bits, without setuid where the owner, without
// setgid where the group is not carried, without either for a file reached
// through a link; as root its owner and group as well.
[[nodiscard]] bool rechte_weichen_ab(const Rechte& quelle, const Rechte& ziel,
                                     const Rechtepflege& pflege, bool über_verknüpfung);

// Gives the plain file name in the directory verzeichnis the rights a copy
// of a source with quelle would get, without touching its data. What is no
// longer a plain file is left to the next comparison.
[[nodiscard]] Ausgang gleiche_rechte_an(Dateioperationen& ops, int verzeichnis,
                                        const std::string& name, const Rechte& quelle,
                                        bool als_root, bool über_verknüpfung);

}  // namespace tarvendo
