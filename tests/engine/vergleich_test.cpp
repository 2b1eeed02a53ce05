#include "engine/vergleich.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "engine/aufgabenermittlung.h"
#include "engine/verzeichnisscan.h"
#include "testhilfe/fakes.h"
#include "testhilfe/gestoerte_quelle.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

constexpr std::int64_t basis = 1700000000;  // an arbitrary instant, seconds
using Zeilen = std::vector<std::string>;

// Adds "a/b/" (a directory chain) or "a/b/name" (a file under it) to a tree.
void füge_ein(Pfadklasse& wurzel, std::string pfad, std::int64_t größe = 1,
              std::int64_t sekunden = basis, std::uint32_t attr = 0) {
    Pfadklasse* k = &wurzel;
    for (std::size_t t; (t = pfad.find('/')) != std::string::npos; pfad.erase(0, t + 1)) {
        const std::string teil = pfad.substr(0, t);
        Pfadklasse* kind = k->pfade.gib(teil);
        k = kind && kind->pfadname == teil ? kind : &k->setze_pfad(teil);
    }
    if (!pfad.empty()) k->setze_datei(pfad, datum_aus_sekunden(sekunden), größe, attr);
}

// The tree as "code /path" lines, directories ending in "/", copies of case
// twins the target cannot hold marked "!": its order in full.
Zeilen zeilen(const Pfadklasse& k, const std::string& pfad = "") {
    Zeilen aus;
    const auto zwilling = [&](const std::string& name, std::int32_t aufgabe) {
        return aufgabe == aufgabe_kopieren && k.gib_zwilling(name) ? "!" : "";
    };
    for (const Pfadklasse& p : k.pfade) {
        aus.push_back(std::to_string(p.aufgabe) + zwilling(p.pfadname, p.aufgabe) + " " + pfad +
                      "/" + p.pfadname + "/");
        const Zeilen unten = zeilen(p, pfad + "/" + p.pfadname);
        aus.insert(aus.end(), unten.begin(), unten.end());
    }
    for (const Dateiklasse& d : k.dateien)
        aus.push_back(std::to_string(d.aufgabe) + zwilling(d.Name, d.aufgabe) + " " + pfad + "/" +
                      d.Name);
    return aus;
}

struct Ermittlung {
    Pfadklasse quelle{"/q"}, ziel{"/z"}, aufgaben{""};
    test::AufzeichnendeAnzeigen anzeigen;
    test::ZählendeSchleife schleife;
    Programmzustand zustand;
    Aufgabenermittlung ermittlung{anzeigen.alle, schleife, zustand};

    Ermittlung(const Zeilen& q = {}, const Zeilen& z = {}) {
        for (const std::string& p : q) füge_ein(quelle, p);
        for (const std::string& p : z) füge_ein(ziel, p);
    }
    bool los() { return ermittlung.aufgaben_ermitteln(quelle, ziel, aufgaben); }
};

// Source and target as for füge_ein, the tasks expected; in rows with
// ohne_schreibweise the target ignores letter case, in rows with grenze that
// target directory is a mount point.
TEST(Aufgabenermittlung, Zuordnung) {
    const struct {
        Zeilen quelle, ziel, erwartet;
        bool ohne_schreibweise = false;
        const char* grenze = nullptr;
    } fälle[] = {
        // Of case twins the first by byte order meets the target's entry in
        // any spelling; the others are copies that the run reports failed.
        {{"a.txt", "A.txt"}, {"a.txt"}, {"2! /a.txt"}, true},
        {{"d/x", "D/y"}, {"d/y"}, {"2! /d/", "2 /d/x"}, true},
        {{"x", "X/"}, {"x"}, {"2 /X/", "2! /x", "3 /x"}, true},
        {{"a/"}, {"a/", "a/m/", "a/m/x", "a/y"}, {"0 /a/", "3 /a/y"}, false, "a/m"},
        // A mount point below a directory to delete keeps all it holds; the count goes deep.
        {{}, {"d/e/f/x", "d/m/x"}, {"3 /d/", "3 /d/e/", "3 /d/e/f/", "3 /d/e/f/x"}, false, "d/m"},
    };
    for (const auto& f : fälle) {
        Ermittlung e(f.quelle, f.ziel);
        e.ermittlung.setze_ziel_ignoriert_schreibweise(f.ohne_schreibweise);
        if (f.grenze) e.ziel.gib_pfad(f.grenze)->geschützt = true;
        SCOPED_TRACE(testing::PrintToString(f.quelle) + " " + testing::PrintToString(f.ziel));
        EXPECT_EQ(e.los(), !f.erwartet.empty());
        EXPECT_EQ(zeilen(e.aufgaben), f.erwartet);
    }
}

