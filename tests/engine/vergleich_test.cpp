#include "engine/vergleich.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "testhilfe/fakes.h"
#include "testhilfe/gestoerte_quelle.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

using test::erstelle_verzeichnis;
using test::schreibe_datei;

TEST(Vergleich, PrüfungDerVerzeichnisse) {
    struct Fall {
        const char* quelle;
        const char* ziel;
        const char* meldung;  // nullptr: accepted
    };
    const Fall fälle[] = {
        {"", "", "Quellverzeichnis nicht festgelegt"},
        {"", "/z", "Quellverzeichnis nicht festgelegt"},
        {"/q", "", "Zielverzeichnis nicht festgelegt"},
        {"/daten", "/daten", "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein"},
        {"/Daten", "/daten", nullptr},
        {"/daten", "/daten/sicherung", nullptr},
    };
    for (const Fall& f : fälle) {
        const auto meldung = prüfe_verzeichnisse(f.quelle, f.ziel);
        if (f.meldung)
            EXPECT_EQ(meldung, f.meldung) << f.quelle << " " << f.ziel;
        else
            EXPECT_FALSE(meldung) << f.quelle << " " << f.ziel;
    }
}

struct Lauf {
    test::TempVerzeichnis tmp;
    std::string quelle = tmp / "q", ziel = tmp / "z";
    test::AufzeichnendeAnzeigen anzeigen;
    test::ZählendeSchleife schleife;
    Programmzustand zustand;
    test::GestörteQuelle dateisystem;
    Vergleichsstand stand;

    Lauf() {
        erstelle_verzeichnis(quelle);
        erstelle_verzeichnis(ziel);
    }
    void los() { vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem); }
};

TEST(Vergleich, VollständigerLauf) {
    Lauf l;
    erstelle_verzeichnis(l.quelle + "/d");
    schreibe_datei(l.quelle + "/d/neu", "n");
    schreibe_datei(l.ziel + "/alt", "a");
    l.zustand.abbruch = true;  // left over from an earlier run
    l.zustand.anzahl_kopieren = 7;

    l.los();

    ASSERT_FALSE(l.stand.abgebrochen);
    EXPECT_EQ(l.stand.quellbaum->pfadname, l.quelle);
    EXPECT_EQ(l.stand.zielbaum->pfadname, l.ziel);
    EXPECT_EQ(l.stand.aufgabenbaum->pfadname, "");
    EXPECT_TRUE(l.stand.aufgabenbaum->checked);
    EXPECT_TRUE(l.stand.aufgabenbaum->gib_pfad("d")->checked);
    EXPECT_TRUE(l.stand.aufgabenbaum->gib_pfad("d")->gib_datei("neu")->checked);
    EXPECT_TRUE(l.stand.aufgabenbaum->gib_datei("alt")->checked);
    EXPECT_EQ(l.zustand.anzahl_kopieren, 1);
    EXPECT_EQ(l.zustand.anzahl_löschen, 1);
    EXPECT_TRUE(l.stand.nicht_gelesen.empty());
    EXPECT_EQ(l.anzeigen.schritt.aufrufe,
              (std::vector<std::string>{
                  "text:Speicher freigeben", "text:Quellverzeichnisstruktur auslesen",
                  "text:Zielverzeichnisstruktur auslesen", "text:Aufgaben ermitteln", "text:"}));
    EXPECT_EQ(l.anzeigen.info.letzter_text, "1 kopieren / 1 löschen");
    EXPECT_EQ(l.anzeigen.verzeichnis.letzter_text, "");
    EXPECT_EQ(l.anzeigen.datei.letzter_text, "");
    // The target's scan starts its counts afresh.
    EXPECT_EQ(std::count(l.anzeigen.info.aufrufe.begin(), l.anzeigen.info.aufrufe.end(),
                         "text:0 Verzeichnisse / 0 Dateien"),
              2);
}

// Deleting below a directory link in the target would delete outside the
// target tree: a target-only link is only to be removed itself, and below a
// matched one nothing is deleted.
TEST(Vergleich, NichtsWirdDurchEinenLinkGelöscht) {
    Lauf l;
    const std::string draußen = l.tmp / "draussen";
    erstelle_verzeichnis(draußen);
    schreibe_datei(draußen + "/wertvoll", "w");
    erstelle_verzeichnis(draußen + "/unter");
    schreibe_datei(draußen + "/unter/auch", "a");
    ASSERT_EQ(::symlink(draußen.c_str(), (l.ziel + "/nur_ziel").c_str()), 0);
    ASSERT_EQ(::symlink(draußen.c_str(), (l.ziel + "/beide").c_str()), 0);
    erstelle_verzeichnis(l.quelle + "/beide");
    schreibe_datei(l.quelle + "/beide/neu", "n");

    l.los();

    const Pfadklasse& aufgaben = *l.stand.aufgabenbaum;
    const Pfadklasse* nur_ziel = aufgaben.gib_pfad("nur_ziel");
    ASSERT_NE(nur_ziel, nullptr);
    EXPECT_EQ(nur_ziel->aufgabe, aufgabe_löschen);
    EXPECT_TRUE(nur_ziel->ist_verknüpfung);
    EXPECT_TRUE(nur_ziel->pfade.empty() && nur_ziel->dateien.empty());
    const Pfadklasse* beide = aufgaben.gib_pfad("beide");
    ASSERT_NE(beide, nullptr);
    ASSERT_EQ(beide->dateien.size(), 1u);
    EXPECT_EQ(beide->gib_datei("neu")->aufgabe, aufgabe_kopieren);
    EXPECT_TRUE(beide->pfade.empty());
    EXPECT_EQ(l.zustand.anzahl_kopieren, 1);
    EXPECT_EQ(l.zustand.anzahl_löschen, 0);
}

