#include "engine/laufinfo.h"

#include <cmath>

namespace tarvendo {
namespace {

constexpr double schätzen_ab_sekunden = 3;

std::string dauer(double sekunden) {
    const auto s = static_cast<std::int64_t>(std::ceil(sekunden));
    if (s < 60) return std::to_string(s) + " s";
    const std::int64_t minuten = (s + 59) / 60;
    if (minuten < 60) return std::to_string(minuten) + " min";
    return std::to_string(minuten / 60) + " h " + std::to_string(minuten % 60) + " min";
}

}  // namespace

std::string laufinfotext(std::int64_t erledigt, std::int64_t gesamt, double sekunden,
                         double anteil) {
    std::string text = std::to_string(erledigt) + " von " + std::to_string(gesamt) + " Dateien";
    if (sekunden > schätzen_ab_sekunden && anteil > 0 && anteil < 1)
        text += ", noch etwa " + dauer(sekunden * (1 - anteil) / anteil);
    return text;
}

Laufinfo::Laufinfo(Statusanzeige& info, const Programmzustand& zustand)
    : info_(info), zustand_(zustand) {}

void Laufinfo::datei_erledigt() {
    ++erledigt_;
    const std::int64_t gesamt =
        static_cast<std::int64_t>(zustand_.anzahl_kopieren) + zustand_.anzahl_löschen;
    const Uhr::time_point jetzt = Uhr::now();
    if (erledigt_ != 1 && erledigt_ < gesamt && jetzt - gezeigt_ < std::chrono::milliseconds(100))
        return;
    gezeigt_ = jetzt;
    const double anteil = zustand_.summe_gesamt > 0 ? static_cast<double>(zustand_.summe_erledigt) /
                                                          static_cast<double>(zustand_.summe_gesamt)
                                                    : 0.0;
    info_.text(laufinfotext(erledigt_, gesamt,
                            std::chrono::duration<double>(jetzt - beginn_).count(), anteil));
}

}  // namespace tarvendo
