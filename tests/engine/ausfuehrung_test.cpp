#include "engine/ausfuehrung.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/aufgabensumme.h"
#include "engine/fehlerdateioperationen.h"
#include "engine/verzeichnisinhalt.h"
#include "testhilfe/fakes.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

Pfadklasse& verzeichnis(Pfadklasse& eltern, const std::string& name, std::int32_t aufgabe) {
    Pfadklasse& p = eltern.setze_pfad(name);
    p.aufgabe = aufgabe;
    return p;
}

void datei(Pfadklasse& eltern, const std::string& name, std::int32_t aufgabe,
           std::int64_t größe = 0) {
    eltern.setze_datei(name, 0.0, größe, 0).aufgabe = aufgabe;
}

std::string meldung(const std::string& art, const std::string& pfad, const std::string& was,
                    const std::string& fehler) {
    return art + "\n" + pfad + "\n" + was + "\n\n" + fehler;
}

std::vector<std::string> mit_präfix(const std::vector<std::string>& aufrufe,
                                    const std::string& präfix) {
    std::vector<std::string> treffer;
    for (const auto& a : aufrufe)
        if (a.rfind(präfix, 0) == 0) treffer.push_back(a);
    return treffer;
}

class AusfuehrungTest : public ::testing::Test {
protected:
    AusfuehrungTest() {
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
    }

    // Ticks everything, sums the work and runs, as the synchronise command does.
    Status lauf() {
        baum.setze_checked(true);
        return lauf_wie_angekreuzt();
    }
    Status lauf_wie_angekreuzt() {
        erstelle_aufgabensumme(baum, zustand);
        return ausführung.führe_aus(baum);
    }

    TempVerzeichnis tmp;
    AufzeichnendeAnzeigen anzeigen;
    ZählendeSchleife schleife;
    SkriptRückfrage rückfrage;
    AufzeichnenderErledigtbaum erledigt;
    Programmzustand zustand;
    FehlerDateioperationen ops;
    std::uint32_t uhr_ms = 0;
    CStopWatch stoppuhr{[this] { return uhr_ms; }};
    Pfadklasse baum{""};
    Aufgabenausführung ausführung{
        {anzeigen.alle, schleife, rückfrage, erledigt, zustand, ops, stoppuhr},
        tmp / "q",
        tmp / "z"};
};

