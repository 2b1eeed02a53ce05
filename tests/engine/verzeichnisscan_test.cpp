#include "engine/verzeichnisscan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

#include "testhilfe/fakes.h"
#include "testhilfe/gestoerte_quelle.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

namespace fs = std::filesystem;
using test::schreibe_datei;
using Namen = std::set<std::string>;
using Pfade = std::vector<std::string>;

// Runs one scan over a scratch directory with recording fakes.
struct Scan {
    test::TempVerzeichnis tmp;
    test::AufzeichnendeAnzeigen anzeigen;
    test::ZählendeSchleife schleife;
    Programmzustand zustand;
    test::GestörteQuelle quelle;
    Pfadklasse wurzel{tmp.pfad()};
    Verzeichnisscan scan{anzeigen.alle, schleife, zustand, quelle};

    // Empty files, and directories for the names ending in "/".
    void lege_an(const Pfade& pfade) {
        for (const std::string& p : pfade)
            p.ends_with('/') ? test::erstelle_verzeichnis(tmp / p) : schreibe_datei(tmp / p, "");
    }
    void lies() { scan.verzeichnis_auslesen(tmp.pfad(), wurzel); }
};

// The names in a node, directories with a trailing "/".
Namen namen(const Pfadklasse* k) {
    if (!k) return {"(fehlt)"};
    Namen n;
    for (const Pfadklasse& p : k->pfade) n.insert(p.pfadname + "/");
    for (const Dateiklasse& d : k->dateien) n.insert(d.Name);
    return n;
}

TEST(Datum, TageSeit1899MitTageszeitAlsBruch) {
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(0), 25569.0);
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(86400 + 43200), 25570.5);
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(-21600), 25568.75);  // 1969-12-31 18:00
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(-25569LL * 86400), 0.0);
}

TEST(Verzeichnisscan, AlleArtenVonEinträgen) {
    Scan s;
    test::TempVerzeichnis draußen;
    test::erstelle_verzeichnis(draußen / "d");
    schreibe_datei(draußen / "d/x", "");
    s.lege_an({"unter/", "nurlesen", "echt/", "echt/i"});
    schreibe_datei(s.tmp / "unter/a.txt", "12345");
    fs::permissions(s.tmp / "nurlesen", fs::perms::owner_write, fs::perm_options::remove);
    fs::permissions(s.tmp / "unter", fs::perms(0750));
    fs::create_symlink("unter/a.txt", s.tmp / "dateilink");
    // Met before the directory it leads to, which is read where it lies.
    fs::create_symlink("echt", s.tmp / "abkürzung");
    fs::create_symlink(draußen / "d", s.tmp / "fremd");
    fs::create_symlink("fehlt/nirgends", s.tmp / "toter_link");
    fs::create_symlink("..", s.tmp / "echt/zurück");  // the start
    fs::create_symlink("schleife", s.tmp / "schleife");
    ASSERT_EQ(::mkfifo((s.tmp / "rohr").c_str(), 0600), 0);

    s.lies();

    const Pfadklasse& w = s.wurzel;
    EXPECT_EQ(namen(&w), (Namen{"unter/", "nurlesen", "echt/", "dateilink", "fremd/"}));
    const Dateiklasse* a = w.gib_pfad("unter")->gib_datei("a.txt");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->größe, 5);
    EXPECT_EQ(a->attr, 0u);
    EXPECT_EQ(w.gib_datei("nurlesen")->attr, attr_schreibgeschützt);
    EXPECT_EQ(w.gib_pfad("unter")->rechte.modus, 0750u);
    // A directory link outside the tree is read like the directory; links
    // back or to what was read protect their names in the target.
    EXPECT_EQ(namen(w.gib_pfad("fremd")), Namen{"x"});
    EXPECT_EQ(w.gib_pfad("fremd")->gib_datei("x")->attr, attr_über_verknüpfung);
    EXPECT_TRUE(w.ist_ungelesen("schleife") && w.ist_ungelesen("abkürzung"));
    EXPECT_TRUE(w.gib_pfad("echt")->ist_ungelesen("zurück"));
    EXPECT_FALSE(w.nicht_gelesen);

    // As a target the same tree is read without following a single link:
    // each is a record of its own, and so is the FIFO, marked as special. A
    // directory that became a link after the listing is not entered either.
    Scan t;
    Pfadklasse ziel{s.tmp.pfad()};
    t.quelle.vor_dem_öffnen = [&](const std::string& pfad) {
        if (pfad != s.tmp / "unter") return;
        fs::rename(pfad, s.tmp / "unter.alt");
        fs::create_directory_symlink("echt", pfad);
    };
    t.scan.verzeichnis_auslesen(s.tmp.pfad(), ziel, true);
    for (const char* n : {"dateilink", "abkürzung", "fremd", "toter_link", "schleife"}) {
        const Dateiklasse* l = ziel.gib_datei(n);
        ASSERT_NE(l, nullptr) << n;
        EXPECT_EQ(l->attr & attr_verknüpfung, attr_verknüpfung) << n;
    }
    EXPECT_EQ(ziel.gib_datei("toter_link")->größe, 14);  // the link's own size
    EXPECT_EQ(namen(ziel.gib_pfad("echt")), (Namen{"i", "zurück"}));
    ASSERT_NE(ziel.gib_datei("rohr"), nullptr);
    EXPECT_EQ(ziel.gib_datei("rohr")->attr & attr_sonderdatei, attr_sonderdatei);
    EXPECT_TRUE(namen(ziel.gib_pfad("unter")).empty());
    EXPECT_EQ(t.scan.nicht_gelesen, Pfade{s.tmp / "unter"});
}

