#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "cli/befehle.h"
#include "cli/konsole.h"
#include "testhilfe/tempverzeichnis.h"

extern char** environ;

namespace tarvendo {
namespace {

using test::erstelle_verzeichnis;
using test::schreibe_datei;

struct Ausgabe {
    int status = -1;
    std::string aus, fehler;
};

// Runs the built tarvendo-cli with the arguments; output goes through files.
Ausgabe starte(const test::TempVerzeichnis& tmp, std::vector<std::string> argumente) {
    std::string programm = TARVENDO_CLI;
    std::vector<char*> argv{programm.data()};
    for (std::string& a : argumente) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string aus = tmp / "stdout", fehler = tmp / "stderr";
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_addopen(&aktionen, 1, aus.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&aktionen, 2, fehler.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    Ausgabe ergebnis;
    if (posix_spawn(&pid, argv[0], &aktionen, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        ergebnis.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        ergebnis.aus = test::lies_datei(aus);
        ergebnis.fehler = test::lies_datei(fehler);
    }
    posix_spawn_file_actions_destroy(&aktionen);
    return ergebnis;
}

TEST(CliVergleichen, FalscherAufruf) {
    test::TempVerzeichnis tmp;
    for (const auto& argumente : std::vector<std::vector<std::string>>{
             {}, {"vergleichen", "/a"}, {"vergleiche", "/a", "/b"}}) {
        const Ausgabe a = starte(tmp, argumente);
        EXPECT_EQ(a.status, 2);
        EXPECT_EQ(a.aus, "");
        EXPECT_EQ(a.fehler.rfind("Aufruf:", 0), 0u) << a.fehler;
    }
}

TEST(CliVergleichen, PrüfungDerVerzeichnisse) {
    test::TempVerzeichnis tmp;
    struct Fall {
        std::string quelle, ziel, meldung;
    };
    const Fall fälle[] = {
        {"", tmp.pfad(), "Quellverzeichnis nicht festgelegt\n"},
        {tmp.pfad(), "", "Zielverzeichnis nicht festgelegt\n"},
        {tmp.pfad(), tmp.pfad(),
         "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein\n"},
    };
    for (const Fall& f : fälle) {
        const Ausgabe a = starte(tmp, {"vergleichen", f.quelle, f.ziel});
        EXPECT_EQ(a.status, 2);
        EXPECT_EQ(a.aus, "");
        EXPECT_EQ(a.fehler, f.meldung);
    }
}

TEST(CliVergleichen, AufgabenInBaumreihenfolge) {
    test::TempVerzeichnis tmp;
    const std::string q = tmp / "q", z = tmp / "z";
    for (const std::string& d :
         {q, z, q + "/neu", q + "/neu/sub", q + "/gleich", z + "/gleich", z + "/weg"})
        erstelle_verzeichnis(d);
    schreibe_datei(q + "/neu/sub/\xFF.bin", "");
    schreibe_datei(q + "/geändert", "neu");
    schreibe_datei(z + "/geändert", "alt!");
    schreibe_datei(q + "/gleich/g", "g");
    schreibe_datei(z + "/gleich/g", "g");
    schreibe_datei(z + "/weg/x", "");
    schreibe_datei(z + "/alt.txt", "");

    const Ausgabe a = starte(tmp, {"vergleichen", q, z});

    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.fehler, "");
    EXPECT_EQ(a.aus,
              "2 /neu/\n"
              "2 /neu/sub/\n"
              "2 /neu/sub/\xFF.bin\n"
              "3 /weg/\n"
              "3 /weg/x\n"
              "2 /geändert\n"
              "3 /alt.txt\n"
              "2 kopieren / 2 löschen\n");
}

TEST(CliVergleichen, UnlesbareQuelleLöschtNichts) {
    test::TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "z");
    schreibe_datei(tmp / "z/wertvoll", "");
    const Ausgabe a = starte(tmp, {"vergleichen", tmp / "fehlt", tmp / "z"});
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.aus, "0 kopieren / 0 löschen\n");
    EXPECT_EQ(a.fehler, "Folgende Verzeichnisse konnten nicht gelesen werden:\n" + (tmp / "fehlt") +
                            "\n\nDarunter wird im Zielverzeichnis nichts gelöscht.\n");
}

// Runs in this process: the signal handler only raises a flag, which stays
// set, so the run is cancelled at its first yield.
TEST(CliVergleichen, StrgCBrichtAb) {
    test::TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    erstelle_verzeichnis(tmp / "z");
    schreibe_datei(tmp / "q/a", "");
    cli::fange_unterbrechung();
    std::raise(SIGINT);
    ASSERT_TRUE(cli::unterbrochen());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = cli::vergleichen((tmp / "q").c_str(), (tmp / "z").c_str());
    const std::string aus = testing::internal::GetCapturedStdout();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Aufgaben ermitteln abgebrochen\n");
    EXPECT_EQ(status, 130);
    EXPECT_EQ(aus, "");
}

}  // namespace
}  // namespace tarvendo