TEST_F(AusfuehrungTest, ErstelltKopiertLöschtUndEntferntInDerRichtigenReihenfolge) {
    const std::string krumm = "\xFF\xFEkrumm.bin";  // not UTF-8
    erstelle_verzeichnis(tmp / "q/neu");
    erstelle_verzeichnis(tmp / "q/neu/unter");
    schreibe_datei(tmp / "q/neu/unter/y", "y");
    schreibe_datei(tmp / "q/neu/x.txt", "xx");
    schreibe_datei(tmp / "q" + "/" + krumm, "k");
    schreibe_datei(tmp / "q/geändert.txt", "neuer Inhalt");
    ASSERT_EQ(::chmod((tmp / "q/geändert.txt").c_str(), 0600), 0);
    setze_zeit(tmp / "q/geändert.txt", 1'300'000'000, 42);
    erstelle_verzeichnis(tmp / "z/weg");
    erstelle_verzeichnis(tmp / "z/weg/s");
    schreibe_datei(tmp / "z/weg/s/w3", "3");
    schreibe_datei(tmp / "z/weg/w1", "1");
    ASSERT_EQ(::chmod((tmp / "z/weg/w1").c_str(), 0444), 0);
    ASSERT_EQ(::chmod((tmp / "z/weg").c_str(), 0555), 0);
    schreibe_datei(tmp / "z/geändert.txt", "alt");
    ASSERT_EQ(::chmod((tmp / "z/geändert.txt").c_str(), 0444), 0);

    Pfadklasse& neu = verzeichnis(baum, "neu", aufgabe_kopieren);
    datei(verzeichnis(neu, "unter", aufgabe_kopieren), "y", aufgabe_kopieren, 1);
    datei(neu, "x.txt", aufgabe_kopieren, 2);
    Pfadklasse& weg = verzeichnis(baum, "weg", aufgabe_löschen);
    datei(verzeichnis(weg, "s", aufgabe_löschen), "w3", aufgabe_löschen);
    datei(weg, "w1", aufgabe_löschen);
    datei(baum, krumm, aufgabe_kopieren, 1);
    datei(baum, "geändert.txt", aufgabe_kopieren, 12);

    ASSERT_TRUE(lauf());

    EXPECT_THAT(rückfrage.meldungen, IsEmpty());
    EXPECT_EQ(namen_in(tmp / "z"), (std::vector<std::string>{"geändert.txt", "neu", krumm}));
    EXPECT_EQ(namen_in(tmp / "z/neu"), (std::vector<std::string>{"unter", "x.txt"}));
    EXPECT_EQ(lies_datei(tmp / "z/neu/unter/y"), "y");
    EXPECT_EQ(lies_datei(tmp / "z" + "/" + krumm), "k");
    const struct stat st = lstat_von(tmp / "z/geändert.txt");
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'300'000'000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 42);
    EXPECT_EQ(lies_datei(tmp / "z/geändert.txt"), "neuer Inhalt");

    EXPECT_THAT(erledigt.zeilen(),
                ElementsAre("neu [Verzeichnis_kopieren]", "neu/unter [Verzeichnis_kopieren]",
                            "weg [Verzeichnis_löschen]", "weg/s [Verzeichnis_löschen]"));
    EXPECT_THAT(mit_präfix(anzeigen.verzeichnis.aufrufe, "text:"),
                ElementsAre("text:erstelle neu", "text:erstelle neu/unter", "text:lösche weg/s",
                            "text:lösche weg"));
    EXPECT_THAT(anzeigen.verzeichnis.aufrufe, Contains("textpfad:neu/unter/"));
    EXPECT_THAT(anzeigen.verzeichnis.aufrufe, Contains("textpfad:"));
    EXPECT_THAT(anzeigen.datei.aufrufe, Contains("text:kopiere x.txt"));
    EXPECT_THAT(anzeigen.datei.aufrufe, Contains("text:lösche w1"));
    EXPECT_EQ(anzeigen.info.aufrufe.back(), "aktwert:1000");
    EXPECT_EQ(zustand.summe_erledigt, zustand.summe_gesamt);
    EXPECT_EQ(ops.aufrufe(Op::synchronisiere), 1);
    EXPECT_EQ(ausführung.anzahl_fehler(), 0);
}

TEST_F(AusfuehrungTest, NichtsAngekreuztTutNichts) {
    schreibe_datei(tmp / "z/a", "a");
    datei(baum, "a", aufgabe_löschen);
    baum.setze_checked(false);

    ASSERT_TRUE(lauf_wie_angekreuzt());

    EXPECT_TRUE(existiert(tmp / "z/a"));
    EXPECT_EQ(ops.aufrufe(Op::synchronisiere), 0);
    EXPECT_THAT(erledigt.knoten, IsEmpty());
}

TEST_F(AusfuehrungTest, VorhandenesVerzeichnisÜberspringtSeinenInhaltUndMeldetEs) {
    erstelle_verzeichnis(tmp / "q/neu");
    schreibe_datei(tmp / "q/neu/innen", "i");
    schreibe_datei(tmp / "q/danach", "d");
    erstelle_verzeichnis(tmp / "z/neu");
    Pfadklasse& neu = verzeichnis(baum, "neu", aufgabe_kopieren);
    verzeichnis(neu, "tiefer", aufgabe_kopieren);
    datei(neu, "innen", aufgabe_kopieren, 1);
    datei(baum, "danach", aufgabe_kopieren, 1);

    ASSERT_TRUE(lauf());

    ASSERT_EQ(rückfrage.meldungen.size(), 1u);
    EXPECT_EQ(rückfrage.meldungen[0].text,
              meldung("Verzeichnis ", tmp / "z/neu", "konnte nicht erstellt werden",
                      std::strerror(EEXIST)));
    EXPECT_EQ(rückfrage.meldungen[0].knöpfe, Knöpfe::OK);
    EXPECT_TRUE(namen_in(tmp / "z/neu").empty());
    EXPECT_THAT(erledigt.zeilen(), ElementsAre("neu [Verzeichnis_kopieren_fehler]"));
    EXPECT_EQ(lies_datei(tmp / "z/danach"), "d");  // the run goes on
    EXPECT_FALSE(zustand.abbruch);
}

TEST_F(AusfuehrungTest, PlatzVollMittenImKopierenMeldetUndLässtDasAlteZiel) {
    erstelle_verzeichnis(tmp / "q/d");
    erstelle_verzeichnis(tmp / "z/d");
    schreibe_datei(tmp / "q/d/a", std::string(5 << 20, 'a'));
    schreibe_datei(tmp / "q/d/b", "b");
    schreibe_datei(tmp / "z/d/a", "alt");
    ops.scheitere(Op::klone, 0, EOPNOTSUPP);
    ops.scheitere(Op::kopiere_bereich, 2, ENOSPC);
    Pfadklasse& d = verzeichnis(baum, "d", aufgabe_keine);
    datei(d, "a", aufgabe_kopieren, 5 << 20);
    datei(d, "b", aufgabe_kopieren, 1);

    ASSERT_TRUE(lauf());

    ASSERT_EQ(rückfrage.meldungen.size(), 1u);
    EXPECT_EQ(
        rückfrage.meldungen[0].text,
        meldung("Datei ", tmp / "q/d/a", "konnte nicht kopiert werden", std::strerror(ENOSPC)));
    EXPECT_EQ(rückfrage.meldungen[0].knöpfe, Knöpfe::OKAbbrechen);
    EXPECT_EQ(lies_datei(tmp / "z/d/a"), "alt");
    EXPECT_EQ(lies_datei(tmp / "z/d/b"), "b");
    EXPECT_EQ(namen_in(tmp / "z/d"), (std::vector<std::string>{"a", "b"}));
    EXPECT_THAT(erledigt.zeilen(),
                ElementsAre("d [Verzeichnis_diesdas]", "d/a [Datei_kopieren_fehler]"));
    // A failed copy still counts as done for the overall bar.
    EXPECT_EQ(anzeigen.info.aufrufe.back(), "aktwert:1000");
    EXPECT_EQ(ausführung.anzahl_fehler(), 1);
}

TEST_F(AusfuehrungTest, AbbrechenNachKopierfehlerHältVorDerNächstenDatei) {
    schreibe_datei(tmp / "q/b", "b");
    datei(baum, "a", aufgabe_kopieren, 1);  // no such source
    datei(baum, "b", aufgabe_kopieren, 1);
    rückfrage.antworten = {Antwort::Abbrechen};

    ASSERT_TRUE(lauf());

    ASSERT_EQ(rückfrage.meldungen.size(), 1u);
    EXPECT_EQ(rückfrage.meldungen[0].text,
              meldung("Datei ", tmp / "q/a", "konnte nicht kopiert werden", std::strerror(ENOENT)));
    EXPECT_TRUE(zustand.abbruch);
    EXPECT_FALSE(existiert(tmp / "z/b"));
}

// A failed deletion inside a directory to remove: Cancel stops before the
// next file and leaves the directory; OK goes on, and the removal then fails.
class LöschfehlerTest : public AusfuehrungTest, public ::testing::WithParamInterface<Antwort> {};

TEST_P(LöschfehlerTest, AntwortEntscheidetÜberDenRest) {
    erstelle_verzeichnis(tmp / "z/weg");
    schreibe_datei(tmp / "z/weg/w1", "1");
    schreibe_datei(tmp / "z/weg/w2", "2");
    Pfadklasse& weg = verzeichnis(baum, "weg", aufgabe_löschen);
    datei(weg, "w1", aufgabe_löschen);
    datei(weg, "w2", aufgabe_löschen);
    ops.scheitere_bei(Op::entferne_datei, "w1", EBUSY);
    rückfrage.antworten = {GetParam()};

    ASSERT_TRUE(lauf());

    ASSERT_FALSE(rückfrage.meldungen.empty());
    EXPECT_EQ(
        rückfrage.meldungen[0].text,
        meldung("Datei ", tmp / "z/weg/w1", "konnte nicht gelöscht werden", std::strerror(EBUSY)));
    EXPECT_EQ(ops.aufrufe(Op::synchronisiere), 1);  // also after a cancel
    if (GetParam() == Antwort::Abbrechen) {
        EXPECT_EQ(rückfrage.meldungen.size(), 1u);
        EXPECT_EQ(namen_in(tmp / "z/weg"), (std::vector<std::string>{"w1", "w2"}));
        EXPECT_EQ(ops.aufrufe(Op::entferne_verzeichnis), 0);
        return;
    }
    ASSERT_EQ(rückfrage.meldungen.size(), 2u);
    EXPECT_EQ(rückfrage.meldungen[1].text,
              meldung("Verzeichnis ", tmp / "z/weg", "konnte nicht gelöscht werden",
                      std::strerror(ENOTEMPTY)));
    EXPECT_EQ(rückfrage.meldungen[1].knöpfe, Knöpfe::OKAbbrechen);
    EXPECT_EQ(namen_in(tmp / "z/weg"), std::vector<std::string>{"w1"});
    EXPECT_THAT(erledigt.zeilen(),
                ElementsAre("weg [Verzeichnis_löschen_fehler]", "weg/w1 [Datei_löschen_fehler]"));
}

INSTANTIATE_TEST_SUITE_P(Antworten, LöschfehlerTest,
                         ::testing::Values(Antwort::Abbrechen, Antwort::OK), [](const auto& fall) {
                             return fall.param == Antwort::OK ? "OK" : "Abbrechen";
                         });

TEST_F(AusfuehrungTest, LeereDateienLassenDenGesamtbalkenInRuhe) {
    schreibe_datei(tmp / "q/leer1", "");
    schreibe_datei(tmp / "q/leer2", "");
    datei(baum, "leer1", aufgabe_kopieren, 0);
    datei(baum, "leer2", aufgabe_kopieren, 0);

    ASSERT_TRUE(lauf());

    EXPECT_EQ(zustand.summe_gesamt, 0);
    EXPECT_THAT(mit_präfix(anzeigen.info.aufrufe, "aktwert:"), IsEmpty());
    EXPECT_EQ(namen_in(tmp / "z"), (std::vector<std::string>{"leer1", "leer2"}));
}

TEST_F(AusfuehrungTest, VerknüpfungAufVerzeichnisWirdAlsVerknüpfungEntfernt) {
    erstelle_verzeichnis(tmp / "draussen");
    erstelle_verzeichnis(tmp / "draussen/sub");
    schreibe_datei(tmp / "draussen/f1", "1");
    schreibe_datei(tmp / "draussen/sub/f2", "2");
    ASSERT_EQ(::symlink((tmp / "draussen").c_str(), (tmp / "z/link").c_str()), 0);
    // What a scan that follows the link sees in the target.
    Pfadklasse& link = verzeichnis(baum, "link", aufgabe_löschen);
    datei(verzeichnis(link, "sub", aufgabe_löschen), "f2", aufgabe_löschen);
    datei(link, "f1", aufgabe_löschen);

    ASSERT_TRUE(lauf());

    EXPECT_THAT(rückfrage.meldungen, IsEmpty());
    EXPECT_FALSE(existiert(tmp / "z/link"));
    EXPECT_EQ(lies_datei(tmp / "draussen/f1"), "1");
    EXPECT_EQ(lies_datei(tmp / "draussen/sub/f2"), "2");
    EXPECT_THAT(erledigt.zeilen(), ElementsAre("link [Verzeichnis_löschen]"));
}

TEST_F(AusfuehrungTest, HinterEinerVerknüpfungWirdNichtsGelöscht) {
    erstelle_verzeichnis(tmp / "draussen");
    erstelle_verzeichnis(tmp / "draussen/alt");
    schreibe_datei(tmp / "draussen/f1", "1");
    erstelle_verzeichnis(tmp / "q/verweis");
    schreibe_datei(tmp / "q/verweis/neu", "n");
    ASSERT_EQ(::symlink((tmp / "draussen").c_str(), (tmp / "z/verweis").c_str()), 0);
    Pfadklasse& verweis = verzeichnis(baum, "verweis", aufgabe_keine);
    verzeichnis(verweis, "alt", aufgabe_löschen);
    datei(verweis, "f1", aufgabe_löschen);
    datei(verweis, "neu", aufgabe_kopieren, 1);

    ASSERT_TRUE(lauf());

    EXPECT_TRUE(existiert(tmp / "draussen/alt"));
    EXPECT_EQ(lies_datei(tmp / "draussen/f1"), "1");
    ASSERT_EQ(rückfrage.meldungen.size(), 2u);
    EXPECT_THAT(rückfrage.meldungen[0].text,
                ::testing::StartsWith("Verzeichnis \n" + tmp / "z/verweis/alt" +
                                      "\nkonnte nicht gelöscht werden\n\n"));
    EXPECT_THAT(rückfrage.meldungen[1].text,
                ::testing::StartsWith("Datei \n" + tmp / "z/verweis/f1" +
                                      "\nkonnte nicht gelöscht werden\n\n"));
    // The comparison saw the linked directory's contents, so copies go there.
    EXPECT_EQ(lies_datei(tmp / "draussen/neu"), "n");
}

TEST_F(AusfuehrungTest, AbbruchWährendGroßerKopieEndetOhneMeldungUndOhneReste) {
    schreibe_datei(tmp / "q/gross", std::string(8 << 20, 'g'));
    schreibe_datei(tmp / "q/danach", "d");
    schreibe_datei(tmp / "z/gross", "alt");
    ops.scheitere(Op::klone, 0, EOPNOTSUPP);
    datei(baum, "gross", aufgabe_kopieren, 8 << 20);
    datei(baum, "danach", aufgabe_kopieren, 1);
    schleife.bei_nachgeben = [this](int) {
        zustand.abbruch = true;  // what the window's close guard does
        zustand.kopierabbruch = 1;
    };

    ASSERT_TRUE(lauf());

    EXPECT_THAT(rückfrage.meldungen, IsEmpty());
    EXPECT_THAT(erledigt.knoten, IsEmpty());
    EXPECT_EQ(lies_datei(tmp / "z/gross"), "alt");
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"gross"});
    EXPECT_EQ(zustand.summe_erledigt, 0);
    EXPECT_EQ(schleife.anzahl, 1);  // the yield inside the first progress call
    EXPECT_THAT(anzeigen.datei.aufrufe, ElementsAre("text:kopiere gross", "text:", "Reset"));
    EXPECT_EQ(ops.aufrufe(Op::synchronisiere), 1);
}

