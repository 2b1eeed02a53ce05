#pragma once
// What the command line asks for.

#include <optional>
#include <string>

namespace tarvendo::cli {

struct Aufruf {
    enum class Befehl { vergleichen, synchronisieren, hilfe, version };
    Befehl befehl = Befehl::hilfe;
    bool löschen_erlauben = false;
    std::string quelle, ziel;
};

// Options may stand anywhere; "--" ends them, so that a path may begin with
// "-". "--help" and "--version" win over everything else. None when the line
// is not a valid call: an unknown option, a missing or surplus path, or
// --löschen-erlauben with vergleichen.
[[nodiscard]] std::optional<Aufruf> lies_aufruf(int argc, const char* const* argv);

}  // namespace tarvendo::cli
