#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/verzeichnisinhalt.h"
#include "testhilfe/tempverzeichnis.h"

extern char** environ;

namespace tarvendo::test {
namespace {

struct Lauf {
    int status = -1;
    std::string aus, fehler;
};

// Starts the built tarvendo-cli; bis_zum_ende waits for it, otherwise the
// caller gets the pid through *pid and collects it with warte().
pid_t starte_cli(const TempVerzeichnis& tmp, std::vector<std::string> argumente) {
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
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &aktionen, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&aktionen);
    return pid;
}

Lauf warte(const TempVerzeichnis& tmp, pid_t pid) {
    Lauf lauf;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        lauf.status = WEXITSTATUS(status);
    lauf.aus = lies_datei(tmp / "stdout");
    lauf.fehler = lies_datei(tmp / "stderr");
    return lauf;
}

Lauf cli(const TempVerzeichnis& tmp, const std::string& befehl) {
    return warte(tmp, starte_cli(tmp, {befehl, tmp / "q", tmp / "z"}));
}

std::string letzte_zeile(const std::string& text) {
    if (text.empty() || text.back() != '\n') return "(keine Zeile)";
    const std::size_t start = text.rfind('\n', text.size() - 2);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       text.size() - 1 - (start == std::string::npos ? 0 : start + 1));
}

TEST(CliSynchronisieren, ZweiLäufeMachenDasZielGleichDerQuelle) {
    TempVerzeichnis tmp;
    for (const char* d : {"q", "q/a", "q/a/b", "q/leer", "z", "z/alt", "z/alt/tief", "z/a"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/a/b/tief.txt", "tief");
    schreibe_datei(tmp / "q/a/geändert", "neu und länger");
    schreibe_datei(tmp / "q/\xC3\x9F\xFF", "kein UTF-8");
    schreibe_datei(tmp / "z/a/geändert", "alt");
    setze_zeit(tmp / "z/a/geändert", 1'000'000'000);
    schreibe_datei(tmp / "z/alt/tief/x", "x");
    schreibe_datei(tmp / "z/nur_im_ziel", "weg");
    // A source directory where the target holds a file of that name: the
    // directory cannot be created before the file is gone, so the first
    // run reports it and the second one completes the mirror.
    erstelle_verzeichnis(tmp / "q/kollision");
    schreibe_datei(tmp / "q/kollision/innen", "i");
    schreibe_datei(tmp / "z/kollision", "Datei im Weg");

    const Lauf erster = cli(tmp, "synchronisieren");
    EXPECT_EQ(erster.status, 1) << erster.fehler;
    EXPECT_NE(erster.fehler.find("Verzeichnis \n" + tmp / "z/kollision" +
                                 "\nkonnte nicht erstellt werden\n\n"),
              std::string::npos)
        << erster.fehler;
    EXPECT_EQ(letzte_zeile(erster.aus), "4 kopieren / 3 löschen");

    const Lauf zweiter = cli(tmp, "synchronisieren");
    EXPECT_EQ(zweiter.status, 0) << zweiter.fehler;
    EXPECT_EQ(zweiter.fehler, "");
    EXPECT_EQ(letzte_zeile(zweiter.aus), "1 kopieren / 0 löschen");

    const Lauf danach = cli(tmp, "vergleichen");
    EXPECT_EQ(danach.status, 0);
    EXPECT_EQ(danach.aus, "0 kopieren / 0 löschen\n");
    EXPECT_EQ(lies_datei(tmp / "z/a/geändert"), "neu und länger");
    EXPECT_EQ(lies_datei(tmp / "z/\xC3\x9F\xFF"), "kein UTF-8");
    EXPECT_EQ(namen_in(tmp / "z"),
              (std::vector<std::string>{"a", "kollision", "leer", "\xC3\x9F\xFF"}));
}

TEST(CliSynchronisieren, GleicheVerzeichnisseSindEinFalscherAufruf) {
    TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    const Lauf lauf = warte(tmp, starte_cli(tmp, {"synchronisieren", tmp / "q", tmp / "q"}));
    EXPECT_EQ(lauf.status, 2);
    EXPECT_EQ(lauf.aus, "");
    EXPECT_NE(lauf.fehler, "");
}

TEST(CliSynchronisieren, StrgCWährendDerKopieBrichtAbOhneTeilkopie) {
    TempVerzeichnis tmp;
    erstelle_verzeichnis(tmp / "q");
    erstelle_verzeichnis(tmp / "z");
    {
        // Large enough that the copy is still running when Ctrl-C arrives.
        std::string block(1 << 20, 'g');
        std::FILE* f = std::fopen((tmp / "q/gross").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        for (int i = 0; i < 256; ++i) std::fwrite(block.data(), 1, block.size(), f);
        std::fclose(f);
    }
    const pid_t pid = starte_cli(tmp, {"synchronisieren", tmp / "q", tmp / "z"});
    ASSERT_GT(pid, 0);
    // Wait for the temporary file to appear, then press Ctrl-C.
    const auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (namen_in(tmp / "z").empty() && std::chrono::steady_clock::now() < frist)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ASSERT_EQ(::kill(pid, SIGINT), 0);
    const Lauf lauf = warte(tmp, pid);

    EXPECT_EQ(lauf.status, 130) << lauf.fehler;
    EXPECT_EQ(lauf.fehler, "Aufgaben durchführen abgebrochen\n");
    EXPECT_TRUE(namen_in(tmp / "z").empty());
}

}  // namespace
}  // namespace tarvendo::test
