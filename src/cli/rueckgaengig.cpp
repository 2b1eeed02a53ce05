#include <clocale>
#include <cstdio>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "engine/ruecknahme.h"
#include "engine/zielsperre.h"

namespace tarvendo::cli {

int rückgängig(const char* ziel, Dateioperationen& ops) {
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    // Not while a run works on the target, nor a run while this one does.
    const Zielsperre sperre(ops, ziel);
    if (!sperre) {
        schreibe(stderr, ziel_belegt_text(ziel) + "\n");
        return 2;
    }
    const Rücknahme r = nimm_zurück(ops, ziel);
    const bool gelungen = r.art == Rücknahme::Art::zurückgenommen;
    schreibe(gelungen ? stdout : stderr, r.text + "\n");
    if (gelungen) return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    return r.art == Rücknahme::Art::verweigert ? 2 : 1;
}

}  // namespace tarvendo::cli
