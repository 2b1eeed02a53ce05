#include "fenstertest.h"

#include <QApplication>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "einstellungen/registry.h"
#include "mainwindow/aufgabenansicht.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/komponentenpruefung.h"
#include "mainwindow/pfadfeld.h"
#include "testhilfe/tempverzeichnis.h"
#include "widgets/status.h"

namespace tarvendo {
namespace {

using Texte = std::vector<std::string>;

TEST_F(FensterTest, StartStelltPfadeWiederHerUndLässtFehlendeLeer) {
    erstelle_verzeichnis(daten / "q");
    setze_einstellung("Administration", "version", "1.0");
    setze_einstellung("LastSession", "sourcepath", daten / "q");
    schreibe_datei(daten / "datei", "");  // was a directory once
    setze_einstellung("LastSession", "destpath", daten / "datei");
    verzeichnis& f = starte();
    EXPECT_EQ(t().Basisverzeichnis->pfad(), daten / "q");
    EXPECT_EQ(t().Zielbasisverzeichnis->pfad(), "");
    EXPECT_TRUE(t().CompareButton->isEnabled() && t().SyncButton->isEnabled());
    EXPECT_TRUE(meldungen.empty()) << meldungen.front();
    EXPECT_TRUE(prüfe_komponenten().vorhanden);

    Texte tabfolge;
    for (QWidget* w = t().CompareButton; tabfolge.empty() || w != t().CompareButton;
         w = w->nextInFocusChain()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            tabfolge.push_back(w->objectName().toStdString());
    }
    EXPECT_EQ(tabfolge, (Texte{"CompareButton", "SyncButton", "Zielverzeichnis_Festlegen",
                               "Quellverzeichnis_Festlegen", "Arbeitsbaum", "Aufgaben_erledigt"}));

    // A long path gives up its middle; its end and the tool tip stay whole.
    const std::string lang = daten / std::string(200, 'v') + "/ende-links";
    t().Basisverzeichnis->setze_pfad(lang);
    const QString gezeigt = t().Basisverzeichnis->text();
    EXPECT_TRUE(gezeigt.contains("...") && gezeigt.endsWith("/ende-links"))
        << gezeigt.toStdString();
    EXPECT_EQ(t().Basisverzeichnis->toolTip().toStdString(), lang);

    // Closing saves the paths as the labels hold them, also an empty one; a
    // directory that was missing at start stays stored until another is chosen.
    t().Basisverzeichnis->setze_pfad("");
    EXPECT_TRUE(f.close());
    EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "-"), "");
    EXPECT_EQ(gib_einstellung("LastSession", "destpath", "-"), daten / "datei");
}

TEST_F(FensterTest, GespeicherteGrößenUndNeueVersion) {
    erstelle_verzeichnis(daten / "q");
    // An older version forgets the paths, but not the size.
    setze_einstellung("Administration", "version", "0.9");
    setze_einstellung("LastSession", "sourcepath", daten / "q");
    const std::tuple<const char*, const char*, bool> fälle[] = {{"9000", "6000", false},
                                                                {"99999", "99999", true},
                                                                {"99999", "5000", false},
                                                                {"Quatsch", "6000", false},
                                                                {"9000abc", "6000", false}};
    for (const auto& [breite, höhe, maximiert] : fälle) {
        setze_einstellung("Administration", "fwidth", breite);
        setze_einstellung("Administration", "fheigth", höhe);
        verzeichnis& f = starte();
        EXPECT_EQ(f.isMaximized(), maximiert) << breite;
        // No smaller than designed: the inner area plus the menu bar.
        EXPECT_EQ(f.minimumWidth() * f.twips_x(), 7845) << breite;
        EXPECT_EQ(f.minimumHeight(), 5190 / f.twips_y() + f.menuBar()->sizeHint().height());
        EXPECT_GE(f.width(), f.minimumWidth()) << breite;
        // Not a number: the design width, not the digits in front.
        if (breite == std::string_view("9000abc")) {
            EXPECT_EQ(f.width(), f.minimumWidth());
        }
        if (breite != std::string_view("9000")) continue;
        EXPECT_EQ(t().Basisverzeichnis->pfad(), "/");  // the default
        EXPECT_EQ(gib_einstellung("Administration", "version", ""), "1.0");
        EXPECT_EQ(f.frameGeometry().width() * f.twips_x(), 9000);
        EXPECT_EQ(f.frameGeometry().height() * f.twips_y(), 6000);
        EXPECT_TRUE(f.close());
        EXPECT_EQ(gib_einstellung("Administration", "fwidth", ""), "9000");
        EXPECT_EQ(gib_einstellung("Administration", "fheigth", ""), "6000");
    }
}

