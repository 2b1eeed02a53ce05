#include "engine/aufgabenermittlung.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/verzeichnisscan.h"
#include "testhilfe/fakes.h"

namespace tarvendo {
namespace {

constexpr std::int64_t basis = 1700000000;  // an arbitrary instant, seconds

// Adds "a/b/" (a directory chain) or "a/b/name" (a file under it) to a tree.
void füge_ein(Pfadklasse& wurzel, std::string pfad, std::int64_t größe = 1,
              std::int64_t sekunden = basis, std::uint32_t attr = 0) {
    Pfadklasse* knoten = &wurzel;
    std::size_t trenner;
    while ((trenner = pfad.find('/')) != std::string::npos) {
        const std::string teil = pfad.substr(0, trenner);
        Pfadklasse* kind = knoten->pfade.gib(teil);
        if (!kind || kind->pfadname != teil) kind = &knoten->setze_pfad(teil);
        knoten = kind;
        pfad.erase(0, trenner + 1);
    }
    if (!pfad.empty()) knoten->setze_datei(pfad, datum_aus_sekunden(sekunden), größe, attr);
}

// The task tree as "code /path" lines, directories ending in "/", code-0
// directories as "0 /path/": the order of the tree in full.
void zeilen(const Pfadklasse& k, const std::string& pfad, std::vector<std::string>& aus) {
    for (const Pfadklasse& p : k.pfade) {
        aus.push_back(std::to_string(p.aufgabe) + " " + pfad + "/" + p.pfadname + "/");
        zeilen(p, pfad + "/" + p.pfadname, aus);
    }
    for (const Dateiklasse& d : k.dateien)
        aus.push_back(std::to_string(d.aufgabe) + " " + pfad + "/" + d.Name);
}

std::vector<std::string> zeilen(const Pfadklasse& k) {
    std::vector<std::string> aus;
    zeilen(k, "", aus);
    return aus;
}

struct Ermittlung {
    Pfadklasse quelle{"/q"}, ziel{"/z"}, aufgaben{""};
    test::AufzeichnendeAnzeigen anzeigen;
    test::ZählendeSchleife schleife;
    Programmzustand zustand;
    Aufgabenermittlung ermittlung{anzeigen.alle, schleife, zustand};

