#include "engine/ausfuehrung.h"

#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "engine/aufgabensumme.h"
#include "engine/systemfehlertext.h"
#include "testhilfe/fakes.h"
#include "testhilfe/fehlerdateioperationen.h"
#include "testhilfe/tempverzeichnis.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

using ::testing::IsEmpty;
using Namen = std::vector<std::string>;

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
                    int fehler) {
    return art + "\n" + pfad + "\n" + was + "\n\n" + systemfehlertext(fehler);
}

class AusfuehrungTest : public ::testing::Test {
protected:
    AusfuehrungTest() {
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
    }

    // Sums the work and runs, as the synchronise command does; ticks everything first.
    Ausgang lauf(bool alles_ankreuzen = true) {
        if (alles_ankreuzen) baum.setze_checked(true);
        erstelle_aufgabensumme(baum, zustand);
        return ausführung.führe_aus(baum);
    }

    TempVerzeichnis tmp;
    AufzeichnendeAnzeigen anzeigen;
    ZählendeSchleife schleife;
    SkriptRückfrage rückfrage;
    ZählenderErledigtbaum erledigt;
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

// Only what is ticked runs: an unticked directory keeps its ticked file out
// of the run and out of the totals, which count deletions as well.
TEST_F(AusfuehrungTest, ErstelltKopiertLöschtUndEntferntNurAngekreuztes) {
    for (const char* d : {"q/neu", "q/neu/unter", "z/weg", "z/weg/s"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/neu/unter/y", "y");
    schreibe_datei(tmp / "z/weg/s/w", "w");
    schreibe_datei(tmp / "z/bleibt", "b");
    Pfadklasse& neu = verzeichnis(baum, "neu", aufgabe_kopieren);
    // Sizes come from the scan; this one needs a 64-bit total.
    datei(verzeichnis(neu, "unter", aufgabe_kopieren), "y", aufgabe_kopieren, 5'000'000'000);
    datei(verzeichnis(verzeichnis(baum, "weg", aufgabe_löschen), "s", aufgabe_löschen), "w",
          aufgabe_löschen);
    datei(baum, "bleibt", aufgabe_löschen);
    Pfadklasse& aus = verzeichnis(baum, "aus", aufgabe_kopieren);
    datei(aus, "x", aufgabe_kopieren, 7);
    baum.setze_checked(true);
    baum.setze_dateichecked("bleibt", false);
    aus.checked = false;

    ASSERT_TRUE(lauf(false));

    EXPECT_THAT(rückfrage.meldungen, IsEmpty());
    EXPECT_EQ(namen_in(tmp / "z"), (Namen{"bleibt", "neu"}));
    EXPECT_EQ(lies_datei(tmp / "z/neu/unter/y"), "y");
    EXPECT_EQ(zustand.summe_gesamt, 5'000'000'000 + 2 * dateikosten);
    EXPECT_THAT(anzeigen.info.aufrufe, ::testing::Contains("aktwert:1000"));
    EXPECT_EQ(anzeigen.info.aufrufe.back(), "text:2 von 2 Dateien");
    EXPECT_EQ(ops.aufrufe("synchronisiere"), 1);
}

// The answer to a failure message: OK goes on, Cancel stops before the next
// file and leaves every directory still waiting for removal.
class MitAntwort : public AusfuehrungTest, public ::testing::WithParamInterface<Antwort> {};

// A directory that cannot be created is skipped with its contents (OK only);
// then a copy fails midway and leaves the old target.
TEST_P(MitAntwort, ErstellfehlerUndPlatzVollBeimKopieren) {
    for (const char* d : {"q/neu", "z/neu", "q/d", "z/d"}) erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/neu/innen", "i");
    schreibe_datei(tmp / "q/d/a", std::string(5 << 20, 'a'));
    schreibe_datei(tmp / "q/d/b", "b");
    schreibe_datei(tmp / "z/d/a", "alt");
    ops.scheitere("klone", 0, EOPNOTSUPP);
    ops.scheitere("kopiere_bereich", 2, ENOSPC);
    Pfadklasse& neu = verzeichnis(baum, "neu", aufgabe_kopieren);
    verzeichnis(neu, "tiefer", aufgabe_kopieren);
    datei(neu, "innen", aufgabe_kopieren, 1);
    Pfadklasse& d = verzeichnis(baum, "d", aufgabe_keine);
    datei(d, "a", aufgabe_kopieren, 5 << 20);
    datei(d, "b", aufgabe_kopieren, 1);
    rückfrage.antworten = {GetParam(), GetParam()};

    ASSERT_TRUE(lauf());

    ASSERT_EQ(rückfrage.meldungen.size(), 2u);
    EXPECT_EQ(rückfrage.meldungen[0].text,
              meldung("Verzeichnis ", tmp / "z/neu", "konnte nicht erstellt werden", EEXIST));
    EXPECT_EQ(rückfrage.meldungen[0].knöpfe, Knöpfe::OK);
    EXPECT_EQ(rückfrage.meldungen[1].text,
              meldung("Datei ", tmp / "q/d/a", "konnte nicht kopiert werden", ENOSPC));
    EXPECT_EQ(rückfrage.meldungen[1].knöpfe, Knöpfe::OKAbbrechen);
    EXPECT_TRUE(namen_in(tmp / "z/neu").empty());
    EXPECT_EQ(lies_datei(tmp / "z/d/a"), "alt");
    const bool ok = GetParam() == Antwort::OK;
    EXPECT_EQ(namen_in(tmp / "z/d"), (ok ? Namen{"a", "b"} : Namen{"a"}));
    EXPECT_EQ(zustand.abbruch, !ok);
    // A failed copy, and what a directory that could not be made holds, count
    // as done for the overall bar; a cancelled run leaves it short.
    const auto& aufrufe = anzeigen.info.aufrufe;
    EXPECT_EQ(std::find(aufrufe.begin(), aufrufe.end(), "aktwert:1000") != aufrufe.end(), ok);
    EXPECT_EQ(ausführung.anzahl_fehler(), 2);
}

TEST_P(MitAntwort, LöschfehlerImZuEntfernendenVerzeichnis) {
    erstelle_verzeichnis(tmp / "z/weg");
    schreibe_datei(tmp / "z/weg/w1", "1");
    schreibe_datei(tmp / "z/weg/w2", "2");
    Pfadklasse& weg = verzeichnis(baum, "weg", aufgabe_löschen);
    datei(weg, "w1", aufgabe_löschen);
    datei(weg, "w2", aufgabe_löschen);
    erstelle_verzeichnis(tmp / "z/x");  // after a cancel, not entered
    schreibe_datei(tmp / "z/x/f", "f");
    datei(verzeichnis(baum, "x", aufgabe_löschen), "f", aufgabe_löschen);
    ops.scheitere("entferne_datei", 1, EBUSY);
    ops.scheitere("synchronisiere", 1, EIO);
    rückfrage.antworten = {GetParam()};

    EXPECT_EQ(lauf().fehlercode(), EIO);  // a failed flush is never swallowed

    ASSERT_FALSE(rückfrage.meldungen.empty());
    EXPECT_EQ(rückfrage.meldungen[0].text,
              meldung("Datei ", tmp / "z/weg/w1", "konnte nicht gelöscht werden", EBUSY));
    EXPECT_EQ(ops.aufrufe("synchronisiere"), 1);  // also after a cancel
    if (GetParam() == Antwort::Abbrechen) {
        EXPECT_EQ(rückfrage.meldungen.size(), 1u);
        EXPECT_EQ(namen_in(tmp / "z/weg"), (Namen{"w1", "w2"}));
        EXPECT_TRUE(existiert(tmp / "z/x/f"));
        return;
    }
    EXPECT_EQ(rückfrage.meldungen.size(), 2u);  // and weg, not empty
    EXPECT_EQ(namen_in(tmp / "z/weg"), Namen{"w1"});
    EXPECT_FALSE(existiert(tmp / "z/x"));
}

INSTANTIATE_TEST_SUITE_P(Antworten, MitAntwort, ::testing::Values(Antwort::Abbrechen, Antwort::OK),
                         [](const auto& fall) {
                             return fall.param == Antwort::OK ? "OK" : "Abbrechen";
                         });

// Links that replaced directories since the comparison: one to delete goes as
// a link; one to enter is refused. What they point to stays untouched.
TEST_F(AusfuehrungTest, DurchVerknüpfungenWirdNichtsGelöscht) {
    for (const char* d : {"aussen", "aussen/sub", "q/verweis"}) erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "aussen/f1", "1");
    schreibe_datei(tmp / "aussen/sub/f2", "2");
    schreibe_datei(tmp / "q/verweis/neu", "n");
    ASSERT_EQ(::symlink((tmp / "aussen").c_str(), (tmp / "z/link").c_str()), 0);
    ASSERT_EQ(::symlink((tmp / "aussen").c_str(), (tmp / "z/verweis").c_str()), 0);
    // Links that have replaced directories since the comparison.
    Pfadklasse& link = verzeichnis(baum, "link", aufgabe_löschen);
    datei(verzeichnis(link, "sub", aufgabe_löschen), "f2", aufgabe_löschen);
    datei(link, "f1", aufgabe_löschen);
    Pfadklasse& verweis = verzeichnis(baum, "verweis", aufgabe_keine);
    verzeichnis(verweis, "sub", aufgabe_löschen);
    datei(verweis, "f1", aufgabe_löschen);
    datei(verweis, "neu", aufgabe_kopieren, 1);

    ASSERT_TRUE(lauf());

    // The link goes, never what it points to; nothing is written through one.
    EXPECT_FALSE(existiert(tmp / "z/link"));
    EXPECT_EQ(lies_datei(tmp / "aussen/f1"), "1");
    EXPECT_EQ(lies_datei(tmp / "aussen/sub/f2"), "2");
    EXPECT_FALSE(existiert(tmp / "aussen/neu"));
    EXPECT_EQ(lstat_von(tmp / "z/verweis").st_mode & S_IFMT, S_IFLNK);
    ASSERT_EQ(rückfrage.meldungen.size(), 3u);  // sub, f1 and neu, each refused with ENOTDIR
    EXPECT_EQ(rückfrage.meldungen[2].text,
              meldung("Datei ", tmp / "q/verweis/neu", "konnte nicht kopiert werden", ENOTDIR));
    for (const auto& m : rückfrage.meldungen) EXPECT_EQ(m.knöpfe, Knöpfe::OKAbbrechen);
}

// Directories get the source's times once their contents are done. Where the
// medium refuses the bits, a new directory keeps those it was made with: never
// more open than the source, and the owner's write added, which the run
// needed to fill it.
TEST_F(AusfuehrungTest, VerzeichnisseOhneRechteNieOffenerAlsDieQuelle) {
    for (const char* d : {"q/privat", "q/privat/innen", "q/gleich", "z/gleich"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/privat/innen/f", "f");
    schreibe_datei(tmp / "q/gleich/g", "g");
    struct Soll {
        const char* name;
        mode_t quelle, ziel;
        long sekunden;
    };
    const Soll soll[] = {{"privat", 0700, 0700, 1'100'000'000},
                         {"privat/innen", 0550, 0750, 1'100'000'002},
                         {"gleich", 0710, 0777, 1'100'000'004}};
    for (const Soll& v : soll) {
        ASSERT_EQ(::chmod((tmp / "q/" + v.name).c_str(), v.quelle), 0);
        setze_zeit(tmp / "q/" + v.name, v.sekunden, 7);
    }
    ASSERT_EQ(::chmod((tmp / "z/gleich").c_str(), 0777), 0);
    datei(verzeichnis(verzeichnis(baum, "privat", aufgabe_kopieren), "innen", aufgabe_kopieren),
          "f", aufgabe_kopieren, 1);
    datei(verzeichnis(baum, "gleich", aufgabe_keine), "g", aufgabe_kopieren, 1);
    ops.scheitere("setze_rechte", 0, EPERM);
    const mode_t maske = ::umask(022);

    const Ausgang ergebnis = lauf();
    ::umask(maske);

    ASSERT_TRUE(ergebnis);
    EXPECT_THAT(rückfrage.meldungen, IsEmpty());
    EXPECT_EQ(lies_datei(tmp / "z/privat/innen/f"), "f");
    EXPECT_EQ(lies_datei(tmp / "z/gleich/g"), "g");
    for (const Soll& v : soll) {
        const struct stat st = lstat_von(tmp / "z/" + v.name);
        EXPECT_EQ(st.st_mode & 07777, v.ziel) << v.name;
        EXPECT_EQ(st.st_mtim.tv_sec, v.sekunden) << v.name;
        EXPECT_EQ(st.st_mtim.tv_nsec, 7) << v.name;
    }
}

// An ordinary user's run fills read-only directories, new and matched, and
// leaves them read-only; a read-only directory to delete goes all the same.
TEST_F(AusfuehrungTest, FülltSchreibgeschützteVerzeichnisseOhneRootrechte) {
    for (const char* d : {"q/neu", "q/alt", "z/alt", "z/weg"}) erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/neu/a", "a");
    schreibe_datei(tmp / "q/alt/b", "b");
    schreibe_datei(tmp / "z/weg/w", "w");
    for (const char* d : {"q/neu", "q/alt", "z/alt", "z/weg"})
        ASSERT_EQ(::chmod((tmp / d).c_str(), 0555), 0);
    datei(verzeichnis(baum, "neu", aufgabe_kopieren), "a", aufgabe_kopieren, 1);
    datei(verzeichnis(baum, "alt", aufgabe_keine), "b", aufgabe_kopieren, 1);
    datei(verzeichnis(baum, "weg", aufgabe_löschen), "w", aufgabe_löschen);
    const bool als_root = ::geteuid() == 0;
    if (als_root) {
        for (const char* p : {"", "/q", "/q/neu", "/q/neu/a", "/q/alt", "/q/alt/b", "/z", "/z/alt",
                              "/z/weg", "/z/weg/w"})
            ASSERT_EQ(::chown((tmp.pfad() + p).c_str(), 65534, 65534), 0);
    }

    const pid_t kind = ::fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        if (als_root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        if (::access(tmp.pfad().c_str(), X_OK) != 0) ::_exit(3);
        const bool ok = lauf() && rückfrage.meldungen.empty();
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(kind, &status, 0), kind);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "TMPDIR is out of an ordinary user's reach";

    EXPECT_EQ(WEXITSTATUS(status), 0) << "a failure or message in the run";
    EXPECT_EQ(lies_datei(tmp / "z/neu/a"), "a");
    EXPECT_EQ(lies_datei(tmp / "z/alt/b"), "b");
    EXPECT_EQ(lstat_von(tmp / "z/neu").st_mode & 07777, 0555u);
    EXPECT_EQ(lstat_von(tmp / "z/alt").st_mode & 07777, 0555u);
    EXPECT_FALSE(existiert(tmp / "z/weg"));
    for (const char* d : {"q/neu", "q/alt", "z/neu", "z/alt", "z/weg"})
        (void)::chmod((tmp / d).c_str(), 0755);
}

// A copy that replaces a file with data is renamed only after one flush has
// put it and the others waiting with it on the drive; a new file needs no
// wait. When that flush fails, every old target stays, with no temporary
// file; the failures are reported in the order of the files, and a
// directory still gets its time after the renames into it would have been.
TEST_F(AusfuehrungTest, ErsetzungenErstNachDemFlush) {
    for (const char* d : {"q/d", "z/d", "q/e", "z/e"}) erstelle_verzeichnis(tmp / d);
    for (const char* f : {"d/a", "d/b", "d/c", "e/x"}) schreibe_datei(tmp / "q/" + f, "neu");
    for (const char* f : {"d/a", "d/c", "e/x"}) schreibe_datei(tmp / "z/" + f, "alt");
    setze_zeit(tmp / "q/e", 1'100'000'000, 7);
    Pfadklasse& d = verzeichnis(baum, "d", aufgabe_keine);
    for (const char* f : {"a", "b", "c"}) datei(d, f, aufgabe_kopieren, 3);
    datei(verzeichnis(baum, "e", aufgabe_keine), "x", aufgabe_kopieren, 3);
    ops.scheitere("synchronisiere", 1, EIO);

    ASSERT_TRUE(lauf());

    std::vector<std::string> fehler;
    for (const auto& m : rückfrage.meldungen)
        fehler.push_back(m.text.substr(m.text.find('\n') + tmp.pfad().size() + 4, 3));
    EXPECT_EQ(fehler, (Namen{"d/a", "d/c", "e/x"}));
    for (const char* f : {"d/a", "d/c", "e/x"}) EXPECT_EQ(lies_datei(tmp / "z/" + f), "alt") << f;
    EXPECT_EQ(lies_datei(tmp / "z/d/b"), "neu");
    EXPECT_EQ(namen_in(tmp / "z/d"), (Namen{"a", "b", "c"}));
    EXPECT_EQ(namen_in(tmp / "z/e"), Namen{"x"});
    EXPECT_EQ(lstat_von(tmp / "z/e").st_mtim.tv_sec, 1'100'000'000);
    EXPECT_EQ(ops.aufrufe("synchronisiere"), 2);  // the batch's, and the final one
}

}  // namespace
}  // namespace tarvendo::test
