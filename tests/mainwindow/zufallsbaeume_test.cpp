// Random pairs of trees through the window: type changes, case twins, links,
// names that are not UTF-8. Every task gets its node, and one run from the
// window leaves nothing to do.

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <random>

#include "testhilfe/verzeichnisinhalt.h"
#include "fenstertest.h"
#include "mainwindow/aufgabenansicht.h"

namespace tarvendo {
namespace {

// Names that meet in both trees, so the same name often has another type on
// the other side.
const char* const namen[] = {"a",        "A",  "x",  "Dummy", "n\xe9", "n\xc3\xa9",
                             "\xc3\x9f", "ss", " s", "b\\c",  "\n",    ".v"};

class Zufallsbaum {
public:
    Zufallsbaum(unsigned saat, const test::TempVerzeichnis& daten) : zufall_(saat), daten_(daten) {}

    // Fills pfad with up to tiefe levels; the target may hold links that go
    // nowhere or out of the tree.
    void fülle(const std::string& pfad, int tiefe, bool ziel) {
        for (const char* name : namen) {
            const std::string p = pfad + "/" + name;
            switch (wahl(ziel ? 7 : 6)) {
                case 0:
                case 1:
                    break;
                case 2:
                    test::schreibe_datei(p, std::string(wahl(3), 'x'));
                    test::setze_zeit(p, 1600000000 + 100 * wahl(2));
                    break;
                case 3:
                    test::erstelle_verzeichnis(p);
                    if (tiefe > 0) fülle(p, tiefe - 1, ziel);
                    break;
                case 4:  // only a directory inside
                    test::erstelle_verzeichnis(p);
                    test::erstelle_verzeichnis(p + "/u");
                    break;
                case 5:  // the source follows its links
                    ASSERT_EQ(::symlink((daten_ / "aussen/datei").c_str(), p.c_str()), 0);
                    break;
                default: {
                    const char* ziele[] = {"aussen", "aussen/datei", "fehlt"};
                    ASSERT_EQ(::symlink((daten_ / ziele[wahl(3)]).c_str(), p.c_str()), 0);
                }
            }
        }
    }

private:
    unsigned wahl(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(zufall_); }

    std::mt19937 zufall_;
    const test::TempVerzeichnis& daten_;
};

// Opens every node; counts the nodes and the model entries below them.
void öffne_alles(Knoten& k, std::size_t& knoten, std::size_t& einträge) {
    k.setExpanded(true);
    if (auto* const* pfad = std::get_if<Pfadklasse*>(&k.Tag.eintrag))
        einträge += (*pfad)->pfade.size() + (*pfad)->dateien.size();
    for (int i = 0; i < k.Children(); ++i) {
        ++knoten;
        öffne_alles(*k.Child(i), knoten, einträge);
    }
}

TEST_F(FensterTest, ZufälligeBaumpaareLassenSichZeigenUndAbgleichen) {
    const struct {
        unsigned saat;
        int tiefe;
    } fälle[] = {{1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 2}, {7, 3}, {8, 1}};
    for (const auto& [saat, tiefe] : fälle) {
        const test::TempVerzeichnis platz;
        SCOPED_TRACE(saat);
        for (const char* d : {"q", "z", "aussen"}) test::erstelle_verzeichnis(platz / d);
        test::schreibe_datei(platz / "aussen/datei", "draussen");
        Zufallsbaum baum(saat, platz);
        baum.fülle(platz / "q", tiefe, false);
        baum.fülle(platz / "z", tiefe, true);

        meldungen.clear();
        starte();
        t().Basisverzeichnis->setze_pfad(platz / "q");
        t().Zielbasisverzeichnis->setze_pfad(platz / "z");
        fenster->CompareButton_Click();
        ASSERT_TRUE(meldungen.empty()) << meldungen.front();
        Knoten* wurzel = t().Arbeitsbaum->wurzel();
        ASSERT_NE(wurzel, nullptr);
        std::size_t knoten = 0;
        std::size_t einträge = 0;
        öffne_alles(*wurzel, knoten, einträge);
        ASSERT_FALSE(beendet) << (meldungen.empty() ? "" : meldungen.front());
        EXPECT_EQ(knoten, einträge);  // each task has its node

        fenster->SyncButton_Click();  // what the target becomes is the engine tests' part
        fenster->CompareButton_Click();
        EXPECT_EQ(info(), "0 kopieren / 0 löschen");
        fenster->close();
    }
}

}  // namespace
}  // namespace tarvendo
