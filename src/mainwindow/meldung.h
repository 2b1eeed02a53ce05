#pragma once
// Every message box of the window goes through one seam, so tests can answer it.

#include <functional>
#include <string>

#include "engine/schnittstellen.h"

class QWidget;

namespace tarvendo {

enum class Symbol { Hinweis, Fehler, Ohne };  // exclamation, critical error, none

struct Meldung {
    std::string text;  // UTF-8, lines separated by "\n"
    Symbol symbol = Symbol::Hinweis;
    Knöpfe knöpfe = Knöpfe::OK;
    // Enter answers "Abbrechen": for questions whose OK cannot be undone.
    bool abbrechen_vorgewählt = false;
};

using Meldungsweg = std::function<Antwort(const Meldung&)>;

// A modal box titled "Tarvendo" over eltern.
Antwort zeige_meldungsbox(QWidget* eltern, const Meldung& meldung);

}  // namespace tarvendo
