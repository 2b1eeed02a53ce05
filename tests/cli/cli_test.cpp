// End-to-end checks of the built tarvendo-cli.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "support/programmversion.h"
#include "testhilfe/fehlerdateioperationen.h"
#include "testhilfe/prozess.h"
#include "testhilfe/tempverzeichnis.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

Prozessausgabe cli(const TempVerzeichnis& tmp, std::vector<std::string> argumente) {
    return warte_auf(tmp, starte_prozess(tmp, TARVENDO_CLI, std::move(argumente)));
}

std::string letzte_zeile(const std::string& text) {
    const std::size_t start = text.rfind('\n', text.size() < 2 ? 0 : text.size() - 2);
    return text.substr(start == std::string::npos ? 0 : start + 1);
}

// What each call line leads to; wrong calls end with status 2 before anything is read.
TEST(Cli, Aufrufe) {
    TempVerzeichnis tmp;
    const std::string d = tmp.pfad();
    erstelle_verzeichnis(tmp / "z");
    erstelle_verzeichnis(tmp / "z/q");
    schreibe_datei(tmp / "datei", "");
    struct Fall {
        std::vector<std::string> argumente;
        int status;
        std::string aus, fehler;  // "Aufruf:\n": how the usage text begins
    };
    const std::string fehlt =
        "Quellverzeichnis " + d + "/fehlt existiert nicht oder ist kein Verzeichnis\n";
    const Fall fälle[] = {
        {{}, 2, "", "Aufruf:\n"},
        // The source forgotten: the option is no directory name.
        {{"synchronisieren", "--löschen-erlauben", d + "/z"}, 2, "", "Aufruf:\n"},
        {{"vergleichen", d, d + "/z", "--löschen-erlauben"}, 2, "", "Aufruf:\n"},
        {{"vergleichen", d, d + "/z", "überzählig"}, 2, "", "Aufruf:\n"},
        {{"vergleichen", d, "--help", "-x"}, 0, "Aufruf:\n", ""},
        {{"--version"}, 0, "tarvendo-cli " + std::string(programm::version) + "\n", ""},
        {{"vergleichen", "--", d + "/fehlt", "--help"}, 2, "", fehlt},
        {{"vergleichen", "", d}, 2, "", "Quellverzeichnis nicht festgelegt\n"},
        {{"synchronisieren", d + "/z/q", d + "/z"},
         2,
         "",
         "Das Quellverzeichnis liegt im Zielverzeichnis.\n"},
        {{"synchronisieren", d + "/z", d + "/datei"},
         2,
         "",
         "Zielverzeichnis " + d + "/datei existiert nicht oder ist kein Verzeichnis\n"},
        {{"synchronisieren", "--versionen-tage", "-1", d, d + "/z"}, 2, "", "Aufruf:\n"},
        {{"vergleichen", "--versionen-tage=3", d, d + "/z"}, 2, "", "Aufruf:\n"},
        {{"rückgängig", d + "/z"},
         1,
         "",
         "Im Zielverzeichnis\n" + d +
             "/z\ngibt es keinen Lauf, der rückgängig gemacht werden kann.\n"},
    };
    for (const Fall& f : fälle) {
        const Prozessausgabe a = cli(tmp, f.argumente);
        EXPECT_EQ(a.status, f.status) << f.argumente.size();
        EXPECT_EQ(f.aus == "Aufruf:\n" ? a.aus.substr(0, 8) : a.aus, f.aus);
        EXPECT_EQ(f.fehler == "Aufruf:\n" ? a.fehler.substr(0, 8) : a.fehler, f.fehler);
    }
    // More than the target can hold (a sparse file costs nothing to make).
    erstelle_verzeichnis(tmp / "riesig");
    schreibe_datei(tmp / "riesig/datei", "");
    ASSERT_EQ(::truncate((tmp / "riesig/datei").c_str(), off_t{1} << 42), 0);
    const Prozessausgabe voll = cli(tmp, {"synchronisieren", d + "/riesig", d + "/z"});
    EXPECT_EQ(voll.status, 4);
    EXPECT_EQ(voll.fehler.rfind("Im Zielverzeichnis ist zu wenig Platz.\nDie Kopien brauchen "
                                "4398046,5 MB, verfügbar sind höchstens ",
                                0),
              0u)
        << voll.fehler;
    EXPECT_FALSE(existiert(tmp / "z/datei"));
}