// The per-file bar appears only for a copy that has run over 250 ms and is
// projected to take over a second; the overall bar follows every call.
struct BalkenFall {
    std::uint32_t ms;
    std::int64_t übertragen;
    bool sichtbar;
};

class DateibalkenTest : public AusfuehrungTest, public ::testing::WithParamInterface<BalkenFall> {};

TEST_P(DateibalkenTest, ErscheintNurBeiLangenKopien) {
    const BalkenFall& fall = GetParam();
    zustand.summe_gesamt = 4000;
    zustand.summe_erledigt = 1000;
    stoppuhr.Reset();
    uhr_ms = fall.ms;

    ausführung.kopierfortschritt(1000, fall.übertragen);

    const std::string p = "aktwert:" + std::to_string(fall.übertragen);
    if (fall.sichtbar)
        EXPECT_THAT(anzeigen.datei.aufrufe, ElementsAre("Reset", "maxwert:1000", p));
    else
        EXPECT_THAT(anzeigen.datei.aufrufe, IsEmpty());
    const auto gesamt = static_cast<std::int64_t>(
        std::nearbyint(static_cast<double>(1000 + fall.übertragen) / 4000.0 * 1000.0));
    EXPECT_THAT(anzeigen.info.aufrufe, ElementsAre("aktwert:" + std::to_string(gesamt)));
    EXPECT_EQ(schleife.anzahl, 1);
}

