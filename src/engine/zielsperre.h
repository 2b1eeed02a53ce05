#pragma once
// One synchronisation per target at a time, across processes: a timer's run
// and a person's must not delete each other's temporary files. The lock is
// an flock on the target base, held as long as this object lives and let go
// by the kernel should the process die.

#include <string>

#include "engine/dateioperationen.h"

namespace tarvendo {

class Zielsperre {
public:
    // Takes the lock for zielbasis at once, never waiting. A medium that
    // cannot lock (some FUSE and network file systems) and a base that
    // cannot be opened are no refusal: the run goes on without the lock
    // and meets the base's error where it matters.
    Zielsperre(Dateioperationen& ops, const std::string& zielbasis);

    // false: another run holds the target.
    explicit operator bool() const noexcept { return !belegt_; }

private:
    Dateigriff griff_;
    bool belegt_ = false;
};

// The message for a refused run.
[[nodiscard]] std::string ziel_belegt_text(const std::string& zielbasis);

}  // namespace tarvendo