TEST(CliVergleichen, AufgabenInBaumreihenfolgeUndSumme) {
    TempVerzeichnis tmp;
    for (const char* d : {"q", "z", "q/neu", "q/neu/sub", "q/gleich", "z/gleich", "z/weg"})
        erstelle_verzeichnis(tmp / d);
    // No name can start a line of its own or reach the terminal as a command.
    schreibe_datei(tmp / "q/neu/sub/\xFF\n\x1B[2J\\\xC2\x9B.bin", "");
    schreibe_datei(tmp / "q/geändert", "neu");
    schreibe_datei(tmp / "z/geändert", "alt!");
    schreibe_datei(tmp / "q/gleich/g", "g");
    schreibe_datei(tmp / "z/gleich/g", "g");
    schreibe_datei(tmp / "q/gleich/h", "h");  // its directory stays unnamed
    schreibe_datei(tmp / "z/weg/x", "");
    schreibe_datei(tmp / "z/alt.txt", "");

    const Prozessausgabe a = cli(tmp, {"vergleichen", tmp / "q", tmp / "z"});

    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.fehler, "");
    EXPECT_EQ(a.aus,
              "2 /neu/\n"
              "2 /neu/sub/\n"
              "2 /neu/sub/\\xFF\\x0A\\x1B[2J\\\\\\xC2\\x9B.bin\n"
              "2 /gleich/h\n"
              "3 /weg/\n"
              "3 /weg/x\n"
              "2 /geändert\n"
              "3 /alt.txt\n"
              "3 kopieren / 2 löschen\n");
}

// A backup that is incomplete or whose output could not be written is no success.
TEST(Cli, UnvollständigIstKeinErfolg) {
    for (const std::string befehl : {"vergleichen", "synchronisieren"}) {
        TempVerzeichnis tmp;
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
        erstelle_verzeichnis(tmp / "z/platte");
        ASSERT_EQ(::symlink("/nirgends", (tmp / "q/platte").c_str()), 0);  // an unplugged drive

        const Prozessausgabe a = cli(tmp, {befehl, tmp / "q", tmp / "z"});
        EXPECT_EQ(a.status, 1) << befehl;
        EXPECT_EQ(letzte_zeile(a.aus), "0 kopieren / 0 löschen\n");
        EXPECT_NE(a.fehler.find("nicht gelesen werden:\n" + tmp / "q/platte\n"), std::string::npos);

        ASSERT_EQ(::unlink((tmp / "q/platte").c_str()), 0);
        const Prozessausgabe voll = warte_auf(
            tmp, starte_prozess(tmp, TARVENDO_CLI, {befehl, tmp / "q", tmp / "z"}, "/dev/full"));
        EXPECT_EQ(voll.status, 1) << befehl;
    }
}

// Standard output that refuses its first write and takes every later one.
ssize_t stottere(void* geschrieben, const char*, size_t größe) {
    if ((*static_cast<int*>(geschrieben))++ > 0) return static_cast<ssize_t>(größe);
    errno = EIO;
    return -1;
}

// A write that failed while the list was long is not made good by a final
// flush that worked.
TEST(CliVergleichen, FrüherSchreibfehlerZählt) {
    TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    erstelle_verzeichnis(tmp / "z");
    for (int i = 0; i < 400; ++i)
        schreibe_datei(tmp / "q" + "/" + std::string(240, 'a') + std::to_string(i), "");
    int geschrieben = 0;
    std::FILE* aus = ::fopencookie(&geschrieben, "w", {nullptr, stottere, nullptr, nullptr});
    std::FILE* alt = stdout;
    stdout = aus;
    const int status = cli::vergleichen((tmp / "q").c_str(), (tmp / "z").c_str());
    stdout = alt;
    std::fclose(aus);
    EXPECT_GT(geschrieben, 1);
    EXPECT_EQ(status, 1);
}

