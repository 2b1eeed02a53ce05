#pragma once
// The commands of the menu "Versionen": taking back the target's last run,
// and how many days what a run deletes or replaces is kept.

#include <functional>
#include <optional>

#include "engine/dateioperationen.h"
#include "mainwindow/fensterteile.h"

namespace tarvendo {

// The days to keep versions, from the setting versionen_tage in section
// "Administration"; 30 when it is missing or no number of days.
[[nodiscard]] int versionen_tage();

class Versionsbefehle {
public:
    struct Dienste : Befehlsumgebung {
        Dateioperationen* ops = nullptr;  // nullptr: the real ones
        // Asks for the days, starting at the value given; none: cancelled.
        std::function<std::optional<int>(int)> frage_tage;
    };

    explicit Versionsbefehle(Dienste dienste) : d_(std::move(dienste)) {}

    // "Letzten Lauf rückgängig machen…": names the run, asks, takes it back.
    void MenüRückgängig_Click();
    // "Versionen aufbewahren…"
    void MenüVersionen_Click();

private:
    Dienste d_;
};

}  // namespace tarvendo
