#include "engine/zielsperre.h"

#include <fcntl.h>

#include <cerrno>

namespace tarvendo {

Zielsperre::Zielsperre(Dateioperationen& ops, const std::string& zielbasis) {
    auto fd = ops.öffne(AT_FDCWD, zielbasis, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (!fd) return;
    griff_ = Dateigriff(ops, fd.wert());
    const Ausgang s = ops.sperre_exklusiv(griff_.fd());
    belegt_ = !s && s.fehlercode() == EWOULDBLOCK;
}

std::string ziel_belegt_text(const std::string& zielbasis) {
    return "Zielverzeichnis \n" + zielbasis +
           "\nwird gerade von einem anderen Synchronisationslauf bearbeitet.\n\n"
           "Bitte warten, bis dieser beendet ist, und dann erneut synchronisieren.";
}

}  // namespace tarvendo