TEST(CliSynchronisieren, EinLaufMachtDasZielGleichDerQuelleUndLässtSichZurücknehmen) {
    TempVerzeichnis tmp;
    for (const char* d :
         {"q", "q/a", "q/leer", "q/kollision", "q/.tarvendo", "z", "z/alt", "z/alt/tief", "z/a"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/a/geändert", "neu und länger");
    schreibe_datei(tmp / "q/\xC3\x9F\xFF", "kein UTF-8");
    schreibe_datei(tmp / "z/a/geändert", "alt");
    schreibe_datei(tmp / "z/alt/tief/x", "x");
    ASSERT_EQ(::symlink("/", (tmp / "z/link").c_str()), 0);
    // A file where the source has a directory goes first.
    schreibe_datei(tmp / "q/kollision/innen", "i");
    schreibe_datei(tmp / "z/kollision", "Datei im Weg");
    ASSERT_EQ(::chmod((tmp / "z/a/geändert").c_str(), 0604), 0);
    for (const char* seite : {"q", "z"}) {  // the same but for the rights
        schreibe_datei(tmp / seite + "/rechte", "r");
        setze_zeit(tmp / seite + "/rechte", 1'000'000'000);
    }
    ASSERT_EQ(::chmod((tmp / "q/rechte").c_str(), 0600), 0);
    ASSERT_EQ(::chmod((tmp / "z/rechte").c_str(), 0644), 0);
    // Directories: one the run must make writable to fill, one with rights
    // alone to change, and (as root) another owner.
    erstelle_verzeichnis(tmp / "q/nurrechte");
    erstelle_verzeichnis(tmp / "z/nurrechte");
    ASSERT_EQ(::chmod((tmp / "q/nurrechte").c_str(), 0700), 0);
    ASSERT_EQ(::chmod((tmp / "z/nurrechte").c_str(), 0751), 0);
    ASSERT_EQ(::chmod((tmp / "z/a").c_str(), 02555), 0);
    ASSERT_EQ(::chmod((tmp / "z/alt").c_str(), 0555), 0);  // deleted
    const uid_t eigner = ::geteuid() == 0 ? 65534 : ::geteuid();
    ASSERT_EQ(::lchown((tmp / "z/nurrechte").c_str(), eigner, static_cast<gid_t>(-1)), 0);
    setze_zeit(tmp / "z/a/geändert", 1'000'000'000, 123);
    const struct stat vorher = lstat_von(tmp / "z/a/geändert");

    const Prozessausgabe lauf = cli(tmp, {"synchronisieren", tmp / "q", tmp / "z"});
    EXPECT_EQ(lauf.status, 0) << lauf.fehler;
    // The source's own ".tarvendo" is named, not copied.
    EXPECT_NE(lauf.fehler.find(tmp / "q/.tarvendo\n"), std::string::npos) << lauf.fehler;
    EXPECT_EQ(letzte_zeile(lauf.aus), "3 kopieren / 3 löschen\n");
    EXPECT_NE(lauf.aus.find("Versionen und Protokoll: " + tmp / "z/.tarvendo/versionen/"),
              std::string::npos);

    EXPECT_EQ(cli(tmp, {"vergleichen", tmp / "q", tmp / "z"}).aus, "0 kopieren / 0 löschen\n");

    // Not while another run holds the target.
    const int anderer_lauf = ::open((tmp / "z").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(anderer_lauf, LOCK_EX), 0);
    const Prozessausgabe belegt = cli(tmp, {"rückgängig", tmp / "z"});
    ::close(anderer_lauf);
    EXPECT_EQ(belegt.status, 2);
    EXPECT_NE(belegt.fehler.find("anderen Synchronisationslauf"), std::string::npos);
    EXPECT_EQ(lies_datei(tmp / "z/a/geändert"), "neu und länger");

    // Taken back: what it made goes, what it replaced or deleted is back as it was.
    const Prozessausgabe zurück = cli(tmp, {"rückgängig", tmp / "z"});
    EXPECT_EQ(zurück.status, 0) << zurück.fehler;
    EXPECT_EQ(namen_in(tmp / "z"), (std::vector<std::string>{".tarvendo", "a", "alt", "kollision",
                                                             "link", "nurrechte", "rechte"}));
    EXPECT_EQ(lstat_von(tmp / "z/rechte").st_mode & 07777, 0644u);
    EXPECT_EQ(lstat_von(tmp / "z/nurrechte").st_mode & 07777, 0751u);
    EXPECT_EQ(lstat_von(tmp / "z/a").st_mode & 07777, 02555u);
    EXPECT_EQ(lstat_von(tmp / "z/alt").st_mode & 07777, 0555u);
    EXPECT_EQ(lstat_von(tmp / "z/nurrechte").st_uid, eigner);
    EXPECT_EQ(namen_in(tmp / "z/.tarvendo/versionen"), std::vector<std::string>{});
    EXPECT_EQ(lies_datei(tmp / "z/a/geändert"), "alt");
    const struct stat nachher = lstat_von(tmp / "z/a/geändert");
    EXPECT_EQ(nachher.st_mode, vorher.st_mode);
    EXPECT_EQ(nachher.st_mtim.tv_sec, vorher.st_mtim.tv_sec);
    EXPECT_EQ(nachher.st_mtim.tv_nsec, vorher.st_mtim.tv_nsec);
    EXPECT_EQ(lies_datei(tmp / "z/alt/tief/x"), "x");
    EXPECT_EQ(lies_datei(tmp / "z/kollision"), "Datei im Weg");
    EXPECT_TRUE(S_ISLNK(lstat_von(tmp / "z/link").st_mode));

    // A file the run made and that was changed since: refused, nothing touched.
    ASSERT_EQ(cli(tmp, {"synchronisieren", tmp / "q", tmp / "z"}).status, 0);
    schreibe_datei(tmp / "z/kollision/innen", "geändert");
    const Prozessausgabe verweigert = cli(tmp, {"rückgängig", tmp / "z"});
    EXPECT_EQ(verweigert.status, 2);
    EXPECT_NE(verweigert.fehler.find(tmp / "z/kollision/innen\nwurde seitdem verändert"),
              std::string::npos)
        << verweigert.fehler;
    EXPECT_EQ(lies_datei(tmp / "z/a/geändert"), "neu und länger");
    EXPECT_EQ(namen_in(tmp / "z/.tarvendo/versionen").size(), 1u);
}

// Target files, source files kept of them, an empty source directory "leer"
// whose target counterpart holds some of them, the option (at the end, where
// options may stand too), and whether the run is refused.
TEST(CliSynchronisieren, MassenlöschungNurAufAusdrücklichenWunsch) {
    const struct {
        int ziel, behalten, in_leer;
        bool erlauben;
        int status;
        const char* warnung;
    } fälle[] = {
        {200, 0, 0, false, 3, "Das Quellverzeichnis ist leer."},
        {1, 0, 0, false, 3, "Das Quellverzeichnis ist leer.\nDer Lauf würde 1 Dateien"},
        {199, 99, 0, false, 3, "Der Lauf würde 100 von 199 Dateien"},
        {200, 100, 0, false, 0, ""},
        {300, 200, 100, false, 3, "/q/leer\nist leer.\nDer Lauf würde 100 Dateien darunter"},
        {300, 201, 99, false, 0, ""},
        {200, 0, 0, true, 0, ""},
    };
    for (const auto& f : fälle) {
        TempVerzeichnis tmp;
        for (const char* d : {"q", "q/leer", "z", "z/leer"}) erstelle_verzeichnis(tmp / d);
        for (int i = 0; i < f.ziel; ++i) {
            const std::string name = (i < f.in_leer ? "/leer/f" : "/f") + std::to_string(i);
            schreibe_datei(tmp / "z" + name, "");
            if (i >= f.in_leer && i < f.in_leer + f.behalten) schreibe_datei(tmp / "q" + name, "");
        }
        if (f.behalten == 0) ::rmdir((tmp / "q/leer").c_str());
        std::vector<std::string> argumente{"synchronisieren", tmp / "q", tmp / "z"};
        if (f.erlauben) argumente.push_back("--löschen-erlauben");
        const Prozessausgabe a = cli(tmp, argumente);
        EXPECT_EQ(a.status, f.status) << f.ziel << " " << f.behalten << " " << a.fehler;
        if (f.status == 3) {
            EXPECT_NE(a.fehler.find(f.warnung), std::string::npos) << a.fehler;
            EXPECT_EQ(namen_in(tmp / "z").size() - 1 + namen_in(tmp / "z/leer").size(),
                      std::size_t(f.ziel));
        }
    }
}

// What was written must reach the medium; a failed flush is a failed run.
TEST(CliSynchronisieren, MisslungenesSchreibenAufDenDatenträger) {
    TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    erstelle_verzeichnis(tmp / "z");
    schreibe_datei(tmp / "q/neu", "n");
    FehlerDateioperationen ops;
    ops.scheitere("synchronisiere", 0, EIO);
    testing::internal::CaptureStderr();
    const int status = cli::synchronisieren((tmp / "q").c_str(), (tmp / "z").c_str(), false, ops);
    const std::string fehler = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_NE(fehler.find("konnte nicht auf den Datenträger geschrieben werden"),
              std::string::npos);
}

// Ctrl-C, SIGTERM and SIGHUP end a run at once, leaving no partial copy.
TEST(CliSynchronisieren, SignalWährendDerKopieBrichtAbOhneTeilkopie) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempVerzeichnis tmp;
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
        // Large enough that the copy is still running when the signal arrives.
        if (const int code = belege_datei(tmp / "q/gross", 2L << 30); code != 0)
            GTEST_SKIP() << "no room for 2 GiB: " << std::strerror(code);
        schreibe_datei(tmp / "z/gross", "alt");

        const pid_t pid =
            starte_prozess(tmp, TARVENDO_CLI, {"synchronisieren", tmp / "q", tmp / "z"});
        ASSERT_GT(pid, 0);
        // The signal as soon as the copy has written into its temporary file;
        // the empty probe of the target that the comparison makes is no copy.
        const auto kopie_läuft = [&] {
            for (const std::string& name : namen_in(tmp / "z")) {
                struct stat st {};
                if (name != "gross" && name != ".tarvendo" &&
                    ::lstat((tmp / "z/" + name).c_str(), &st) == 0 && st.st_size > 0)
                    return true;
            }
            return false;
        };
        const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!kopie_läuft() && std::chrono::steady_clock::now() < frist)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        ASSERT_EQ(::kill(pid, signal), 0);
        const Prozessausgabe lauf = warte_auf(tmp, pid);

        EXPECT_EQ(lauf.status, 128 + signal) << lauf.fehler;
        EXPECT_EQ(lauf.fehler, "Aufgaben durchführen abgebrochen\n");
        EXPECT_EQ(namen_in(tmp / "z"), (std::vector<std::string>{".tarvendo", "gross"}));
        EXPECT_EQ(lies_datei(tmp / "z/gross"), "alt");
    }
}

// A signal stops the copy in progress too, not just the run after it.
TEST(CliSynchronisieren, SignalHältAuchDieLaufendeKopieAn) {
    cli::fange_unterbrechung();
    Programmzustand zustand;
    cli::SignalSchleife schleife(zustand);
    schleife.ereignisse_verarbeiten();
    EXPECT_FALSE(zustand.abbruch || zustand.kopierabbruch);
    ASSERT_EQ(::raise(SIGHUP), 0);
    schleife.ereignisse_verarbeiten();
    EXPECT_TRUE(zustand.abbruch);
    EXPECT_EQ(zustand.kopierabbruch, 1);
    EXPECT_EQ(cli::abbruchstatus(), 128 + SIGHUP);
}

// A run killed at any point, then taken back: every file the target held
// is back in place, or at worst still in the version folder; none is lost.
TEST(CliSynchronisieren, RücknahmeEinesLaufsNurMitNeuerDatei) {
    // Its record line waits in a buffer that the end of the run must write.
    TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    erstelle_verzeichnis(tmp / "z");
    schreibe_datei(tmp / "q/neu", "n");
    ASSERT_EQ(cli(tmp, {"synchronisieren", tmp / "q", tmp / "z"}).status, 0);
    EXPECT_EQ(cli(tmp, {"rückgängig", tmp / "z"}).status, 0);
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{".tarvendo"});
}

