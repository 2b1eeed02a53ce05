#include "engine/verzeichnisquelle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

using test::erstelle_verzeichnis;
using test::schreibe_datei;

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
