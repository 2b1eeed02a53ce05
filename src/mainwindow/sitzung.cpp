#include "mainwindow/sitzung.h"

#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "einstellungen/registry.h"
#include "support/programmversion.h"

namespace tarvendo {

std::string_view programmversion() {
    return programm::kurzversion;
}

void prüfe_version() {
    const std::string gespeichert = gib_einstellung("Administration", "version", "0.0");
    if (gespeichert != programmversion()) (void)lösche_abschnitt("LastSession");
    (void)setze_einstellung("Administration", "version", programmversion());
}

bool ist_verzeichnis(const std::string& pfad) {
    struct stat st {};
    return !pfad.empty() && stat(pfad.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::int32_t> als_ganzzahl(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    double zahl = 0;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), zahl);
    if (fehler != std::errc() || ende != text.data() + text.size() || !std::isfinite(zahl))
        return std::nullopt;
    const double ganz = std::nearbyint(zahl);
    if (ganz < std::numeric_limits<std::int32_t>::min() ||
        ganz > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(ganz);
}

}  // namespace tarvendo
