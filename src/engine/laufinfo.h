#pragma once
// What the overall display tells during a run: how many files of how many
// are done and, once the run has gone on for a while, the time it still needs.

#include <chrono>
#include <cstdint>
#include <string>

#include "engine/schnittstellen.h"

namespace tarvendo {

// "3 von 9 Dateien", after a few seconds followed by ", noch etwa 2 min":
// the time so far scaled by the work still to do (anteil: the part of the
// work done, 0 to 1).
[[nodiscard]] std::string laufinfotext(std::int64_t erledigt, std::int64_t gesamt, double sekunden,
                                       double anteil);

class Laufinfo {
public:
    Laufinfo(Statusanzeige& info, const Programmzustand& zustand);
    // One more file task is done or failed; the text follows at most ten
    // times a second, since laying it out costs more than a small file.
    void datei_erledigt();

private:
    using Uhr = std::chrono::steady_clock;
    Statusanzeige& info_;
    const Programmzustand& zustand_;
    Uhr::time_point beginn_ = Uhr::now();
    Uhr::time_point gezeigt_{};
    std::int64_t erledigt_ = 0;
};

}  // namespace tarvendo
