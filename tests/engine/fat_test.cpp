// A backup onto a real FAT file system, mounted through FUSE from an image:
// the medium refuses permission bits and owners and keeps times in 2-second
// steps, and still the data must arrive and a second comparison find nothing.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/fehlerdateioperationen.h"
#include "engine/synchronisation.h"
#include "engine/vergleich.h"
#include "engine/verzeichnisquelle.h"
#include "testhilfe/fakes.h"
#include "testhilfe/prozess.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {
namespace {

// Runs a shell command line; its exit status, or -1.
int führe_aus(const TempVerzeichnis& tmp, const std::string& befehl,
              std::string* fehler = nullptr) {
    const Prozessausgabe aus = warte_auf(tmp, starte_prozess(tmp, "/bin/sh", {"-c", befehl}));
    if (fehler) *fehler = aus.fehler;
    return aus.status;
}

class FatTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a FAT image needs root";
        const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
        if (fuse < 0) GTEST_SKIP() << "no usable /dev/fuse";
        ::close(fuse);
        if (führe_aus(tmp, "command -v fusefat && command -v mkfs.vfat") != 0)
            GTEST_SKIP() << "fusefat or mkfs.vfat missing (packages fusefat, dosfstools)";
        erstelle_verzeichnis(ziel);
        std::string fehler;
        if (führe_aus(tmp,
                      "truncate -s 32M " + tmp / "fat.img" + " && mkfs.vfat " + tmp / "fat.img" +
                          " && fusefat -o rw+ " + tmp / "fat.img" + " " + ziel,
                      &fehler) != 0)
            GTEST_SKIP() << "cannot mount a FAT image here: " << fehler;
        eingehängt = true;
    }
    void TearDown() override {
        if (eingehängt) (void)führe_aus(tmp, "umount " + ziel);
    }

    // Compares, then synchronises what it found; the number of files to copy.
    int lauf() {
        PosixVerzeichnisquelle dateisystem;
        Vergleichsstand stand;
        EXPECT_TRUE(vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand, dateisystem));
        EXPECT_TRUE(stand.nicht_gelesen.empty());
        EXPECT_EQ(zustand.anzahl_löschen, 0);
        const int aufgaben = zustand.anzahl_kopieren;
        const Synchronisationsbericht bericht =
            synchronisiere(*stand.aufgabenbaum, quelle, ziel,
                           {anzeigen.alle, schleife, rückfrage, erledigt, zustand, ops, stoppuhr});
        EXPECT_EQ(bericht.fehler, 0);
        EXPECT_TRUE(bericht.gesichert) << bericht.gesichert.fehlercode();
        return aufgaben;
    }

    TempVerzeichnis tmp;
    std::string quelle = tmp / "q", ziel = tmp / "stick";
    bool eingehängt = false;
    AufzeichnendeAnzeigen anzeigen;
    ZählendeSchleife schleife;
    SkriptRückfrage rückfrage;
    AufzeichnenderErledigtbaum erledigt;
    Programmzustand zustand;
    FehlerDateioperationen ops;
    CStopWatch stoppuhr;
};

TEST_F(FatTest, KopieKommtAnUndGiltDanachAlsGleich) {
    for (const char* d : {"q", "q/Privat", "q/Fotos", "q/Fotos/2024"})
        erstelle_verzeichnis(tmp / d);
    schreibe_datei(tmp / "q/Privat/notiz.txt", "geheim");
    schreibe_datei(tmp / "q/Fotos/2024/Bild 1.jpg", std::string(300'000, 'b'));
    schreibe_datei(tmp / "q/leer", "");
    ASSERT_EQ(::chmod((tmp / "q/Privat/notiz.txt").c_str(), 0640), 0);
    ASSERT_EQ(::chmod((tmp / "q/Privat").c_str(), 0700), 0);
    // Odd seconds with a fraction: FAT can keep neither.
    setze_zeit(tmp / "q/Privat/notiz.txt", 1'300'000'003, 987'654'321);
    setze_zeit(tmp / "q/Fotos/2024/Bild 1.jpg", 1'200'000'001, 500'000'000);

    EXPECT_EQ(lauf(), 3);
    EXPECT_TRUE(rückfrage.meldungen.empty()) << rückfrage.meldungen.front().text;
    EXPECT_EQ(lies_datei(ziel + "/Privat/notiz.txt"), "geheim");
    EXPECT_EQ(lies_datei(ziel + "/Fotos/2024/Bild 1.jpg").size(), 300'000u);

    EXPECT_EQ(lauf(), 0);
}

}  // namespace
}  // namespace tarvendo::test
