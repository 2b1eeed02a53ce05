#include "engine/massenloeschung.h"

namespace tarvendo {

namespace {

// Ticked file deletions in a task subtree.
std::int32_t löschungen(const Pfadklasse& aufgaben) {
    std::int32_t anzahl = 0;
    for (const Dateiklasse& d : aufgaben.dateien)
        anzahl += d.aufgabe == aufgabe_löschen && d.checked;
    for (const Pfadklasse& p : aufgaben.pfade) anzahl += löschungen(p);
    return anzahl;
}

// A source directory below quelle that was read and is empty while the run
// would delete at least viele_löschungen files below its target counterpart:
// an unmounted drive inside the source, or a folder emptied by mistake.
std::optional<std::string> geleert(const Pfadklasse& quelle, const Pfadklasse& aufgaben) {
    for (const Pfadklasse& q : quelle.pfade) {
        const Pfadklasse* a = aufgaben.pfade.gib(q.pfadname);
        if (!a || a->pfadname != q.pfadname) continue;
        if (q.pfade.empty() && q.dateien.empty() && !q.nicht_gelesen &&
            !(q.zusatz && !q.zusatz->ungelesen.empty())) {
            if (const std::int32_t n = löschungen(*a); n >= viele_löschungen)
                return "Das Verzeichnis\n" + q.fullpath() + "\nist leer.\nDer Lauf würde " +
                       std::to_string(n) + " Dateien darunter im Zielverzeichnis löschen.";
        } else if (auto warnung = geleert(q, *a)) {
            return warnung;
        }
    }
    return std::nullopt;
}

std::optional<std::string> massenlöschung_ohne_versionen(const Vergleichsstand& stand,
                                                         std::int32_t löschen) {
    if (löschen <= 0) return std::nullopt;
    const std::string anzahl = std::to_string(löschen);
    if (stand.quelle_leer)
        return "Das Quellverzeichnis ist leer.\nDer Lauf würde " + anzahl +
               " Dateien im Zielverzeichnis löschen.";
    if (löschen >= viele_löschungen &&
        static_cast<std::int64_t>(löschen) * 2 > static_cast<std::int64_t>(stand.ziel_dateien))
        return "Der Lauf würde " + anzahl + " von " + std::to_string(stand.ziel_dateien) +
               " Dateien im Zielverzeichnis löschen.";
    if (stand.quellbaum && stand.aufgabenbaum)
        return geleert(*stand.quellbaum, *stand.aufgabenbaum);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> massenlöschung(const Vergleichsstand& stand, std::int32_t löschen,
                                          int versionen_tage) {
    auto warnung = massenlöschung_ohne_versionen(stand, löschen);
    if (warnung && versionen_tage > 0)
        *warnung += "\nDie gelöschten Dateien werden " + std::to_string(versionen_tage) +
                    (versionen_tage == 1 ? " Tag" : " Tage") +
                    " als Versionen im Zielverzeichnis aufbewahrt.";
    return warnung;
}

}  // namespace tarvendo