// The target inside the source is left out of the source's tree, whichever
// way the walk meets it; a chain deeper than the walk may go ends in a
// directory marked not read, without exhausting stack or descriptors.
TEST(Verzeichnisscan, AusgenommenUndZuTief) {
    Scan s;
    s.lege_an({"sicherung/", "sicherung/x", "a"});
    fs::create_directory_symlink("sicherung", s.tmp / "umweg");
    struct stat st {};
    ASSERT_EQ(::stat((s.tmp / "sicherung").c_str(), &st), 0);
    s.scan.ausgenommen = Verzeichniskennung{st.st_dev, st.st_ino};
    test::erstelle_kette(s.tmp / "tief", Verzeichnisscan::größte_tiefe + 5);

    s.lies();

    EXPECT_EQ(namen(&s.wurzel), (Namen{"a", "tief/"}));
    std::size_t tiefe = 0;
    const Pfadklasse* k = s.wurzel.gib_pfad("tief");
    for (; !k->pfade.empty(); k = &*k->pfade.begin()) ++tiefe;
    EXPECT_EQ(tiefe, Verzeichnisscan::größte_tiefe - 1);
    EXPECT_TRUE(k->nicht_gelesen);
    EXPECT_EQ(s.scan.nicht_gelesen.size(), 1u);
}

// Once cancelled (at the 100th file, the 40th in u), no level reads further.
TEST(Verzeichnisscan, Abbruch) {
    Scan s;
    s.lege_an({"u/", "z/", "zz"});
    for (int i = 100; i < 160; ++i) schreibe_datei(s.tmp / ("f" + std::to_string(i)), "");
    for (int i = 100; i < 240; ++i) schreibe_datei(s.tmp / ("u/g" + std::to_string(i)), "");
    s.schleife.bei_nachgeben = [&](int n) { s.zustand.abbruch |= n == 1; };

    s.lies();

    EXPECT_EQ(s.wurzel.gib_pfad("u")->dateien.size(), 40u);
    EXPECT_TRUE(!s.wurzel.gib_pfad("z") && !s.wurzel.gib_datei("zz"));
    EXPECT_EQ(s.schleife.anzahl, 2);  // u still announces its end
}

// A start that is missing or cannot be opened is an empty marked root.
TEST(Verzeichnisscan, NichtLesbaresWirdMarkiert) {
    for (const bool fehlt : {true, false}) {
        Scan t;
        t.lege_an({"a"});
        const std::string start = fehlt ? t.tmp / "fehlt" : t.tmp.pfad();
        if (!fehlt) t.quelle.öffnen_scheitert[start] = EACCES;
        t.scan.verzeichnis_auslesen(start, t.wurzel);
        EXPECT_TRUE(t.wurzel.nicht_gelesen && t.wurzel.dateien.empty() && t.wurzel.pfade.empty());
        EXPECT_EQ(t.scan.nicht_gelesen, Pfade{start});
    }
}

}  // namespace
}  // namespace tarvendo
