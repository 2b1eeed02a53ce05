#pragma once
// Only one command runs at a time. While a command yields to the host, a
// click may try to start another; that one is refused here, so it cannot
// drop the trees the running command walks.

#include "engine/schnittstellen.h"

namespace tarvendo {

class Laufsperre {
public:
    explicit Laufsperre(Programmzustand& zustand) : zustand_(zustand), erhalten_(!zustand.läuft) {
        zustand_.läuft = true;
    }
    ~Laufsperre() {
        if (erhalten_) zustand_.läuft = false;
    }
    Laufsperre(const Laufsperre&) = delete;
    Laufsperre& operator=(const Laufsperre&) = delete;

    // false: another command holds the lock; do nothing.
    explicit operator bool() const noexcept { return erhalten_; }

private:
    Programmzustand& zustand_;
    bool erhalten_;
};

}  // namespace tarvendo