TEST_F(FensterTest, VergleichZeigtDieAufgabenUndTrägtHakenInsModell) {
    lege_bäume_an();
    starte_mit("q", "z");
    fenster->CompareButton_Click();
    ASSERT_TRUE(meldungen.empty()) << meldungen.front();
    EXPECT_EQ(info(), "7 kopieren / 1 löschen");
    EXPECT_TRUE(t().Arbeitsbaum->isEnabled());

    const Knoten* wurzel = t().Arbeitsbaum->wurzel();
    ASSERT_NE(wurzel, nullptr);
    EXPECT_EQ(wurzel->Key(), daten / "z");
    EXPECT_TRUE(wurzel->isExpanded());
    // Natural order, directories and files mixed; case twins and names that
    // are not UTF-8 side by side.
    EXPECT_EQ(kinder(wurzel),
              (Texte{"A[Verzeichnis_kopieren]", "F.txt[Datei_kopieren]", "f.txt[Datei_kopieren]",
                     "leer[Verzeichnis_kopieren]", "n\xef\xbf\xbd.txt[Datei_kopieren]",
                     "n\xef\xbf\xbd.txt[Datei_kopieren]", "weg.txt[Datei_löschen]"}));
    EXPECT_NE(knoten("/n\xe9.txt"), knoten("/n\xe8.txt"));
    EXPECT_EQ(kinder(knoten("/A")), (Texte{"-Dummy[Verzeichnis_diesdas]"}));
    EXPECT_EQ(knoten("/leer")->Children(), 0);

    knoten("/A")->setExpanded(true);
    EXPECT_EQ(kinder(knoten("/A")),
              (Texte{"1.txt[Datei_kopieren]", "2.txt[Datei_kopieren]", "B[Verzeichnis_kopieren]"}));
    knoten("/A")->setExpanded(false);
    knoten("/A")->setExpanded(true);  // built once only
    EXPECT_EQ(knoten("/A")->Children(), 3);

    // Down: a cleared directory clears all below, also what is built later.
    klicke(knoten("/A"));
    EXPECT_EQ(kinder(knoten("/A")), (Texte{"-1.txt[Datei_kopieren]", "-2.txt[Datei_kopieren]",
                                           "-B[Verzeichnis_kopieren]"}));
    EXPECT_EQ(info(), "4 kopieren / 1 löschen");
    // Up: one ticked file ticks its directory, not its siblings.
    klicke(knoten("/A/1.txt"));
    EXPECT_TRUE(knoten("/A")->Checked());
    EXPECT_FALSE(knoten("/A/2.txt")->Checked());
    EXPECT_EQ(info(), "5 kopieren / 1 löschen");
    // Partly ticked shows as such up to the root; a click on it ticks all below.
    EXPECT_EQ(knoten("/A")->checkState(0), Qt::PartiallyChecked);
    EXPECT_EQ(t().Arbeitsbaum->wurzel()->checkState(0), Qt::PartiallyChecked);
    knoten("/A")->setCheckState(0, Qt::Checked);  // what the view makes of a click on it
    EXPECT_EQ(kinder(knoten("/A")),
              (Texte{"1.txt[Datei_kopieren]", "2.txt[Datei_kopieren]", "B[Verzeichnis_kopieren]"}));
    EXPECT_EQ(t().Arbeitsbaum->wurzel()->checkState(0), Qt::Checked);
    EXPECT_EQ(info(), "7 kopieren / 1 löschen");
    klicke(knoten("/A"));
    klicke(knoten("/A/1.txt"));
    // The file node finds its record by the tag: of two twins, the right one.
    klicke(knoten("/F.txt"));
    EXPECT_TRUE(knoten("/f.txt")->Checked());
    EXPECT_FALSE(std::get<Dateiklasse*>(knoten("/F.txt")->Tag.eintrag)->checked);
    EXPECT_EQ(info(), "4 kopieren / 1 löschen");

    for (const char* k : {"/A", "/f.txt", "/leer", "/n\xe9.txt", "/n\xe8.txt", "/weg.txt"})
        klicke(knoten(k));
    EXPECT_FALSE(t().Arbeitsbaum->wurzel()->Checked());
    EXPECT_EQ(info(), "0 kopieren / 0 löschen");
    knoten("/A/B")->setExpanded(true);
    EXPECT_EQ(kinder(knoten("/A/B")), (Texte{"-3.txt[Datei_kopieren]"}));
    // An empty directory keeps its tick and ticks the way up.
    klicke(knoten("/leer"));
    EXPECT_TRUE(knoten("/leer")->Checked());
    EXPECT_TRUE(t().Arbeitsbaum->wurzel()->Checked());
    EXPECT_EQ(info(), "0 kopieren / 0 löschen");

    // A second run starts from scratch.
    fenster->CompareButton_Click();
    EXPECT_EQ(info(), "7 kopieren / 1 löschen");
    EXPECT_EQ(t().Arbeitsbaum->topLevelItemCount(), 1);
    EXPECT_EQ(kinder(knoten("/A")), (Texte{"-Dummy[Verzeichnis_diesdas]"}));
}

