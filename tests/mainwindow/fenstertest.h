#pragma once
// A main window on scratch settings and scratch directories, its messages
// recorded and answered by the test.

#include <QSettings>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "einstellungen/registry.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/hauptfenster.h"
#include "mainwindow/pfadfeld.h"
#include "testhilfe/tempverzeichnis.h"
#include "widgets/status.h"

namespace tarvendo {

using test::erstelle_verzeichnis;
using test::schreibe_datei;

class FensterTest : public ::testing::Test {
protected:
    FensterTest() { lege_speicher_fest(einstellungen.pfad()); }
    ~FensterTest() override {
        if (fenster) fenster->close();
        lege_speicher_fest("/nonexistent");
    }
    static void lege_speicher_fest(const std::string& ort) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(ort));
    }

    verzeichnis& starte() {
        fenster = std::make_unique<verzeichnis>();
        fenster->setze_meldungsweg([this](const Meldung& m) {
            meldungen.push_back(m.text);
            return antwort ? antwort(m) : Antwort::OK;
        });
        fenster->setze_sofortende([this] { beendet = true; });
        fenster->Form_Load();
        return *fenster;
    }
    // Source and target with the given paths below the scratch directory.
    verzeichnis& starte_mit(const std::string& quelle, const std::string& ziel) {
        verzeichnis& f = starte();
        f.teile().Basisverzeichnis->setze_pfad(quelle.empty() ? "" : daten / quelle);
        f.teile().Zielbasisverzeichnis->setze_pfad(ziel.empty() ? "" : daten / ziel);
        return f;
    }
    [[nodiscard]] const Fensterteile& t() const { return fenster->teile(); }
    [[nodiscard]] std::string info() const { return t().Arbeitsinfo->beschriftung().toStdString(); }
    // The node of a directory, or else of a file, below the target.
    [[nodiscard]] Knoten* knoten(const std::string& relativ) const {
        const std::string pfad = daten / "z" + relativ;
        Knoten* k = t().Arbeitsbaum->gib(pfad);
        return k ? k : t().Arbeitsbaum->gib(pfad + '\0');
    }
    // "text[image]" of each child, with "-" for a cleared box.
    [[nodiscard]] static std::vector<std::string> kinder(const Knoten* k) {
        std::vector<std::string> z;
        for (int i = 0; k && i < k->Children(); ++i) {
            const Knoten* c = k->Child(i);
            if (!c) continue;
            z.push_back((c->Checked() ? "" : "-") + c->text(0).toStdString() + "[" +
                        std::string(c->Image()) + "]");
        }
        return z;
    }
    // A click on a node's check box.
    static void klicke(Knoten* k) {
        ASSERT_NE(k, nullptr);
        k->setCheckState(0, k->Checked() ? Qt::Unchecked : Qt::Checked);
    }
    void lege_bäume_an() {
        for (const char* d : {"q", "q/A", "q/A/B", "q/leer", "z"}) erstelle_verzeichnis(daten / d);
        for (const char* f : {"q/A/1.txt", "q/A/2.txt", "q/A/B/3.txt", "q/f.txt", "q/F.txt",
                              "q/n\xe9.txt", "q/n\xe8.txt", "z/weg.txt"})
            schreibe_datei(daten / f, "x");
    }

    test::TempVerzeichnis einstellungen;
    test::TempVerzeichnis daten;
    std::unique_ptr<verzeichnis> fenster;
    std::vector<std::string> meldungen;
    std::function<Antwort(const Meldung&)> antwort;  // OK when unset
    bool beendet = false;
};

}  // namespace tarvendo
