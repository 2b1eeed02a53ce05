#include "engine/verzeichnisscan.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "testhilfe/fakes.h"
#include "testhilfe/gestoerte_quelle.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

using test::erstelle_verzeichnis;
using test::schreibe_datei;

// Runs one scan over a scratch directory with recording fakes.
struct Scan {
    test::TempVerzeichnis tmp;
    test::AufzeichnendeAnzeigen anzeigen;
    test::ZählendeSchleife schleife;
    Programmzustand zustand;
    test::GestörteQuelle quelle;
    Pfadklasse wurzel{tmp.pfad()};
    Verzeichnisscan scan{anzeigen.alle, schleife, zustand, quelle};

    void lies() { scan.verzeichnis_auslesen(tmp.pfad(), wurzel); }
    [[nodiscard]] std::vector<std::string> info_texte() const {
        std::vector<std::string> t;
        for (const auto& a : anzeigen.info.aufrufe) t.push_back(a.substr(a.find(':') + 1));
        return t;
    }
};

std::set<std::string> dateinamen(const Pfadklasse& k) {
    std::set<std::string> namen;
    for (const Dateiklasse& d : k.dateien) namen.insert(d.Name);
    return namen;
}

std::set<std::string> verzeichnisnamen(const Pfadklasse& k) {
    std::set<std::string> namen;
    for (const Pfadklasse& p : k.pfade) namen.insert(p.pfadname);
    return namen;
}

// Fixes the local time zone for one test.
class Zeitzone {
public:
    explicit Zeitzone(const char* tz) {
        if (const char* alt = std::getenv("TZ")) alt_ = alt, hatte_ = true;
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~Zeitzone() {
        if (hatte_)
            ::setenv("TZ", alt_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string alt_;
    bool hatte_ = false;
};

TEST(Datum, TageSeit1899MitTageszeitAlsBruch) {
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(0), 25569.0);
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(86400 + 43200), 25570.5);
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(-21600), 25568.75);  // 1969-12-31 18:00
    EXPECT_DOUBLE_EQ(datum_aus_sekunden(-25569LL * 86400), 0.0);
}

TEST(Verzeichnisscan, DateienUndVerzeichnisseMitIhrenDaten) {
    Zeitzone tz("XYZ-2");  // two hours east of UTC all year
    Scan s;
    erstelle_verzeichnis(s.tmp / "unter");
    erstelle_verzeichnis(s.tmp / ".versteckt");
    schreibe_datei(s.tmp / "unter/a.txt", "12345");
    schreibe_datei(s.tmp / ".versteckt/.b", "");
    schreibe_datei(s.tmp / "nurlesen", "x");
    ASSERT_EQ(::chmod((s.tmp / "nurlesen").c_str(), 0444), 0);
    test::setze_zeit(s.tmp / "unter/a.txt", 1700000000, 999999999);  // 12:00:00.999 is 12:00:00

    s.lies();

    EXPECT_EQ(verzeichnisnamen(s.wurzel), (std::set<std::string>{"unter", ".versteckt"}));
    EXPECT_EQ(dateinamen(s.wurzel), (std::set<std::string>{"nurlesen"}));
    const Dateiklasse* a = s.wurzel.gib_pfad("unter")->gib_datei("a.txt");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->größe, 5);
    EXPECT_EQ(a->datum, datum_aus_sekunden(1700000000 + 7200));
    EXPECT_EQ(a->attr, 0u);
    EXPECT_EQ(s.wurzel.gib_datei("nurlesen")->attr, attr_schreibgeschützt);
    EXPECT_EQ(s.wurzel.gib_pfad(".versteckt")->gib_datei(".b")->attr, attr_versteckt);
    EXPECT_EQ(s.scan.anzahl_verzeichnisse, 3);
    EXPECT_EQ(s.scan.anzahl_dateien, 3);
    EXPECT_TRUE(s.scan.nicht_gelesen.empty());
    EXPECT_FALSE(s.wurzel.nicht_gelesen);
    EXPECT_EQ(s.wurzel.gib_pfad("unter")->parent, &s.wurzel);
}