TEST(CliSynchronisieren, GetöteterLaufVerliertNachRücknahmeNichts) {
    for (const unsigned saat : {1u, 2u, 3u, 4u}) {
        TempVerzeichnis tmp;
        for (const char* d : {"q", "z", "z/baum", "z/baum/unten"}) erstelle_verzeichnis(tmp / d);
        std::vector<std::pair<std::string, std::string>> ziel;  // what the target held
        for (int i = 0; i < 300; ++i) {
            const std::string n = "/f" + std::to_string(i);
            ziel.emplace_back(n, "alt " + n);                   // replaced
            ziel.emplace_back(n + "w", "weg " + n);             // deleted
            ziel.emplace_back("/baum/unten" + n, "baum " + n);  // deleted with its tree
            schreibe_datei(tmp / "q" + n, "neu " + n);
            schreibe_datei(tmp / "q" + n + "n", "neu " + n);  // created
        }
        for (const auto& [pfad, inhalt] : ziel) schreibe_datei(tmp / "z" + pfad, inhalt);

        const pid_t pid = starte_prozess(
            tmp, TARVENDO_CLI, {"synchronisieren", "--löschen-erlauben", tmp / "q", tmp / "z"});
        ASSERT_GT(pid, 0);
        unsigned zufall = saat;
        std::this_thread::sleep_for(std::chrono::microseconds(::rand_r(&zufall) % 100'000));
        ::kill(pid, SIGKILL);
        (void)warte_auf(tmp, pid);
        (void)cli(tmp, {"rückgängig", tmp / "z"});

        const std::string versionen = tmp / "z/.tarvendo/versionen";
        for (const auto& [pfad, inhalt] : ziel) {
            bool gefunden = existiert(tmp / "z" + pfad) && lies_datei(tmp / "z" + pfad) == inhalt;
            if (!gefunden && existiert(versionen))
                for (const std::string& lauf : namen_in(versionen))
                    gefunden |= existiert(versionen + "/" + lauf + pfad);
            EXPECT_TRUE(gefunden) << saat << " " << pfad;
        }
    }
}

}  // namespace
}  // namespace tarvendo::test