    bool los() { return ermittlung.aufgaben_ermitteln(quelle, ziel, aufgaben); }
    [[nodiscard]] std::vector<std::string> infos() const {
        std::vector<std::string> t;
        for (const auto& a : anzeigen.info.aufrufe) t.push_back(a.substr(5));
        return t;
    }
};

TEST(Aufgabenermittlung, GleicheBäumeErgebenNichts) {
    Ermittlung e;
    for (Pfadklasse* b : {&e.quelle, &e.ziel})
        for (const char* p : {"a/", "a/b/x", "a/leer/", "y"}) füge_ein(*b, p);
    EXPECT_FALSE(e.los());
    EXPECT_TRUE(e.aufgaben.pfade.empty() && e.aufgaben.dateien.empty());
    EXPECT_EQ(e.zustand.anzahl_kopieren, 0);
    EXPECT_EQ(e.zustand.anzahl_löschen, 0);
    EXPECT_EQ(e.anzeigen.info.letzter_text, "0 kopieren / 0 löschen");
    // Everything matched was consumed from the target.
    EXPECT_TRUE(e.ziel.pfade.empty() && e.ziel.dateien.empty());
    EXPECT_EQ(e.quelle.gib_pfad("a/b")->dateien.size(), 1u);  // the source is only read
}

struct Änderung {
    std::int64_t sekunden;  // target time minus source time
    std::int64_t größe;     // target size (source: 100)
    bool kopieren;
};

class Änderungsregel : public testing::TestWithParam<Änderung> {};

TEST_P(Änderungsregel, ZeitUndGröße) {
    Ermittlung e;
    füge_ein(e.quelle, "f", 100, basis, 0);
    füge_ein(e.ziel, "f", GetParam().größe, basis + GetParam().sekunden, 1);
    EXPECT_EQ(e.los(), GetParam().kopieren);
    if (GetParam().kopieren) {
        ASSERT_EQ(zeilen(e.aufgaben), std::vector<std::string>{"2 /f"});
        const Dateiklasse& a = *e.aufgaben.gib_datei("f");
        EXPECT_EQ(a.größe, 100);
        EXPECT_EQ(a.datum, datum_aus_sekunden(basis));
        EXPECT_EQ(a.attr, 1u);  // of the file that will be overwritten
        EXPECT_EQ(e.zustand.anzahl_kopieren, 1);
    }
    EXPECT_TRUE(e.ziel.dateien.empty());  // changed or not, the match is consumed
    EXPECT_EQ(e.zustand.anzahl_löschen, 0);
}

INSTANTIATE_TEST_SUITE_P(Fälle, Änderungsregel,
                         testing::Values(Änderung{0, 100, false}, Änderung{2, 100, false},
                                         Änderung{-2, 100, false}, Änderung{3, 100, true},
                                         Änderung{-3, 100, true},
                                         Änderung{3600, 100, true},  // newer target
                                         Änderung{0, 101, true}, Änderung{0, 0, true}),
                         [](const auto& fall) {
                             const Änderung& ä = fall.param;
                             return (ä.sekunden < 0 ? "minus" : "plus") +
                                    std::to_string(ä.sekunden < 0 ? -ä.sekunden : ä.sekunden) +
                                    "s_groesse" + std::to_string(ä.größe);
                         });

TEST(Aufgabenermittlung, ReihenfolgeUndZählung) {
    Ermittlung e;
    for (const char* p : {"neu1", "m/", "m/tief/t", "nurq/", "nurq/u1/x", "nurq/u2/y", "nurq/u2/z",
                          "leer/", "same/", "same/s", "a.txt", "x/"})
        füge_ein(e.quelle, p);
    for (const char* p : {"alt2", "alt1", "m/", "m/tief/t", "same/", "same/s", "nurz/", "nurz/w",
                          "nurz/v/w", "A.TXT", "x", "nurz2/"})
        füge_ein(e.ziel, p);
    e.quelle.gib_pfad("m/tief")->gib_datei("t")->größe = 5;
    e.quelle.gib_datei("a.txt")->größe = 7;

    EXPECT_TRUE(e.los());
    // clang-format off
    EXPECT_EQ(zeilen(e.aufgaben), (std::vector<std::string>{
                                      "0 /m/", "0 /m/tief/", "2 /m/tief/t",
                                      "2 /nurq/", "2 /nurq/u1/", "2 /nurq/u1/x", "2 /nurq/u2/",
                                      "2 /nurq/u2/y", "2 /nurq/u2/z",
                                      "2 /leer/",
                                      "2 /x/",  // a directory never matches a file
                                      "3 /nurz/", "3 /nurz/v/", "3 /nurz/v/w", "3 /nurz/w",
                                      "3 /nurz2/",
                                      "2 /neu1", "2 /a.txt",  // the source's spelling
                                      "3 /alt2", "3 /alt1", "3 /x",
                                  }));
    // clang-format on
    EXPECT_EQ(e.zustand.anzahl_kopieren, 6);
    EXPECT_EQ(e.zustand.anzahl_löschen, 5);
    EXPECT_EQ(e.anzeigen.info.letzter_text, "6 kopieren / 5 löschen");
    // Only the target-only entries are left in the target tree.
    EXPECT_EQ(zeilen(e.ziel),
              (std::vector<std::string>{"0 /nurz/", "0 /nurz/v/", "0 /nurz/v/w", "0 /nurz/w",
                                        "0 /nurz2/", "0 /alt2", "0 /alt1", "0 /x"}));
    // The directory being compared is shown with its full source path.
    EXPECT_EQ(e.anzeigen.verzeichnis.aufrufe,
              (std::vector<std::string>{"text:/q", "text:/q/m", "text:/q/m/tief", "text:/q/same"}));
}

TEST(Aufgabenermittlung, GroßKleinDoppelteGehenNichtVerloren) {
    struct Fall {
        std::vector<const char*> quelle, ziel;
        std::vector<std::string> erwartet;
    };
    const Fall fälle[] = {
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
    };
    for (const Fall& f : fälle) {
        Ermittlung e;
        for (const char* p : f.quelle) füge_ein(e.quelle, p);
        for (const char* p : f.ziel) füge_ein(e.ziel, p);
        (void)e.los();
        EXPECT_EQ(zeilen(e.aufgaben), f.erwartet) << f.quelle[0] << " / " << f.ziel.size();
    }
}

TEST(Aufgabenermittlung, NichtGeleseneQuelleLöschtNichts) {
    Ermittlung e;
    for (const char* p : {"a/", "a/neu", "a/b/", "a/b/gleich", "c/", "k"}) füge_ein(e.quelle, p);
    for (const char* p : {"a/", "a/alt", "a/b/", "a/b/gleich", "a/b/nurz", "a/weg/", "a/weg/x",
                          "c/", "c/nurz", "z"})
        füge_ein(e.ziel, p);
    e.quelle.gib_pfad("a")->nicht_gelesen = true;

    EXPECT_TRUE(e.los());
    // Below a: copies only, at every depth; c and the root still lose their extras.
    EXPECT_EQ(zeilen(e.aufgaben), (std::vector<std::string>{"0 /a/", "2 /a/neu", "0 /c/",
                                                            "3 /c/nurz", "2 /k", "3 /z"}));
    EXPECT_EQ(e.zustand.anzahl_löschen, 2);
}

TEST(Aufgabenermittlung, NichtGeleseneQuellwurzelLöschtNirgends) {
    Ermittlung e;
    e.quelle.nicht_gelesen = true;
    füge_ein(e.quelle, "gelesen");
    for (const char* p : {"d/", "d/x", "y"}) füge_ein(e.ziel, p);
    EXPECT_TRUE(e.los());
    EXPECT_EQ(zeilen(e.aufgaben), std::vector<std::string>{"2 /gelesen"});
    EXPECT_EQ(e.zustand.anzahl_löschen, 0);
}

TEST(Aufgabenermittlung, EinseitigeVerzeichnisseZählenIhreDateien) {
    Ermittlung e;
    for (const char* p : {"neu/", "neu/a/x", "neu/a/y", "neu/b/c/z", "leer/"})
        füge_ein(e.quelle, p);
    EXPECT_TRUE(e.los());
    EXPECT_EQ(e.zustand.anzahl_kopieren, 3);
    const Pfadklasse* leer = e.aufgaben.gib_pfad("leer");
    ASSERT_NE(leer, nullptr);
    EXPECT_EQ(leer->aufgabe, aufgabe_kopieren);
    EXPECT_TRUE(leer->pfade.empty() && leer->dateien.empty());
    // Once per one-side directory and once at the end of the level.
    EXPECT_EQ(e.infos(),
              (std::vector<std::string>{"3 kopieren / 0 löschen", "3 kopieren / 0 löschen",
                                        "3 kopieren / 0 löschen"}));
}

TEST(Aufgabenermittlung, SummeJeHundertAufgaben) {
    Ermittlung e;
    for (int i = 0; i < 250; ++i) füge_ein(e.quelle, "n" + std::to_string(i));
    for (int i = 0; i < 100; ++i) füge_ein(e.ziel, "w" + std::to_string(i));
    EXPECT_TRUE(e.los());
    EXPECT_EQ(e.infos(), (std::vector<std::string>{
                             "100 kopieren / 0 löschen", "200 kopieren / 0 löschen",
                             "250 kopieren / 100 löschen", "250 kopieren / 100 löschen"}));
    EXPECT_EQ(e.schleife.anzahl, 5);  // two phases, 100, 200, and the 100th deletion
}

struct Abbruchfall {
    int bei_nachgeben;
    std::vector<std::string> erwartet;
};

class Abbruch : public testing::TestWithParam<Abbruchfall> {};

TEST_P(Abbruch, EndetAmNächstenTest) {
    Ermittlung e;
    for (const char* p : {"a/", "a/f", "b/"}) füge_ein(e.quelle, p);
    for (const char* p : {"a/", "b/", "b/alt", "z/"}) füge_ein(e.ziel, p);
    for (int i = 0; i < 100; ++i) füge_ein(e.quelle, "n" + std::to_string(100 + i));
    e.schleife.bei_nachgeben = [&](int n) {
        if (n == GetParam().bei_nachgeben) e.zustand.abbruch = true;
    };
    (void)e.los();
    EXPECT_EQ(zeilen(e.aufgaben), GetParam().erwartet);
}

std::vector<std::string> mit_neuen_bis(int letzte) {
    std::vector<std::string> z{"0 /a/", "2 /a/f", "0 /b/", "3 /b/alt", "3 /z/"};
    for (int i = 100; i <= letzte; ++i) z.push_back("2 /n" + std::to_string(i));
    return z;
}

// Yields: a (2), b (2), then the root's two phases, then the 100th copy.
INSTANTIATE_TEST_SUITE_P(Fälle, Abbruch,
                         testing::Values(
                             // In a's first phase: a stops before its file and leaves no node.
                             Abbruchfall{1, {}},
                             // In b's second phase: b stops before its file deletion.
                             Abbruchfall{4, {"0 /a/", "2 /a/f"}},
                             // After the root's first phase: z is not deleted.
                             Abbruchfall{5, {"0 /a/", "2 /a/f", "0 /b/", "3 /b/alt"}},
                             Abbruchfall{6, {"0 /a/", "2 /a/f", "0 /b/", "3 /b/alt", "3 /z/"}},
                             // At the 100th copy: a/f and 99 new files.
                             Abbruchfall{7, mit_neuen_bis(198)}),
                         [](const auto& fall) {
                             return "Nachgeben" + std::to_string(fall.param.bei_nachgeben);
                         });

}  // namespace
}  // namespace tarvendo