TEST(Verzeichnisscan, SechsGibibyteDünnBesetzt) {
    Scan s;
    const int fd = ::open((s.tmp / "gross").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 6LL << 30), 0);
    ::close(fd);
    s.lies();
    ASSERT_NE(s.wurzel.gib_datei("gross"), nullptr);
    EXPECT_EQ(s.wurzel.gib_datei("gross")->größe, 6442450944LL);
}

TEST(Verzeichnisscan, NamenBleibenBytesGenau) {
    Scan s;
    const std::string kaputt = "bild\xFF\xFE.jpg";  // not UTF-8
    const std::string ordner = "Ordner\xC3(";       // truncated sequence
    erstelle_verzeichnis(s.tmp / ordner);
    schreibe_datei(s.tmp / kaputt, "");
    schreibe_datei(s.tmp / (ordner + "/" + kaputt), "");
    // Names that differ only in letter case are both kept, files and directories.
    schreibe_datei(s.tmp / "a.txt", "1");
    schreibe_datei(s.tmp / "A.txt", "22");
    erstelle_verzeichnis(s.tmp / "d");
    erstelle_verzeichnis(s.tmp / "D");
    schreibe_datei(s.tmp / "D/x", "");
    schreibe_datei(s.tmp / "Straße", "");
    schreibe_datei(s.tmp / "Strasse", "");

    s.lies();

    EXPECT_EQ(dateinamen(s.wurzel),
              (std::set<std::string>{kaputt, "a.txt", "A.txt", "Straße", "Strasse"}));
    EXPECT_EQ(verzeichnisnamen(s.wurzel), (std::set<std::string>{ordner, "d", "D"}));
    EXPECT_EQ(s.wurzel.gib_datei("A.txt")->größe, 2);
    EXPECT_EQ(s.wurzel.gib_datei("a.txt")->größe, 1);
    EXPECT_EQ(dateinamen(*s.wurzel.gib_pfad("D")), (std::set<std::string>{"x"}));
    EXPECT_TRUE(s.wurzel.gib_pfad("d")->dateien.empty());
    EXPECT_EQ(s.wurzel.gib_pfad(ordner)->gib_datei(kaputt)->Name, kaputt);
    EXPECT_EQ(s.anzeigen.verzeichnis.aufrufe.back(),
              "textpfad:" + (s.tmp / "d"));  // sorted last of the directories
}

TEST(Verzeichnisscan, SymbolischeLinks) {
    Scan s;
    erstelle_verzeichnis(s.tmp / "echt");
    schreibe_datei(s.tmp / "echt/inhalt", "abc");
    schreibe_datei(s.tmp / "ziel", "0123456789");
    test::setze_zeit(s.tmp / "ziel", 1600000000);
    ASSERT_EQ(::symlink("ziel", (s.tmp / "dateilink").c_str()), 0);
    ASSERT_EQ(::symlink("echt", (s.tmp / "ordnerlink").c_str()), 0);
    ASSERT_EQ(::symlink("fehlt/nirgends", (s.tmp / "toter_link").c_str()), 0);
    ASSERT_EQ(::symlink("..", (s.tmp / "echt/zurück").c_str()), 0);  // a loop

    s.lies();

    // A file link carries the data of the file it points to.
    const Dateiklasse* datei = s.wurzel.gib_datei("dateilink");
    ASSERT_NE(datei, nullptr);
    EXPECT_EQ(datei->größe, 10);
    EXPECT_EQ(datei->datum, s.wurzel.gib_datei("ziel")->datum);
    // A dangling link is a file with the link's own size: its target's length.
    ASSERT_NE(s.wurzel.gib_datei("toter_link"), nullptr);
    EXPECT_EQ(s.wurzel.gib_datei("toter_link")->größe, 14);
    // A directory link is read like the directory.
    const Pfadklasse* ordner = s.wurzel.gib_pfad("ordnerlink");
    ASSERT_NE(ordner, nullptr);
    EXPECT_EQ(dateinamen(*ordner), (std::set<std::string>{"inhalt"}));
    EXPECT_TRUE(ordner->ist_verknüpfung);
    EXPECT_FALSE(s.wurzel.gib_pfad("echt")->ist_verknüpfung);
    // The way back up is not entered, through the real directory or the link.
    const Pfadklasse* zurück = s.wurzel.gib_pfad("echt/zurück");
    ASSERT_NE(zurück, nullptr);
    EXPECT_TRUE(zurück->nicht_gelesen);
    EXPECT_TRUE(zurück->pfade.empty() && zurück->dateien.empty());
    EXPECT_TRUE(s.wurzel.gib_pfad("ordnerlink/zurück")->nicht_gelesen);
    EXPECT_EQ(s.scan.nicht_gelesen,
              (std::vector<std::string>{s.tmp / "echt/zurück", s.tmp / "ordnerlink/zurück"}));
}

