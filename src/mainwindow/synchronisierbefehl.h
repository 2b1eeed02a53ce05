#pragma once
// The synchronise command behind "synchronisieren": carries out the ticked
// tasks of the last comparison with progress on the four displays, asks
// about every failure and records the run in the done tree. While it runs its
// button reads "abbrechen", and a click there or a close request cancels it.

#include <functional>

#include "engine/dateioperationen.h"
#include "engine/schnittstellen.h"
#include "engine/vergleich.h"
#include "mainwindow/fensterteile.h"
#include "mainwindow/meldung.h"

namespace tarvendo {

class Synchronisierbefehl {
public:
    struct Dienste : Befehlsumgebung {
        Dateioperationen* ops = nullptr;  // nullptr: the real ones
    };

    explicit Synchronisierbefehl(Dienste dienste) : d_(std::move(dienste)) {}

    void SyncButton_Click();

private:
    void sperre(bool gesperrt);
    // Asks before a run that would empty most of the target; false: do nothing.
    [[nodiscard]] bool löschen_bestätigt();
    // Asks before a run whose copies the target has no room for.
    [[nodiscard]] bool platz_bestätigt();

    Dienste d_;
};

}  // namespace tarvendo
