#include "engine/pfadklasse.h"

#include <gtest/gtest.h>

namespace tarvendo {
namespace {

TEST(Pfadklasse, NachschlagenUndEntfernen) {
    Pfadklasse wurzel("/daten");
    Pfadklasse& bilder = wurzel.setze_pfad("Bilder");
    bilder.setze_pfad("Urlaub");
    EXPECT_EQ(wurzel.gib_pfad("BILDER"), &bilder);
    EXPECT_EQ(wurzel.gib_pfad("bilder/urlaub")->pfadname, "Urlaub");
    EXPECT_EQ(wurzel.gib_pfad("fehlt/urlaub"), nullptr);
    EXPECT_EQ(wurzel.gib_pfad("Bilder/fehlt"), nullptr);
    EXPECT_EQ(bilder.parent, &wurzel);

    wurzel.setze_datei("Maße.txt", 1.0, 10, 0);
    wurzel.setze_datei("Masse.txt", 2.0, 20, 0);
    EXPECT_EQ(wurzel.dateien.size(), 2u);
    EXPECT_EQ(wurzel.gib_datei("MASSE.TXT")->größe, 20);
    EXPECT_FALSE(wurzel.lösche_datei("nix"));
    EXPECT_FALSE(wurzel.lösche_pfad("nix"));
    EXPECT_EQ(wurzel.dateien.size(), 2u);
    EXPECT_TRUE(wurzel.lösche_pfad("bilder"));
    EXPECT_EQ(wurzel.gib_pfad("Bilder"), nullptr);
}

TEST(Pfadklasse, KopierenZählenUndVollerPfad) {
    Pfadklasse quelle("/q");
    Pfadklasse& a = quelle.setze_pfad("a");
    a.setze_pfad("leer");
    Pfadklasse& b = a.setze_pfad("b");
    b.setze_datei("x", 3.5, 7, 1);
    a.setze_datei("y", 4.5, 8, 0);
    EXPECT_EQ(b.fullpath(), "/q/a/b");
    EXPECT_EQ(quelle.gib_dateianzahl(), 2);
    EXPECT_EQ(a.gib_pfad("leer")->gib_dateianzahl(), 0);

    Pfadklasse aufgaben("");
    a.pfad_kopieren(aufgaben, aufgabe_kopieren);
    const Pfadklasse* kopie = aufgaben.gib_pfad("a");
    ASSERT_NE(kopie, nullptr);
    EXPECT_EQ(kopie->aufgabe, aufgabe_kopieren);
    EXPECT_EQ(kopie->gib_pfad("leer")->aufgabe, aufgabe_kopieren);
    const Dateiklasse* x = kopie->gib_pfad("b")->gib_datei("x");
    ASSERT_NE(x, nullptr);
    EXPECT_NE(x, b.gib_datei("x"));  // never shared
    EXPECT_EQ(x->aufgabe, aufgabe_kopieren);
    EXPECT_EQ(x->größe, 7);
    EXPECT_EQ(x->attr, 1u);
    EXPECT_EQ(kopie->gib_pfad("b")->fullpath(), "/a/b");
    EXPECT_EQ(aufgaben.fullpath(), "");
    EXPECT_EQ(b.gib_datei("x")->aufgabe, aufgabe_keine);  // source untouched

    // Subdirectories come before files at every level, in order.
    std::vector<std::string> namen;
    for (const Pfadklasse& p : *&kopie->pfade) namen.push_back(p.pfadname);
    EXPECT_EQ(namen, (std::vector<std::string>{"leer", "b"}));

    aufgaben.setze_aufgaben(aufgabe_löschen);
    EXPECT_EQ(aufgaben.aufgabe, aufgabe_keine);  // the node itself keeps its code
    EXPECT_EQ(kopie->gib_pfad("b")->gib_datei("x")->aufgabe, aufgabe_löschen);
}

TEST(Pfadklasse, HäkchenWerdenNachObenAbgeleitet) {
    Pfadklasse wurzel("");
    Pfadklasse& a = wurzel.setze_pfad("a");
    Pfadklasse& leer = a.setze_pfad("leer");
    Pfadklasse& b = wurzel.setze_pfad("b");
    b.setze_datei("f1", 0, 0, 0);
    b.setze_datei("f2", 0, 0, 0);

    leer.setze_pfadchecked(true);
    EXPECT_TRUE(leer.checked);
    EXPECT_TRUE(a.checked);
    EXPECT_TRUE(wurzel.checked);
    EXPECT_FALSE(b.checked);

    leer.setze_pfadchecked(false);
    EXPECT_FALSE(a.checked);
    EXPECT_FALSE(wurzel.checked);

    wurzel.setze_pfadchecked(true);
    EXPECT_TRUE(b.gib_datei("f2")->checked);
    b.setze_dateichecked("F1", false);
    EXPECT_TRUE(b.checked);
    b.setze_dateichecked("f2", false);
    EXPECT_FALSE(b.checked);
    EXPECT_TRUE(wurzel.checked);  // a is still checked

    // An unknown name changes no record but still re-derives the flags.
    a.setze_checked(false);
    b.checked = true;
    b.setze_dateichecked("fehlt", true);
    EXPECT_FALSE(b.checked);
    EXPECT_FALSE(wurzel.checked);
}

}  // namespace
}  // namespace tarvendo
