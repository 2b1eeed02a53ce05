#include "mainwindow/versionsbefehle.h"

#include <charconv>
#include <string>

#include "einstellungen/registry.h"
#include "engine/laufsperre.h"
#include "engine/ruecknahme.h"
#include "engine/versionsordner.h"
#include "engine/zielsperre.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/pfadfeld.h"

namespace tarvendo {

namespace {

constexpr int höchstens_tage = 36500;

}  // namespace

int versionen_tage() {
    const std::string text =
        gib_einstellung("Administration", "versionen_tage", standard_versionen_tage);
    int tage = -1;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), tage);
    if (fehler != std::errc() || ende != text.data() + text.size() || tage < 0 ||
        tage > höchstens_tage)
        return standard_versionen_tage;
    return tage;
}

void Versionsbefehle::MenüRückgängig_Click() {
    const Laufsperre sperre(d_.zustand);
    if (!sperre) return;  // never while a command runs
    const std::string ziel = d_.teile.Zielbasisverzeichnis->pfad();
    PosixDateioperationen posix;
    Dateioperationen& ops = d_.ops ? *d_.ops : posix;
    // Held from the question on, so that no run of another process starts in between.
    const Zielsperre zielsperre(ops, ziel);
    if (!zielsperre) {
        d_.meldung({ziel_belegt_text(ziel), Symbol::Hinweis, Knöpfe::OK});
        return;
    }
    const auto lauf = letzter_lauf(ops, ziel);
    if (!lauf) {
        d_.meldung({"Im Zielverzeichnis\n" + ziel +
                        "\ngibt es keinen Lauf, der rückgängig gemacht werden kann.",
                    Symbol::Hinweis, Knöpfe::OK});
        return;
    }
    if (d_.meldung({laufbeschreibung(*lauf) + "\n\nDiesen Lauf rückgängig machen?", Symbol::Hinweis,
                    Knöpfe::OKAbbrechen, true}) != Antwort::OK)
        return;
    const Rücknahme r = nimm_zurück(ops, ziel);
    // The target changed: the last comparison no longer holds.
    d_.teile.Arbeitsbaum->leere();
    d_.stand.aufgabenbaum.reset();
    d_.meldung({r.text, r.art == Rücknahme::Art::zurückgenommen ? Symbol::Hinweis : Symbol::Fehler,
                Knöpfe::OK});
}

void Versionsbefehle::MenüVersionen_Click() {
    if (!d_.frage_tage) return;
    if (const auto tage = d_.frage_tage(versionen_tage()))
        (void)setze_einstellung("Administration", "versionen_tage",
                                std::min(std::max(*tage, 0), höchstens_tage));
}

}  // namespace tarvendo
