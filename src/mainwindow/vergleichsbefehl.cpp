#include "mainwindow/vergleichsbefehl.h"

#include "engine/verzeichnisquelle.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/pfadfeld.h"

namespace tarvendo {

void Vergleichsbefehl::sperre(bool gesperrt) {
    Fensterteile& t = d_.teile;
    t.Quellverzeichnis_Festlegen->setEnabled(!gesperrt);
    t.Zielverzeichnis_Festlegen->setEnabled(!gesperrt);
    t.Arbeitsbaum->setEnabled(!gesperrt);
    t.CompareButton->setText(gesperrt ? QStringLiteral("abbrechen")
                                      : QStringLiteral("vergleichen"));
    t.SyncButton->setEnabled(!gesperrt);
}

void Vergleichsbefehl::CompareButton_Click() {
    Fensterteile& t = d_.teile;
    if (liest_abbrechen(*t.CompareButton)) {
        d_.schließe_fenster();
        return;
    }
    // Entered from a yield of another command: only a cancel may act there.
    if (d_.zustand.läuft) return;

    const std::string quelle = t.Basisverzeichnis->pfad();
    const std::string ziel = t.Zielbasisverzeichnis->pfad();
    if (const auto fehler = prüfe_verzeichnisse(quelle, ziel)) {
        d_.meldung({std::string(*fehler), Symbol::Hinweis, Knöpfe::OK});
        return;
    }

    sperre(true);
    // The views point into the trees that the run drops first.
    t.Arbeitsbaum->leere();
    t.Aufgaben_erledigt->leere();
    PosixVerzeichnisquelle posix;
    Verzeichnisquelle& dateisystem = d_.dateisystem ? *d_.dateisystem : posix;
    if (!vergleiche(d_.stand, quelle, ziel, d_.anzeigen, d_.schleife, d_.zustand, dateisystem)) {
        sperre(false);
        return;
    }

    if (d_.stand.abgebrochen) {
        t.Arbeitsbaum->leere();
        d_.meldung({"Aufgaben ermitteln abgebrochen", Symbol::Hinweis, Knöpfe::OK});
    } else {
        d_.ansicht.zeige(ziel);
    }
    sperre(false);

    if (const auto hinweis = vergleichshinweis(d_.stand))
        d_.meldung({*hinweis, Symbol::Hinweis, Knöpfe::OK});
}

}  // namespace tarvendo
