#include "engine/massenloeschung.h"

namespace tarvendo {

std::optional<std::string> massenlöschung(const Vergleichsstand& stand, std::int32_t löschen) {
    if (löschen <= 0) return std::nullopt;
    const std::string anzahl = std::to_string(löschen);
    if (stand.quelle_leer)
        return "Das Quellverzeichnis ist leer.\nDer Lauf würde " + anzahl +
               " Dateien im Zielverzeichnis löschen.";
    if (löschen >= viele_löschungen &&
        static_cast<std::int64_t>(löschen) * 2 > static_cast<std::int64_t>(stand.ziel_dateien))
        return "Der Lauf würde " + anzahl + " von " + std::to_string(stand.ziel_dateien) +
               " Dateien im Zielverzeichnis löschen.";
    return std::nullopt;
}

}  // namespace tarvendo