TEST(Verzeichnisscan, FortschrittNachLaufenderDateizahl) {
    Scan s;
    for (int i = 0; i < 60; ++i) schreibe_datei(s.tmp / ("f" + std::to_string(100 + i)), "");
    erstelle_verzeichnis(s.tmp / "u");
    for (int i = 0; i < 140; ++i) schreibe_datei(s.tmp / ("u/g" + std::to_string(100 + i)), "");

    s.lies();

    EXPECT_EQ(s.info_texte(), (std::vector<std::string>{
                                  "0 Verzeichnisse / 0 Dateien",    // entering the start
                                  "1 Verzeichnisse / 60 Dateien",   // entering u
                                  "2 Verzeichnisse / 100 Dateien",  // 100th file
                                  "2 Verzeichnisse / 200 Dateien",  // 200th file
                                  "2 Verzeichnisse / 200 Dateien",  // u done
                              }));
    EXPECT_EQ(s.schleife.anzahl, 3);
    EXPECT_EQ(s.anzeigen.verzeichnis.aufrufe,
              (std::vector<std::string>{"textpfad:" + s.tmp.pfad(), "textpfad:" + (s.tmp / "u")}));
}

TEST(Verzeichnisscan, AbbruchHältAufJederEbeneAn) {
    Scan s;
    erstelle_verzeichnis(s.tmp / "a");
    erstelle_verzeichnis(s.tmp / "a/b");
    for (int i = 0; i < 150; ++i) schreibe_datei(s.tmp / ("a/b/f" + std::to_string(100 + i)), "");
    erstelle_verzeichnis(s.tmp / "a/c");
    erstelle_verzeichnis(s.tmp / "z");
    schreibe_datei(s.tmp / "a/zz", "");
    schreibe_datei(s.tmp / "zz", "");
    s.schleife.bei_nachgeben = [&](int n) {
        if (n == 1) s.zustand.abbruch = true;  // at the 100th file, deep in a/b
    };

    s.lies();

    const Pfadklasse* b = s.wurzel.gib_pfad("a/b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->dateien.size(), 100u);
    EXPECT_EQ(s.wurzel.gib_pfad("a/c"), nullptr);
    EXPECT_EQ(s.wurzel.gib_pfad("a")->gib_datei("zz"), nullptr);
    EXPECT_EQ(s.wurzel.gib_pfad("z"), nullptr);
    EXPECT_EQ(s.wurzel.gib_datei("zz"), nullptr);
    // The directories left early still announce their end; nothing else yields.
    EXPECT_EQ(s.schleife.anzahl, 3);
}

TEST(Verzeichnisscan, NichtLesbareVerzeichnisseWerdenMarkiert) {
    Scan s;
    for (const char* d : {"geheim", "teil", "ok"}) erstelle_verzeichnis(s.tmp / d);
    schreibe_datei(s.tmp / "geheim/x", "");
    for (const char* f : {"1", "2", "3", "4", "5"})
        schreibe_datei(s.tmp / (std::string("teil/") + f), "");
    schreibe_datei(s.tmp / "ok/y", "");
    s.quelle.öffnen_scheitert[s.tmp / "geheim"] = EACCES;
    s.quelle.lesen_scheitert[s.tmp / "teil"] = {3, EIO};

    s.lies();

    const Pfadklasse* geheim = s.wurzel.gib_pfad("geheim");
    ASSERT_NE(geheim, nullptr);
    EXPECT_TRUE(geheim->nicht_gelesen);
    EXPECT_TRUE(geheim->dateien.empty());
    const Pfadklasse* teil = s.wurzel.gib_pfad("teil");
    EXPECT_TRUE(teil->nicht_gelesen);
    EXPECT_EQ(dateinamen(*teil), (std::set<std::string>{"1", "2", "3"}));  // what was read stays
    EXPECT_FALSE(s.wurzel.gib_pfad("ok")->nicht_gelesen);
    EXPECT_FALSE(s.wurzel.nicht_gelesen);
    EXPECT_EQ(s.scan.nicht_gelesen, (std::vector<std::string>{s.tmp / "geheim", s.tmp / "teil"}));
    EXPECT_EQ(s.scan.anzahl_verzeichnisse, 4);  // unreadable ones are entered all the same
}

TEST(Verzeichnisscan, EintragOhneDaten) {
    Scan s;
    schreibe_datei(s.tmp / "kaputt", "");
    schreibe_datei(s.tmp / "weg", "");
    schreibe_datei(s.tmp / "gut", "");
    s.quelle.daten_scheitern[s.tmp / "kaputt"] = EIO;
    s.quelle.daten_scheitern[s.tmp / "weg"] = ENOENT;  // removed since the listing

    s.lies();

    EXPECT_EQ(dateinamen(s.wurzel), (std::set<std::string>{"gut"}));
    EXPECT_TRUE(s.wurzel.nicht_gelesen);  // only because of "kaputt"
    EXPECT_EQ(s.scan.nicht_gelesen, (std::vector<std::string>{s.tmp.pfad()}));
}

struct Startfall {
    const char* name;
    bool fehlt;  // the path does not exist
    int fehler;  // else: errno injected when opening it
};

class UnlesbarerStart : public testing::TestWithParam<Startfall> {};

TEST_P(UnlesbarerStart, ErgibtLeereMarkierteWurzel) {
    Scan s;
    schreibe_datei(s.tmp / "a", "");
    const std::string start = GetParam().fehlt ? s.tmp / "fehlt" : s.tmp.pfad();
    if (!GetParam().fehlt) s.quelle.öffnen_scheitert[start] = GetParam().fehler;
    Pfadklasse wurzel(start);

    s.scan.verzeichnis_auslesen(start, wurzel);

    EXPECT_TRUE(wurzel.nicht_gelesen);
    EXPECT_TRUE(wurzel.dateien.empty() && wurzel.pfade.empty());
    EXPECT_EQ(s.scan.nicht_gelesen, std::vector<std::string>{start});
    EXPECT_EQ(s.scan.anzahl_verzeichnisse, 1);
    EXPECT_EQ(s.info_texte(), std::vector<std::string>{"0 Verzeichnisse / 0 Dateien"});
}

INSTANTIATE_TEST_SUITE_P(Fälle, UnlesbarerStart,
                         testing::Values(Startfall{"fehlt", true, 0},
                                         Startfall{"verweigert", false, EACCES},
                                         Startfall{"eafehler", false, EIO}),
                         [](const auto& fall) { return std::string(fall.param.name); });

}  // namespace
}  // namespace tarvendo
