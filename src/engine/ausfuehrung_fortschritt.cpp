// What the run tells: progress, counts and the messages about failures.
#include <cmath>

#include "engine/ausfuehrung_ebene.h"
#include "engine/systemfehlertext.h"

namespace tarvendo {

namespace {

using Knoten = Erledigtbaum::Knoten;

constexpr std::string_view art_datei = "Datei ";

// Per mille of teil in ganzes, halves to the even neighbour.
std::int32_t promille(std::int64_t teil, std::int64_t ganzes) {
    const double wert = static_cast<double>(teil) / static_cast<double>(ganzes) * 1000.0;
    return static_cast<std::int32_t>(std::nearbyint(wert));
}

}  // namespace

bool Aufgabenausführung::zähle_erledigt(std::int64_t arbeit, int code) {
    // A failed task counts as done for the overall bar as well.
    d_.zustand.summe_erledigt += arbeit;
    zeige_gesamtfortschritt(d_.zustand.summe_erledigt);
    laufinfo_.datei_erledigt();
    if (code != 0) return false;
    nachgeben();
    return true;
}

void Aufgabenausführung::melde_dateifehler(const Dateiklasse& f, Knoten wpnodx, Bild fehlerbild,
                                           const std::string& pfad, std::string_view was,
                                           const std::string& fehlertext) {
    leere_stapel();
    d_.erledigt.setze_bild(d_.erledigt.füge_hinzu(wpnodx, f.Name), fehlerbild);
    nachgeben();
    if (melde(art_datei, pfad, was, fehlertext, Knöpfe::OKAbbrechen) == Antwort::Abbrechen)
        d_.zustand.abbruch = true;
}

void Aufgabenausführung::kopierfortschritt(std::int64_t dateigröße, std::int64_t übertragen) {
    if (dateigröße <= 0) {
        nachgeben();
        return;
    }
    Statusanzeige& datei = d_.anzeigen.Arbeitsdatei;
    const std::int32_t p = promille(übertragen, dateigröße);
    if (p > 0) {
        if (dateibalken_sichtbar_) {
            datei.setze_aktwert(p);
        } else {
            const std::int32_t ms = d_.stoppuhr.Elapsed();
            if (ms > 250 && static_cast<double>(ms) * 1000.0 / p > 1000.0) {
                datei.Reset();
                datei.setze_maxwert(1000);
                datei.setze_aktwert(p);
                dateibalken_sichtbar_ = true;
            }
        }
    }
    zeige_gesamtfortschritt(d_.zustand.summe_erledigt + übertragen);
    nachgeben();
}

void Aufgabenausführung::zeige_gesamtfortschritt(std::int64_t erledigt) {
    const std::int64_t gesamt = d_.zustand.summe_gesamt;
    if (gesamt > 0) d_.anzeigen.Arbeitsinfo.setze_aktwert(promille(erledigt, gesamt));
}

Antwort Aufgabenausführung::melde(std::string_view art, const std::string& pfad,
                                  std::string_view was, const std::string& fehlertext,
                                  Knöpfe knöpfe) {
    leere_stapel();
    std::string text;
    text.reserve(art.size() + pfad.size() + was.size() + fehlertext.size() + 4);
    text += art;
    text += '\n';
    text += pfad;
    text += '\n';
    text += was;
    text += "\n\n";
    text += fehlertext;
    ++fehler_;
    return d_.rückfrage.melde_fehler(text, knöpfe);
}

void Aufgabenausführung::leere_stapel() {
    stapel_.leere([this](const Ersetzungsstapel::Eintrag& e, int code) {
        melde_dateifehler(*e.datei, e.knoten, Bild::Datei_kopieren_fehler, e.quellpfad,
                          "konnte nicht kopiert werden", systemfehlertext(code));
    });
}

}  // namespace tarvendo
