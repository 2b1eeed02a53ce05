#include "mainwindow/synchronisierbefehl.h"

#include <QHeaderView>

#include "engine/aufgabensumme.h"
#include "engine/massenloeschung.h"
#include "engine/platzpruefung.h"
#include "engine/synchronisation.h"
#include "engine/systemfehlertext.h"
#include "engine/zielsperre.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/pfadfeld.h"
#include "mainwindow/versionsbefehle.h"
#include "support/stopwatch.h"
#include "widgets/anzeigetext.h"

namespace tarvendo {

namespace {

// The done tree: every directory entered, every failure, with its image.
class Erledigtansicht final : public Erledigtbaum {
public:
    explicit Erledigtansicht(Baumansicht& baum) : baum_(baum) {}

    Knoten füge_hinzu(Knoten eltern, std::string_view text) override {
        Baumansicht::Neu neu{{}, anzeigetext(text), {}, {}, false};
        tarvendo::Knoten* knoten = nullptr;
        if (eltern == kein_knoten) {
            knoten = baum_.füge_hinzu(std::move(neu));
        } else {
            auto* e = reinterpret_cast<tarvendo::Knoten*>(eltern);
            Baumansicht::Neu neue[] = {std::move(neu)};
            if (!baum_.füge_kinder_hinzu(*e, neue)) knoten = e->Child(e->Children() - 1);
        }
        return reinterpret_cast<Knoten>(knoten);
    }
    void setze_bild(Knoten knoten, Bild bild) override {
        if (knoten == kein_knoten) return;
        auto* k = reinterpret_cast<tarvendo::Knoten*>(knoten);
        baum_.setze_bild(*k, bild.schlüssel());
        // The question about the failure follows; its text stays with the node.
        fehlgeschlagen_ = bild.schlüssel().ends_with("_fehler") ? k : nullptr;
    }
    // The text of the question about the last failure shown.
    void merke_fehlertext(std::string_view text) {
        if (!fehlgeschlagen_) return;
        baum_.setze_hinweis(*fehlgeschlagen_, anzeigetext(text));
        fehlgeschlagen_ = nullptr;
    }

private:
    Baumansicht& baum_;
    tarvendo::Knoten* fehlgeschlagen_ = nullptr;
};

// A failed operation: critical icon, OK or OK and Abbrechen.
class Meldungsrückfrage final : public Rückfrage {
public:
    Meldungsrückfrage(Meldungsweg& weg, Erledigtansicht& erledigt)
        : weg_(weg), erledigt_(erledigt) {}
    Antwort melde_fehler(std::string_view text, Knöpfe knöpfe) override {
        erledigt_.merke_fehlertext(text);
        return weg_({std::string(text), Symbol::Fehler, knöpfe});
    }

private:
    Meldungsweg& weg_;
    Erledigtansicht& erledigt_;
};

}  // namespace

void Synchronisierbefehl::sperre(bool gesperrt) {
    Fensterteile& t = d_.teile;
    t.Quellverzeichnis_Festlegen->setEnabled(!gesperrt);
    t.Zielverzeichnis_Festlegen->setEnabled(!gesperrt);
    t.Arbeitsbaum->setEnabled(!gesperrt);
    t.CompareButton->setEnabled(!gesperrt);
    t.SyncButton->setText(gesperrt ? QStringLiteral("abbrechen")
                                   : QStringLiteral("synchronisieren"));
}

bool Synchronisierbefehl::löschen_bestätigt() {
    Programmzustand angekreuzt;
    erstelle_aufgabensumme(*d_.stand.aufgabenbaum, angekreuzt);
    const auto warnung = massenlöschung(d_.stand, angekreuzt.anzahl_löschen, versionen_tage());
    return !warnung || d_.meldung({*warnung + "\n\nTrotzdem synchronisieren?", Symbol::Hinweis,
                                   Knöpfe::OKAbbrechen, true}) == Antwort::OK;
}

bool Synchronisierbefehl::platz_bestätigt() {
    const auto platz = ermittle_platz(*d_.stand.aufgabenbaum, d_.teile.Zielbasisverzeichnis->pfad(),
                                      versionen_tage());
    const auto warnung = platz ? platzwarnung(*platz) : std::nullopt;
    return !warnung || d_.meldung({*warnung + "\n\nTrotzdem synchronisieren?", Symbol::Hinweis,
                                   Knöpfe::OKAbbrechen, true}) == Antwort::OK;
}

void Synchronisierbefehl::SyncButton_Click() {
    Fensterteile& t = d_.teile;
    if (liest_abbrechen(*t.SyncButton)) {
        d_.schließe_fenster();
        return;
    }
    // Entered from a yield of another command: only a cancel may act there.
    if (d_.zustand.läuft) return;
    if (!d_.stand.aufgabenbaum) {
        d_.meldung(
            {"Bitte zuerst den Verzeichnisvergleich durchführen", Symbol::Hinweis, Knöpfe::OK});
        return;
    }
    if (!löschen_bestätigt() || !platz_bestätigt()) return;

    sperre(true);
    // Fitting the column to every new node at each repaint would cost a run
    // of many directories dearly; it is fitted once the run is over.
    QHeaderView& kopf = *t.Aufgaben_erledigt->header();
    kopf.setSectionResizeMode(QHeaderView::Interactive);
    Erledigtansicht erledigt(*t.Aufgaben_erledigt);
    Meldungsrückfrage rückfrage(d_.meldung, erledigt);
    PosixDateioperationen posix;
    CStopWatch stoppuhr;
    const std::string ziel = t.Zielbasisverzeichnis->pfad();
    const Synchronisationsbericht bericht =
        synchronisiere(*d_.stand.aufgabenbaum, t.Basisverzeichnis->pfad(), ziel,
                       {d_.anzeigen, d_.schleife, rückfrage, erledigt, d_.zustand,
                        d_.ops ? *d_.ops : posix, stoppuhr},
                       versionen_tage());
    kopf.setSectionResizeMode(QHeaderView::ResizeToContents);
    if (bericht.abgewiesen || bericht.ziel_belegt) {
        if (bericht.ziel_belegt) d_.meldung({ziel_belegt_text(ziel), Symbol::Hinweis, Knöpfe::OK});
        sperre(false);
        return;
    }

    // The view points into the task tree: it goes first.
    t.Arbeitsbaum->leere();
    d_.stand.aufgabenbaum.reset();

    if (!bericht.gesichert)
        d_.meldung({"Zielverzeichnis \n" + ziel +
                        "\nkonnte nicht auf den Datenträger geschrieben werden\n\n" +
                        systemfehlertext(bericht.gesichert.fehlercode()),
                    Symbol::Fehler, Knöpfe::OK});
    if (!bericht.versionshinweis.empty())
        d_.meldung({bericht.versionshinweis, Symbol::Hinweis, Knöpfe::OK});
    if (bericht.abgebrochen)
        d_.meldung({"Aufgaben durchführen abgebrochen", Symbol::Hinweis, Knöpfe::OK});
    // Where this run's versions and record are.
    if (!bericht.versionsordner.empty())
        d_.anzeigen.Arbeitsschritt.text("Versionen und Protokoll: " + bericht.versionsordner);
    sperre(false);
}

}  // namespace tarvendo