INSTANTIATE_TEST_SUITE_P(Regel, DateibalkenTest,
                         ::testing::Values(BalkenFall{251, 200, true},   // projected 1255 ms
                                           BalkenFall{250, 100, false},  // not over 250 ms
                                           BalkenFall{300, 400, false},  // projected 750 ms
                                           BalkenFall{500, 500, false},  // exactly one second
                                           BalkenFall{900, 0, false}));  // nothing yet

TEST_F(AusfuehrungTest, SichtbarerDateibalkenFolgtJedemAufruf) {
    uhr_ms = 400;
    ausführung.kopierfortschritt(1000, 100);
    ausführung.kopierfortschritt(1000, 250);
    ausführung.kopierfortschritt(0, 0);  // an empty file: only a yield
    EXPECT_THAT(anzeigen.datei.aufrufe,
                ElementsAre("Reset", "maxwert:1000", "aktwert:100", "aktwert:250"));
    EXPECT_THAT(anzeigen.info.aufrufe, IsEmpty());  // no total to measure against
    EXPECT_EQ(schleife.anzahl, 3);
}

TEST(Aufgabensumme, ZähltNurAngekreuzteDateiaufgaben) {
    Pfadklasse baum{""};
    Pfadklasse& a = verzeichnis(baum, "a", aufgabe_kopieren);
    datei(a, "groß", aufgabe_kopieren, 5'000'000'000);
    datei(a, "klein", aufgabe_kopieren, 7);
    Pfadklasse& b = verzeichnis(baum, "b", aufgabe_löschen);
    datei(b, "x", aufgabe_löschen, 99);
    datei(b, "y", aufgabe_löschen, 99);
    Pfadklasse& aus = verzeichnis(baum, "aus", aufgabe_keine);
    datei(aus, "z", aufgabe_kopieren, 1000);
    baum.setze_checked(true);
    b.setze_dateichecked("y", false);
    aus.checked = false;  // its file stays ticked, but nothing below counts
    aus.dateien.gib("z")->checked = true;

    Programmzustand zustand;
    erstelle_aufgabensumme(baum, zustand);

    EXPECT_EQ(zustand.anzahl_kopieren, 2);
    EXPECT_EQ(zustand.anzahl_löschen, 1);
    EXPECT_EQ(zustand.summe_gesamt, 5'000'000'008);
}

}  // namespace
}  // namespace tarvendo::test