TEST(Vergleich, ZweiterLaufErsetztDieBäume) {
    Lauf l;
    schreibe_datei(l.quelle + "/x", "");
    l.los();
    const Pfadklasse* erster = l.stand.aufgabenbaum.get();
    ASSERT_NE(erster->gib_datei("x"), nullptr);
    schreibe_datei(l.ziel + "/x", "");
    l.los();
    EXPECT_TRUE(l.stand.aufgabenbaum->dateien.empty());
    EXPECT_EQ(l.anzeigen.info.letzter_text, "0 kopieren / 0 löschen");
}

TEST(Vergleich, AbbruchWährendDerQuelle) {
    Lauf l;
    erstelle_verzeichnis(l.quelle + "/u");
    schreibe_datei(l.ziel + "/alt", "");
    l.schleife.bei_nachgeben = [&](int) { l.zustand.abbruch = true; };

    l.los();

    EXPECT_TRUE(l.stand.abgebrochen);
    EXPECT_EQ(l.dateisystem.geöffnet, (std::vector<std::string>{l.quelle, l.quelle + "/u"}));
    EXPECT_TRUE(l.stand.aufgabenbaum->dateien.empty());
    EXPECT_FALSE(l.stand.aufgabenbaum->checked);
    for (const auto* a :
         {&l.anzeigen.schritt, &l.anzeigen.verzeichnis, &l.anzeigen.datei, &l.anzeigen.info})
        EXPECT_EQ(a->letzter_text, "");
    EXPECT_EQ(l.anzeigen.schritt.aufrufe.back(), "text:");
    EXPECT_EQ(std::count(l.anzeigen.schritt.aufrufe.begin(), l.anzeigen.schritt.aufrufe.end(),
                         "text:Zielverzeichnisstruktur auslesen"),
              0);
}

TEST(Vergleich, AbbruchNachDemZielÜberspringtDieErmittlung) {
    Lauf l;
    schreibe_datei(l.quelle + "/x", "");
    l.schleife.bei_nachgeben = [&](int n) {
        if (n == 2) l.zustand.abbruch = true;  // the yield after the target's scan
    };
    l.los();
    EXPECT_TRUE(l.stand.abgebrochen);
    EXPECT_TRUE(l.stand.aufgabenbaum->dateien.empty());
    EXPECT_EQ(l.zustand.anzahl_kopieren, 0);
}

TEST(Vergleich, UnlesbaresAusBeidenBäumen) {
    Lauf l;
    erstelle_verzeichnis(l.quelle + "/a");
    erstelle_verzeichnis(l.ziel + "/a");
    erstelle_verzeichnis(l.ziel + "/b");
    schreibe_datei(l.ziel + "/a/bleibt", "");
    l.dateisystem.öffnen_scheitert[l.quelle + "/a"] = EACCES;
    l.dateisystem.öffnen_scheitert[l.ziel + "/b"] = EIO;

    l.los();

    EXPECT_EQ(l.stand.nicht_gelesen, (std::vector<std::string>{l.quelle + "/a", l.ziel + "/b"}));
    // The unreadable source directory protects its target counterpart.
    EXPECT_EQ(l.stand.aufgabenbaum->gib_pfad("a"), nullptr);
    EXPECT_NE(l.stand.aufgabenbaum->gib_pfad("b"), nullptr);
}

TEST(Vergleich, HinweisAufNichtGeleseneVerzeichnisse) {
    EXPECT_EQ(nicht_gelesen_hinweis({"/q/a"}),
              "Folgende Verzeichnisse konnten nicht gelesen werden:\n/q/a\n\n"
              "Darunter wird im Zielverzeichnis nichts gelöscht.");
    std::vector<std::string> viele;
    for (int i = 1; i <= 12; ++i) viele.push_back("/v" + std::to_string(i));
    const std::string text = nicht_gelesen_hinweis(viele);
    EXPECT_NE(text.find("\n/v10\n… und 2 weitere\n\nDarunter"), std::string::npos) << text;
    EXPECT_EQ(text.find("/v11"), std::string::npos);
    viele.resize(10);
    EXPECT_EQ(nicht_gelesen_hinweis(viele).find("weitere"), std::string::npos);
}

}  // namespace
}  // namespace tarvendo
