#pragma once
// What the command line asks for.

#include <optional>
#include <string>

namespace tarvendo::cli {

struct Aufruf {
    enum class Befehl { vergleichen, synchronisieren, rückgängig, hilfe, version };
    Befehl befehl = Befehl::hilfe;
    bool löschen_erlauben = false;
    bool ohne_platzprüfung = false;
    std::optional<int> versionen_tage;
    std::string quelle, ziel;  // rückgängig: only ziel
};

// Options may stand anywhere; "--" ends them, so that a path may begin with
// "-". "--help" and "--version" win over everything else. None when the line
// is not a valid call: an unknown option, a missing or surplus path, an
// option of synchronisieren with another command, or a number of days that
// is none ("--versionen-tage N" or "--versionen-tage=N", 0 to 36500).
[[nodiscard]] std::optional<Aufruf> lies_aufruf(int argc, const char* const* argv);

}  // namespace tarvendo::cli
