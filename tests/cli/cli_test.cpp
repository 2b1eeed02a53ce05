// End-to-end checks of the built tarvendo-cli.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/verzeichnisinhalt.h"
#include "testhilfe/prozess.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {
namespace {

Prozessausgabe cli(const TempVerzeichnis& tmp, std::vector<std::string> argumente) {
    return warte_auf(tmp, starte_prozess(tmp, TARVENDO_CLI, std::move(argumente)));
}

std::string letzte_zeile(const std::string& text) {
    const std::size_t start = text.rfind('\n', text.size() < 2 ? 0 : text.size() - 2);
    return text.substr(start == std::string::npos ? 0 : start + 1);
}

TEST(Cli, FalscherAufrufEndetMitStatus2) {
    TempVerzeichnis tmp;
    const std::string d = tmp.pfad();
    struct Fall {
        std::vector<std::string> argumente;
        std::string fehler;  // "Aufruf:\n": how the usage text begins
    };
    const Fall fälle[] = {
        {{}, "Aufruf:\n"},
        {{"vergleiche", "/a", "/b"}, "Aufruf:\n"},
        {{"vergleichen", "", d}, "Quellverzeichnis nicht festgelegt\n"},
        {{"vergleichen", d, ""}, "Zielverzeichnis nicht festgelegt\n"},
        {{"synchronisieren", d, d},
         "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein\n"},
    };
    for (const Fall& f : fälle) {
        const Prozessausgabe a = cli(tmp, f.argumente);
        EXPECT_EQ(a.status, 2);
        EXPECT_EQ(a.aus, "");
        EXPECT_EQ(f.fehler == "Aufruf:\n" ? a.fehler.substr(0, 8) : a.fehler, f.fehler);
    }
}

TEST(CliVergleichen, AufgabenInBaumreihenfolgeUndSumme) {
    TempVerzeichnis tmp;
    for (const char* d : {"q", "z", "q/neu", "q/neu/sub", "q/gleich", "z/gleich", "z/weg"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/neu/sub/\xFF.bin", "");
    schreibe_datei(tmp / "q/geändert", "neu");
    schreibe_datei(tmp / "z/geändert", "alt!");
    schreibe_datei(tmp / "q/gleich/g", "g");
    schreibe_datei(tmp / "z/gleich/g", "g");
    schreibe_datei(tmp / "z/weg/x", "");
    schreibe_datei(tmp / "z/alt.txt", "");

    const Prozessausgabe a = cli(tmp, {"vergleichen", tmp / "q", tmp / "z"});

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

TEST(CliSynchronisieren, ZweiLäufeMachenDasZielGleichDerQuelle) {
    TempVerzeichnis tmp;
    for (const char* d : {"q", "q/a", "q/leer", "q/kollision", "z", "z/alt", "z/alt/tief", "z/a"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/a/geändert", "neu und länger");
    schreibe_datei(tmp / "q/\xC3\x9F\xFF", "kein UTF-8");
    schreibe_datei(tmp / "z/a/geändert", "alt");
    schreibe_datei(tmp / "z/alt/tief/x", "x");
    // The target holds a file where the source has a directory: the first run
    // cannot create the directory before the file is gone, the second can.
    schreibe_datei(tmp / "q/kollision/innen", "i");
    schreibe_datei(tmp / "z/kollision", "Datei im Weg");

    const Prozessausgabe erster = cli(tmp, {"synchronisieren", tmp / "q", tmp / "z"});
    EXPECT_EQ(erster.status, 1) << erster.fehler;
    EXPECT_NE(erster.fehler.find("Verzeichnis \n" + tmp / "z/kollision" +
                                 "\nkonnte nicht erstellt werden\n\n"),
              std::string::npos)
        << erster.fehler;
    EXPECT_EQ(letzte_zeile(erster.aus), "3 kopieren / 2 löschen\n");

    const Prozessausgabe zweiter = cli(tmp, {"synchronisieren", tmp / "q", tmp / "z"});
    EXPECT_EQ(zweiter.status, 0) << zweiter.fehler;
    EXPECT_EQ(zweiter.fehler, "");
    EXPECT_EQ(letzte_zeile(zweiter.aus), "1 kopieren / 0 löschen\n");

    EXPECT_EQ(cli(tmp, {"vergleichen", tmp / "q", tmp / "z"}).aus, "0 kopieren / 0 löschen\n");
    EXPECT_EQ(lies_datei(tmp / "z/a/geändert"), "neu und länger");
    EXPECT_EQ(lies_datei(tmp / "z/\xC3\x9F\xFF"), "kein UTF-8");
    EXPECT_EQ(namen_in(tmp / "z"),
              (std::vector<std::string>{"a", "kollision", "leer", "\xC3\x9F\xFF"}));
}

TEST(CliSynchronisieren, StrgCWährendDerKopieBrichtAbOhneTeilkopie) {
    TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    erstelle_verzeichnis(tmp / "z");
    // Large enough that the copy is still running when Ctrl-C arrives, and
    // sparse, so that making it costs nothing.
    schreibe_datei(tmp / "q/gross", "g");
    ASSERT_EQ(::truncate((tmp / "q/gross").c_str(), off_t{2} << 30), 0);

    const pid_t pid = starte_prozess(tmp, TARVENDO_CLI, {"synchronisieren", tmp / "q", tmp / "z"});
    ASSERT_GT(pid, 0);
    // Ctrl-C as soon as the temporary file appears.
    const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (namen_in(tmp / "z").empty() && std::chrono::steady_clock::now() < frist)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ASSERT_EQ(::kill(pid, SIGINT), 0);
    const Prozessausgabe lauf = warte_auf(tmp, pid);

    EXPECT_EQ(lauf.status, 130) << lauf.fehler;
    EXPECT_EQ(lauf.fehler, "Aufgaben durchführen abgebrochen\n");
    EXPECT_TRUE(namen_in(tmp / "z").empty());
}

}  // namespace
}  // namespace tarvendo::test
