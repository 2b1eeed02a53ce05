#pragma once
// The command-line tool's side of the engine's interfaces.

#include <csignal>
#include <cstdio>
#include <string_view>

#include "engine/schnittstellen.h"

namespace tarvendo::cli {

// Progress goes nowhere: standard output carries the result.
class StilleAnzeige final : public Statusanzeige {
public:
    void text(std::string_view) override {}
    void textpfad(std::string_view) override {}
    void setze_maxwert(std::int32_t) override {}
    void setze_aktwert(std::int32_t) override {}
    void erhöhe_aktwert(std::int32_t) override {}
    void Reset() override {}
    void mit_prozentzahl(bool) override {}
    void setze_ausrichtung(std::int32_t) override {}
};

// A signal only raises a flag; the engine sees it at its next yield, as a
// click on "abbrechen" would reach it in the window.
class SignalSchleife final : public Ereignisschleife {
public:
    explicit SignalSchleife(Programmzustand& zustand);
    void ereignisse_verarbeiten() override;

private:
    Programmzustand& zustand_;
};

// Writes every failure message to standard error and goes on.
class StderrRückfrage final : public Rückfrage {
public:
    Antwort melde_fehler(std::string_view text, Knöpfe knöpfe) override;
};

// The command line keeps no record of a run.
class OhneErledigtbaum final : public Erledigtbaum {
public:
    Knoten füge_hinzu(Knoten, std::string_view) override { return ++letzter_; }
    void setze_bild(Knoten, Bild) override {}

private:
    Knoten letzter_ = kein_knoten;
};

// The host's four displays, all silent.
struct StilleAnzeigen {
    StilleAnzeige schritt, verzeichnis, datei, info;
    Anzeigen alle{schritt, verzeichnis, datei, info};
};

// Installs the handler for Ctrl-C (SIGINT), SIGTERM and SIGHUP, which all
// cancel the run; true once one of them arrived.
void fange_unterbrechung();
[[nodiscard]] bool unterbrochen();
// The exit status of a cancelled run: 128 + the signal's number.
[[nodiscard]] int abbruchstatus();

// Writes a text to standard output or standard error so that no file name
// in it can drive the terminal: control characters other than the line
// break, C1 controls, bytes that are no UTF-8 and the backslash itself
// appear as \xNN and \\.
void schreibe(std::FILE* ziel, std::string_view text);
// The same, with line breaks escaped as well: a name can never start a line
// of its own.
void schreibe_name(std::FILE* ziel, std::string_view name);

}  // namespace tarvendo::cli
