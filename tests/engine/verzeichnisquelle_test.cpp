#include "engine/verzeichnisquelle.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

using test::erstelle_verzeichnis;
using test::schreibe_datei;

std::map<std::string, Eintragsart> liste_auf(Verzeichnisliste& liste) {
    std::map<std::string, Eintragsart> einträge;
    for (;;) {
        const Ergebnis<Listeneintrag> e = liste.nächster();
        EXPECT_TRUE(e.ok());
        if (!e || !e.wert().name) return einträge;
        einträge[e.wert().name] = e.wert().art;
    }
}

TEST(PosixVerzeichnisquelle, ListetUndÖffnetRelativ) {
    test::TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "u");
    schreibe_datei(tmp / "u/f", "abc");
    ASSERT_EQ(::symlink("u", (tmp / "l").c_str()), 0);
    PosixVerzeichnisquelle quelle(0);

    auto wurzel = quelle.öffne(tmp.pfad());
    ASSERT_TRUE(wurzel.ok());
    const auto einträge = liste_auf(*wurzel.wert());
    EXPECT_EQ(einträge.size(), 4u);  // ".", "..", "u", "l"
    EXPECT_TRUE(einträge.count(".") && einträge.count(".."));

    struct stat st {};
    ASSERT_EQ(::stat((tmp / "u").c_str(), &st), 0);
    auto u = wurzel.wert()->öffne("u");
    ASSERT_TRUE(u.ok());
    EXPECT_EQ(u.wert()->kennung(), (Verzeichniskennung{st.st_dev, st.st_ino}));
    auto über_link = wurzel.wert()->öffne("l");  // a link is followed
    ASSERT_TRUE(über_link.ok());
    EXPECT_EQ(über_link.wert()->kennung(), u.wert()->kennung());

    const auto f = u.wert()->daten("f", true);
    ASSERT_TRUE(f.ok());
    EXPECT_FALSE(f.wert().verzeichnis);
    EXPECT_EQ(f.wert().größe, 3);
    const auto l = wurzel.wert()->daten("l", false);
    ASSERT_TRUE(l.ok());
    EXPECT_TRUE(l.wert().link);

    EXPECT_EQ(u.wert()->öffne("f").fehlercode(), ENOTDIR);
    EXPECT_EQ(u.wert()->daten("fehlt", true).fehlercode(), ENOENT);
    EXPECT_EQ(quelle.öffne(tmp / "fehlt").fehlercode(), ENOENT);
}

// The helpers must answer every request of every batch exactly as one
// thread would, however the requests are shared out.
TEST(PosixVerzeichnisquelle, StapelMitGehilfenWieEinzeln) {
    test::TempVerzeichnis tmp;
    std::vector<std::string> namen;
    for (int i = 0; i < 300; ++i) {
        namen.push_back("f" + std::to_string(i));
        schreibe_datei(tmp / namen.back(), std::string(static_cast<std::size_t>(i), 'x'));
    }
    namen.push_back("fehlt");
    erstelle_verzeichnis(tmp / "d");
    namen.push_back("d");

    for (unsigned gehilfen : {0u, 1u, 3u}) {
        PosixVerzeichnisquelle quelle(gehilfen);
        auto liste = quelle.öffne(tmp.pfad());
        ASSERT_TRUE(liste.ok());
        for (int runde = 0; runde < 50; ++runde) {
            // Batches of changing size, the small ones below the sharing threshold.
            const std::size_t anzahl = namen.size() - static_cast<std::size_t>(runde) * 6;
            std::vector<Datenabfrage> abfragen;
            for (std::size_t i = 0; i < anzahl; ++i)
                abfragen.push_back({namen[namen.size() - anzahl + i].c_str(), {}, -1});
            liste.wert()->daten_mehrere(abfragen);
            for (const Datenabfrage& a : abfragen) {
                const Ergebnis<Eintragsdaten> einzeln = liste.wert()->daten(a.name, true);
                ASSERT_EQ(a.fehler, einzeln.fehlercode()) << a.name;
                if (a.fehler == 0) {
                    EXPECT_EQ(a.daten.größe, einzeln.wert().größe) << a.name;
                    EXPECT_EQ(a.daten.verzeichnis, einzeln.wert().verzeichnis) << a.name;
                    EXPECT_EQ(a.daten.sekunden, einzeln.wert().sekunden) << a.name;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tarvendo