// A directory holding only directories can be opened all the same.
TEST_F(FensterTest, VerzeichnisNurMitVerzeichnissenHatPlatzhalter) {
    for (const char* d : {"q", "q/nur", "q/nur/u", "z"}) erstelle_verzeichnis(daten / d);
    starte_mit("q", "z");
    fenster->CompareButton_Click();
    EXPECT_EQ(kinder(knoten("/nur")), (Texte{"-Dummy[Verzeichnis_diesdas]"}));
    knoten("/nur")->setExpanded(true);
    EXPECT_EQ(kinder(knoten("/nur")), (Texte{"u[Verzeichnis_kopieren]"}));
}

// Whether by mouse, Enter, Space or Alt+V: the same checks.
TEST_F(FensterTest, PrüfungenMeldenUndÄndernNichts) {
    erstelle_verzeichnis(daten / "q");
    const std::tuple<const char*, const char*, const char*, int> fälle[] = {
        {"", "", "Quellverzeichnis nicht festgelegt", 0},
        {"q", "", "Zielverzeichnis nicht festgelegt", Qt::Key_Return},
        {"q", "q", "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein",
         Qt::Key_Space},
        {"q", "", "Zielverzeichnis nicht festgelegt", Qt::Key_V},
    };
    for (const auto& [quelle, ziel, text, taste] : fälle) {
        meldungen.clear();
        starte_mit(quelle, ziel);
        QApplication::setActiveWindow(fenster.get());
        t().CompareButton->setFocus();
        if (taste == Qt::Key_V)
            QTest::keyClick(fenster.get(), Qt::Key_V, Qt::AltModifier);
        else if (taste != 0)
            QTest::keyClick(t().CompareButton, static_cast<Qt::Key>(taste));
        else
            t().CompareButton->click();
        EXPECT_EQ(meldungen, Texte{text}) << taste;
        EXPECT_EQ(t().CompareButton->text(), "vergleichen");  // the caption keeps no "&"
        EXPECT_EQ(t().Arbeitsbaum->topLevelItemCount(), 0);
        EXPECT_EQ(fenster->stand().aufgabenbaum, nullptr);
    }
}

// What arrives while a run waits in a yield: only a cancel acts; a reset of
// the views would pull them from under the run.
TEST_F(FensterTest, WährendEinesLaufsWirktNurDerAbbruch) {
    lege_bäume_an();
    enum Eingriff { knopf, schließen, sitzungsende, nichts };
    for (const Eingriff eingriff : {knopf, schließen, sitzungsende, nichts}) {
        meldungen.clear();
        starte_mit("q", "z");
        setze_einstellung("LastSession", "sourcepath", "");
        bool versucht = false;
        QTimer::singleShot(0, fenster.get(), [&] {
            versucht = true;
            fenster->bäume_reset();
            EXPECT_EQ(t().CompareButton->text(), "abbrechen");
            EXPECT_FALSE(t().SyncButton->isEnabled() || t().Arbeitsbaum->isEnabled());
            if (eingriff == knopf) t().CompareButton->click();
            if (eingriff == sitzungsende) fenster->sitzungsende();
            if (eingriff == schließen) {
                EXPECT_FALSE(fenster->close());
            }
        });
        fenster->CompareButton_Click();
        EXPECT_TRUE(versucht);
        if (eingriff == nichts) {
            EXPECT_TRUE(meldungen.empty()) << meldungen.front();
            EXPECT_EQ(info(), "7 kopieren / 1 löschen");
            EXPECT_NE(t().Arbeitsbaum->wurzel(), nullptr);
            fenster->bäume_reset();  // idle: allowed
            EXPECT_EQ(t().Arbeitsbaum->topLevelItemCount(), 0);
            continue;
        }
        EXPECT_EQ(meldungen.empty(), eingriff == sitzungsende);  // no box waits at the end
        EXPECT_EQ(fenster->isVisible(), eingriff != sitzungsende);
        if (eingriff != sitzungsende) {
            EXPECT_EQ(meldungen, Texte{"Aufgaben ermitteln abgebrochen"});
            EXPECT_EQ(t().Arbeitsbaum->topLevelItemCount(), 0);
            EXPECT_EQ(info(), "");
            EXPECT_EQ(t().CompareButton->text(), "vergleichen");
            EXPECT_TRUE(t().SyncButton->isEnabled());
            EXPECT_TRUE(fenster->close());  // now it closes
        }
        EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", ""), daten / "q");  // and saves
    }
}

}  // namespace
}  // namespace tarvendo
