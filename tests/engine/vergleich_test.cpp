#include "engine/vergleich.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/aufgabenermittlung.h"
#include "engine/verzeichnisscan.h"
#include "engine/zielmedium.h"
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
// nicht_gelesen that source directory ("": the root) was not read completely,
// in rows with ohne_schreibweise the target ignores letter case, in rows with
// grenze that target directory is a mount point.
TEST(Aufgabenermittlung, Zuordnung) {
    const struct {
        Zeilen quelle, ziel, erwartet;
        const char* nicht_gelesen = nullptr;
        bool ohne_schreibweise = false;
        const char* grenze = nullptr;
    } fälle[] = {
        {{"a/", "a/b/x", "a/leer/", "y"}, {"a/", "a/b/x", "a/leer/", "y"}, {}},
        // Names that differ in letter case only never stand in for one another.
        {{"a.txt", "A.txt"}, {}, {"2 /a.txt", "2 /A.txt"}},
        {{"a.txt"}, {"a.txt", "A.txt"}, {"3 /A.txt"}},
        {{"a.txt"}, {"A.txt", "a.txt"}, {"3 /A.txt"}},
        {{"a.txt", "A.txt"}, {"A.txt"}, {"2 /a.txt"}},  // each meets its own counterpart
        {{"d/", "D/"}, {}, {"2 /d/", "2 /D/"}},
        {{"d/"}, {"d/", "D/"}, {"3 /D/"}},
        {{"d/x"}, {"D/x", "d/x"}, {"3 /D/", "3 /D/x"}},
        {{"Straße"}, {"Strasse"}, {"2 /Straße", "3 /Strasse"}},  // ß is never ss
        {{"Straße"}, {"STRAßE"}, {}},
        {{"ärger"}, {"ÄRGER"}, {}},
        // Below a source directory not read, copies only, at every depth.
        {{"a/", "a/neu", "a/b/", "a/b/gleich", "c/", "k"},
         {"a/", "a/alt", "a/b/", "a/b/gleich", "a/b/nurz", "a/weg/", "a/weg/x", "c/", "c/nurz",
          "z"},
         {"0 /a/", "2 /a/neu", "0 /c/", "3 /c/nurz", "2 /k", "3 /z"},
         "a"},
        {{"gelesen"}, {"d/", "d/x", "y"}, {"2 /gelesen"}, ""},
        // Of case twins the first by byte order meets the target's entry in
        // any spelling; the others are copies that the run reports failed.
        {{"a.txt", "A.txt"}, {"a.txt"}, {"2! /a.txt"}, nullptr, true},
        {{"d/x", "D/y"}, {"d/y"}, {"2! /d/", "2 /d/x"}, nullptr, true},
        {{"x", "X/"}, {"x"}, {"2 /X/", "2! /x", "3 /x"}, nullptr, true},
        {{"a/"}, {"a/", "a/m/", "a/m/x", "a/y"}, {"0 /a/", "3 /a/y"}, nullptr, false, "a/m"},
        // A mount point below a directory to delete keeps all it holds; the count goes deep.
        {{}, {"d/e/f/x", "d/m/x"}, {"3 /d/", "3 /d/e/", "3 /d/e/f/", "3 /d/e/f/x"}, nullptr, false,
         "d/m"},
    };
    // Only files count as copies and deletions.
    const auto anzahl = [](const Zeilen& z, char code) {
        return std::count_if(z.begin(), z.end(),
                             [&](auto& s) { return s[0] == code && s.back() != '/'; });
    };
    for (const auto& f : fälle) {
        Ermittlung e(f.quelle, f.ziel);
        if (f.nicht_gelesen)
            (*f.nicht_gelesen ? *e.quelle.gib_pfad(f.nicht_gelesen) : e.quelle).nicht_gelesen =
                true;
        e.ermittlung.setze_ziel_ignoriert_schreibweise(f.ohne_schreibweise);
        if (f.grenze) e.ziel.gib_pfad(f.grenze)->geschützt = true;
        SCOPED_TRACE(testing::PrintToString(f.quelle) + " " + testing::PrintToString(f.ziel));
        EXPECT_EQ(e.los(), !f.erwartet.empty());
        EXPECT_EQ(zeilen(e.aufgaben), f.erwartet);
        EXPECT_EQ(e.zustand.anzahl_kopieren, anzahl(f.erwartet, '2'));
        EXPECT_EQ(e.zustand.anzahl_löschen, anzahl(f.erwartet, '3'));
    }
}

