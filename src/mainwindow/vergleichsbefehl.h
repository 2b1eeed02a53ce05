#pragma once
// The compare command behind "vergleichen": checks both directories, reads
// them, determines the tasks and shows them ticked. While it runs its button
// reads "abbrechen", and a click there or a close request cancels it.

#include <functional>

#include "engine/schnittstellen.h"
#include "engine/vergleich.h"
#include "mainwindow/aufgabenansicht.h"
#include "mainwindow/fensterteile.h"
#include "mainwindow/meldung.h"

namespace tarvendo {

class Vergleichsbefehl {
public:
    struct Dienste : Befehlsumgebung {
        Aufgabenansicht& ansicht;
        Verzeichnisquelle* dateisystem = nullptr;  // nullptr: the real one
    };

    explicit Vergleichsbefehl(Dienste dienste) : d_(std::move(dienste)) {}

    void CompareButton_Click();

private:
    void sperre(bool gesperrt);

    Dienste d_;
};

}  // namespace tarvendo