// A compare run of q against z in a scratch directory.
struct Lauf {
    test::TempVerzeichnis tmp;
    std::string quelle = tmp / "q", ziel = tmp / "z";
    test::AufzeichnendeAnzeigen anzeigen;
    test::ZählendeSchleife schleife;
    Programmzustand zustand;
    test::GestörteQuelle dateisystem;
    Vergleichsstand stand;

    // Empty files, and directories for the names ending in "/".
    explicit Lauf(Zeilen pfade) {
        pfade.insert(pfade.begin(), {"q/", "z/"});
        for (const std::string& p : pfade)
            p.ends_with('/') ? test::erstelle_verzeichnis(tmp / p)
                             : test::schreibe_datei(tmp / p, "");
    }
    void los() {
        (void)vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem);
    }
};

TEST(Vergleich, VollständigerLauf) {
    Lauf l({"q/d/", "q/d/neu", "q/a/", "z/a/", "z/a/bleibt", "z/b/", "z/alt"});
    l.dateisystem.öffnen_scheitert[l.quelle + "/a"] = EACCES;
    l.dateisystem.öffnen_scheitert[l.ziel + "/b"] = EIO;
    l.zustand.abbruch = true;  // left over from an earlier run
    l.zustand.anzahl_kopieren = 7;

    l.los();

    ASSERT_FALSE(l.stand.abgebrochen);
    // The unreadable source directory a protects its target counterpart.
    const Pfadklasse& aufgaben = *l.stand.aufgabenbaum;
    EXPECT_EQ(zeilen(aufgaben), (Zeilen{"2 /d/", "2 /d/neu", "3 /b/", "3 /alt"}));
    EXPECT_EQ(l.stand.nicht_gelesen, (Zeilen{l.quelle + "/a", l.ziel + "/b"}));
    EXPECT_TRUE(aufgaben.checked && aufgaben.gib_pfad("d")->gib_datei("neu")->checked);
    EXPECT_EQ(l.anzeigen.info.letzter_text, "1 kopieren / 1 löschen");
}

// Cancelled while reading the source: neither the target is read nor tasks
// determined.
TEST(Vergleich, Abbruch) {
    Lauf l({"q/u/", "q/x", "z/alt"});
    bool geschachtelt = true;
    l.schleife.bei_nachgeben = [&](int) {  // leaving u
        // A second command started from inside the yield is refused and
        // leaves the trees being walked alone.
        const Pfadklasse* quellbaum = l.stand.quellbaum.get();
        geschachtelt = vergleiche(l.stand, l.quelle, l.ziel, l.anzeigen.alle, l.schleife, l.zustand,
                                  l.dateisystem);
        EXPECT_EQ(l.stand.quellbaum.get(), quellbaum);
        l.zustand.abbruch = true;
    };

    l.los();
    EXPECT_FALSE(geschachtelt);
    EXPECT_FALSE(l.zustand.läuft);

    EXPECT_TRUE(l.stand.abgebrochen);
    EXPECT_EQ(l.stand.quellbaum->gib_datei("x"), nullptr);
    EXPECT_TRUE(zeilen(*l.stand.aufgabenbaum).empty() && !l.stand.aufgabenbaum->checked);
}

TEST(Vergleich, HinweisAufNichtGelesenes) {
    EXPECT_EQ(nicht_gelesen_hinweis({"/q/a"}),
              "Folgende Verzeichnisse konnten nicht gelesen werden:\n/q/a\n\n"
              "Darunter wird im Zielverzeichnis nichts gelöscht.");
    Zeilen viele;
    for (int i = 1; i <= 12; ++i) viele.push_back("/v" + std::to_string(i));
    const std::string text = nicht_gelesen_hinweis(viele);
    EXPECT_NE(text.find("\n/v10\n… und 2 weitere\n\nDarunter"), std::string::npos) << text;
    EXPECT_EQ(text.find("/v11"), std::string::npos);
    viele.resize(10);
    EXPECT_EQ(nicht_gelesen_hinweis(viele).find("weitere"), std::string::npos);
}

}  // namespace
}  // namespace tarvendo