// Target time minus source time, target size (source: 100) and attributes: changed?
TEST(Aufgabenermittlung, ÄnderungNachZeitUndGröße) {
    const struct {
        std::int64_t sekunden, größe;
        bool kopieren;
        std::uint32_t attr = 1;
    } fälle[] = {{2, 100, false}, {-2, 100, false},  {3, 100, true},
                 {-3, 100, true}, {3600, 100, true},  // a newer target is replaced all the same
                 {0, 101, true},  {0, 100, true, attr_verknüpfung}};  // a link is never the file
    // Days as a double carry an error: at this instant 2 s apart computes
    // as 2.0000005 s, still equal.
    const double früh = datum_aus_sekunden(4102444800), spät = datum_aus_sekunden(4102444802);
    ASSERT_NE((spät - früh) * 86400.0, 2.0);
    EXPECT_FALSE(ist_geändert(Dateiklasse{"f", 1, früh}, Dateiklasse{"f", 1, spät}));
    // A time outside what FAT keeps: the copy moved it into range, and that
    // is no change; any other time is.
    for (const std::int64_t sekunden : {100'000'000LL, 4'389'379'200LL}) {
        const Dateiklasse q{"f", 1, datum_aus_sekunden(sekunden)};
        const auto im_medium = zeit_im_medium({static_cast<time_t>(sekunden), 0}, 0).tv_sec;
        EXPECT_TRUE(im_medium >= 315'532'800 && im_medium < 4'354'819'200);  // 1980 to 2107
        EXPECT_FALSE(ist_geändert(q, Dateiklasse{"f", 1, datum_aus_sekunden(im_medium)}));
        EXPECT_TRUE(ist_geändert(q, Dateiklasse{"f", 1, datum_aus_sekunden(400'000'000)}));
    }
    for (const auto& f : fälle) {
        Ermittlung e;
        füge_ein(e.quelle, "f", 100, basis, 0);
        füge_ein(e.ziel, "f", f.größe, basis + f.sekunden, f.attr);
        EXPECT_EQ(e.los(), f.kopieren) << f.sekunden << " s, " << f.größe << " B";
        EXPECT_TRUE(e.ziel.dateien.empty());  // changed or not, the match is consumed
        if (!f.kopieren) continue;
        ASSERT_EQ(zeilen(e.aufgaben), Zeilen{"2 /f"});
        const Dateiklasse& a = *e.aufgaben.gib_datei("f");
        EXPECT_EQ(a.größe, 100);
        EXPECT_EQ(a.datum, datum_aus_sekunden(basis));
        EXPECT_EQ(a.attr, f.attr);  // of the file that will be overwritten
    }
}

// Source and target rights, what the target keeps, reached through a link:
// would a copy of the source there have other rights?
TEST(Aufgabenermittlung, RechteWieEineKopieSieHätte) {
    const struct {
        Rechte quelle, ziel;
        Rechtepflege pflege;
        bool verknüpft, abweichend;
    } fälle[] = {
        {{0644, 5, 5}, {0644, 5, 5}, {true, false}, false, false},
        {{0600, 5, 5}, {0644, 5, 5}, {true, false}, false, true},
        {{0600, 5, 5}, {0755, 5, 5}, {false, false}, false, false},  // FAT keeps none
        {{0644, 5, 5}, {0644, 0, 0}, {true, false}, false, false},   // owners not carried
        {{0644, 5, 5}, {0644, 0, 5}, {true, true}, false, true},
        {{0644, 5, 5}, {0644, 5, 0}, {true, true}, false, true},
        // setuid and setgid only where owner and group are the source's
        {{06755, 0, 0}, {0755, 5, 5}, {true, false}, false, false},
        {{06755, 0, 0}, {02755, 5, 0}, {true, false}, false, false},
        {{06755, 0, 0}, {0755, 0, 0}, {true, false}, false, true},
        // and never through a link
        {{06755, 0, 0}, {0755, 0, 0}, {true, true}, true, false},
        {{06755, 0, 0}, {06755, 0, 0}, {true, true}, true, true},
    };
    for (const auto& f : fälle)
        EXPECT_EQ(rechte_weichen_ab(f.quelle, f.ziel, f.pflege, f.verknüpft), f.abweichend)
            << std::oct << f.quelle.modus << " " << f.ziel.modus << std::dec << " "
            << f.ziel.benutzer << " " << f.ziel.gruppe << " " << f.pflege.bits
            << f.pflege.eigentümer << f.verknüpft;
}

TEST(Aufgabenermittlung, ReihenfolgeUndZählung) {
    Ermittlung e({"neu1", "m/", "m/tief/t", "nurq/", "nurq/u1/x", "nurq/u2/y", "nurq/u2/z", "leer/",
                  "same/", "same/s", "a.txt", "x/"},
                 {"alt2", "alt1", "m/", "m/tief/t", "same/", "same/s", "nurz/", "nurz/w",
                  "nurz/v/w", "A.TXT", "x", "nurz2/"});
    e.quelle.gib_pfad("m/tief")->gib_datei("t")->größe = 5;
    e.quelle.gib_datei("a.txt")->größe = 7;
    const Zeilen quelle_vorher = zeilen(e.quelle);

    EXPECT_TRUE(e.los());
    // clang-format off
    EXPECT_EQ(zeilen(e.aufgaben), (Zeilen{
        "0 /m/", "0 /m/tief/", "2 /m/tief/t", "2 /nurq/", "2 /nurq/u1/", "2 /nurq/u1/x",
        "2 /nurq/u2/", "2 /nurq/u2/y", "2 /nurq/u2/z", "2 /leer/",
        "2 /x/",  // a directory never matches a file
        "3 /nurz/", "3 /nurz/v/", "3 /nurz/v/w", "3 /nurz/w", "3 /nurz2/",
        "2 /neu1", "2 /a.txt",  // the source's spelling
        "3 /alt2", "3 /alt1", "3 /x"}));
    // clang-format on
    EXPECT_EQ(e.anzeigen.info.letzter_text, "6 kopieren / 5 löschen");
    const Dateiklasse* x = e.aufgaben.gib_pfad("nurq/u1")->gib_datei("x");  // a copied subtree
    EXPECT_TRUE(x->größe == 1 && x->datum == datum_aus_sekunden(basis));
    // Only the target-only entries are left in the target tree; the source is only read.
    EXPECT_EQ(zeilen(e.ziel), (Zeilen{"0 /nurz/", "0 /nurz/v/", "0 /nurz/v/w", "0 /nurz/w",
                                      "0 /nurz2/", "0 /alt2", "0 /alt1", "0 /x"}));
    EXPECT_EQ(zeilen(e.quelle), quelle_vorher);
    // The directory being compared is shown with its full source path.
    EXPECT_EQ(e.anzeigen.verzeichnis.aufrufe,
              (Zeilen{"text:/q", "text:/q/m", "text:/q/m/tief", "text:/q/same"}));
}

// Yields: a (2), b (2), then the root's two phases, then the 100th copy.
TEST(Aufgabenermittlung, AbbruchEndetAmNächstenTest) {
    Zeilen neue{"0 /a/", "2 /a/f", "0 /b/", "2 /b/neu/", "3 /b/alt", "3 /z/"};
    for (int i = 100; i < 199; ++i) neue.push_back("2 /n" + std::to_string(i));
    const std::pair<int, Zeilen> fälle[] = {
        {1, {}},  // in a's first phase: a leaves no node, b is not entered
        {4, {"0 /a/", "2 /a/f", "0 /b/", "2 /b/neu/"}},  // in b's second phase: before its file deletion
        {5, {"0 /a/", "2 /a/f", "0 /b/", "2 /b/neu/", "3 /b/alt"}},  // after the root's first: z stays
        {6, {"0 /a/", "2 /a/f", "0 /b/", "2 /b/neu/", "3 /b/alt", "3 /z/"}},
        {7, neue},  // at the 100th copy: a/f and 99 new files
    };
    for (const auto& [bei, erwartet] : fälle) {
        Ermittlung e({"a/", "a/f", "b/", "b/neu/"}, {"a/", "b/", "b/alt", "z/"});
        for (int i = 100; i < 200; ++i) füge_ein(e.quelle, "n" + std::to_string(i));
        e.schleife.bei_nachgeben = [&](int n) { e.zustand.abbruch |= n == bei; };
        (void)e.los();
        EXPECT_EQ(zeilen(e.aufgaben), erwartet) << "Abbruch beim Nachgeben " << bei;
    }
}

TEST(Vergleich, PrüfungDerVerzeichnisse) {
    const struct {
        const char *quelle, *ziel, *meldung;  // meldung nullptr: accepted
    } fälle[] = {
        {"", "", "Quellverzeichnis nicht festgelegt"},
        {"/q", "", "Zielverzeichnis nicht festgelegt"},
        {"/daten", "/daten", "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein"},
        {"/Daten", "/daten", nullptr},
        {"/daten", "/daten/sicherung", nullptr},
        // Both pseudo file systems' roots are inode 1: only the device tells them apart.
        {"/sys/kernel", "/proc", nullptr},
    };
    for (const auto& f : fälle)
        EXPECT_EQ(prüfe_verzeichnisse(f.quelle, f.ziel),
                  f.meldung ? std::optional<std::string_view>(f.meldung) : std::nullopt)
            << f.quelle << " " << f.ziel;
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

    explicit Lauf(const Zeilen& pfade) {
        lege_an({"q/", "z/"});
        lege_an(pfade);
    }
    // Empty files, and directories for the names ending in "/".
    void lege_an(const Zeilen& pfade) {
        for (const std::string& p : pfade)
            p.ends_with('/') ? test::erstelle_verzeichnis(tmp / p)
                             : test::schreibe_datei(tmp / p, "");
    }
    void los() { (void)vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem); }
};

TEST(Vergleich, VollständigerLaufUndWiederholung) {
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
    EXPECT_TRUE(aufgaben.gib_datei("alt")->checked);
    EXPECT_EQ(
        l.anzeigen.schritt.aufrufe,
        (Zeilen{"text:Speicher freigeben", "text:Quellverzeichnisstruktur auslesen",
                "text:Zielverzeichnisstruktur auslesen", "text:Aufgaben ermitteln", "text:"}));
    EXPECT_EQ(l.anzeigen.info.letzter_text, "1 kopieren / 1 löschen");
    EXPECT_EQ(l.anzeigen.verzeichnis.letzter_text + l.anzeigen.datei.letzter_text, "");
    // The target's scan starts its counts afresh.
    EXPECT_EQ(std::count(l.anzeigen.info.aufrufe.begin(), l.anzeigen.info.aufrufe.end(),
                         "text:0 Verzeichnisse / 0 Dateien"),
              2);

    // A second run replaces the trees, the counts and the list of what was not read.
    // Both trees take the offset from UTC the run began with, even if the
    // zone changes on the way.
    l.dateisystem.öffnen_scheitert.clear();
    l.lege_an({"z/d/", "z/d/neu"});
    ::setenv("TZ", "XYZ-2", 1);
    ::tzset();
    l.schleife.bei_nachgeben = [&](int) {
        const bool ziel = l.anzeigen.schritt.letzter_text == "Zielverzeichnisstruktur auslesen";
        ::setenv("TZ", ziel ? "XYZ+5" : "XYZ+9", 1);
        ::tzset();
    };
    l.los();
    ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(zeilen(*l.stand.aufgabenbaum), (Zeilen{"0 /a/", "3 /a/bleibt", "3 /b/", "3 /alt"}));
    EXPECT_TRUE(l.stand.nicht_gelesen.empty());
    EXPECT_EQ(l.anzeigen.info.letzter_text, "0 kopieren / 2 löschen");
}

// Cancelled while reading the source: neither the target is read nor tasks
// determined, and every display is left empty.
TEST(Vergleich, Abbruch) {
    Lauf l({"q/u/", "q/x", "z/alt"});
    bool geschachtelt = true;
    l.schleife.bei_nachgeben = [&](int) {  // leaving u
        // A second command started from inside the yield is refused and
        // leaves the trees being walked alone.
        const Pfadklasse* quellbaum = l.stand.quellbaum.get();
        geschachtelt = vergleiche(l.stand, l.quelle, l.ziel, l.anzeigen.alle, l.schleife,
                                  l.zustand, l.dateisystem);
        EXPECT_EQ(l.stand.quellbaum.get(), quellbaum);
        l.zustand.abbruch = true;
    };

    l.los();
    EXPECT_FALSE(geschachtelt);
    EXPECT_FALSE(l.zustand.läuft);

    EXPECT_TRUE(l.stand.abgebrochen);
    EXPECT_EQ(l.stand.quellbaum->gib_datei("x"), nullptr);
    EXPECT_TRUE(zeilen(*l.stand.aufgabenbaum).empty() && !l.stand.aufgabenbaum->checked);
    EXPECT_EQ(
        l.anzeigen.schritt.aufrufe,
        (Zeilen{"text:Speicher freigeben", "text:Quellverzeichnisstruktur auslesen", "text:"}));
    for (const auto* a : {&l.anzeigen.verzeichnis, &l.anzeigen.datei, &l.anzeigen.info})
        EXPECT_EQ(a->letzter_text, "");
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

    // Links not followed and special files have headings of their own.
    Vergleichsstand stand;
    EXPECT_EQ(vergleichshinweis(stand), std::nullopt);
    stand.übergangen = {"/q/self"};
    stand.sonderdateien = {"/q/rohr"};
    const std::string hinweis = vergleichshinweis(stand).value_or("");
    EXPECT_NE(hinweis.find("nicht gelesen, weil sie zum Quellverzeichnis zurückführen, schon "
                           "gelesen wurden oder zu einem Systemdateisystem gehören:\n/q/self\n"),
              std::string::npos)
        << hinweis;
    EXPECT_NE(hinweis.find("(Pipes, Sockets, Geräte) wurden nicht gesichert:\n/q/rohr\n"),
              std::string::npos)
        << hinweis;
}

}  // namespace
}  // namespace tarvendo
