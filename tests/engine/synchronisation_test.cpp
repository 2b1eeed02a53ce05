#include "engine/synchronisation.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/vergleich.h"
#include "testhilfe/prozess.h"
#include "testhilfe/sicherung.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

namespace fs = std::filesystem;
// What random pairs do not show: leftovers of killed runs and names like
// theirs, a second spelling that appears after the comparison, and no change
// of mode through a link.
TEST(Synchronisation, EinLaufBringtDasZielInOrdnung) {
    Sicherung s;
    s.lege_an({"draussen/", "draussen/wertvoll", "q/Notiz.txt", "z/notiz.txt",
               "z/.tarvendo-abcdef012345", "q/.tarvendo-abcdef01234", "q/.tarvendo-abcdef0123456",
               "q/.tarvendo-Abcdef012345"});
    fs::create_symlink("../draussen/wertvoll", s.ziel + "/link");
    (void)s.ops.setze_rechte_von(AT_FDCWD, s.ziel + "/link", 0);
    EXPECT_NE(lstat_von(s.tmp / "draussen/wertvoll").st_mode & 07777, 0u);
    test::setze_zeit(s.ziel + "/notiz.txt", 1000);

    EXPECT_EQ(s.vergleiche(), (Zeilen{"2 /.tarvendo-Abcdef012345", "2 /.tarvendo-abcdef01234",
                                      "2 /.tarvendo-abcdef0123456", "2 /Notiz.txt", "3 /link"}));
    schreibe_datei(s.ziel + "/Notiz.txt", "zweite Schreibweise");
    const Synchronisationsbericht b = s.synchronisiere();
    EXPECT_EQ(b.fehler, 0) << (s.rückfrage.meldungen.empty() ? "" : s.rückfrage.meldungen[0].text);
    EXPECT_EQ(lies_datei(s.tmp / "draussen/wertvoll"), "draussen/wertvoll");
    EXPECT_EQ(lies_datei(s.ziel + "/Notiz.txt"), "q/Notiz.txt");
    EXPECT_EQ(lies_datei(s.ziel + "/notiz.txt"), "z/notiz.txt");
    EXPECT_FALSE(existiert(s.ziel + "/.tarvendo-abcdef012345"));
    EXPECT_EQ(s.vergleiche(), Zeilen{"3 /notiz.txt"});  // the version folder is never a task
}

// The source inside the target is refused, under any name.
TEST(Synchronisation, QuelleUndZielIneinander) {
    Sicherung s;
    s.lege_an({"q/unter/"});
    fs::create_directory_symlink(s.tmp.pfad(), s.tmp / "umweg");
    const std::string msg = "Das Quellverzeichnis liegt im Zielverzeichnis.";
    const struct {
        std::string quelle, ziel;
        bool abgelehnt;
    } fälle[] = {
        {s.ziel, s.tmp.pfad(), true},
        {s.tmp / "umweg/z", s.ziel, true},  // the same directory under another name
        {s.quelle + "/unter/..", s.quelle + "/", true},
        {s.quelle, s.tmp / "umweg/q/unter", false},
        // Both pseudo file systems' roots are inode 1: only the device tells them apart.
        {"/sys/kernel", "/proc", false},
    };
    for (const auto& f : fälle)
        EXPECT_EQ(prüfe_verzeichnisse(f.quelle, f.ziel) == std::optional<std::string_view>(msg),
                  f.abgelehnt)
            << f.quelle << " " << f.ziel;
}

// A mount point in the target is filled, never deleted into.
TEST(Synchronisation, GrenzenUndTiefe) {
    Sicherung s;
    s.lege_an({"q/platte/", "q/platte/neu", "z/platte/", "q/später/", "z/später/", "q/später/u/",
               "z/später/u/", "z/später/u/weg", "z/später/leer/"});
    if (::mount("tarvendo-test", (s.ziel + "/platte").c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here: " << std::strerror(errno);
    s.lege_an({"z/platte/fremd", "z/platte/ordner/", "z/platte/ordner/f"});

    EXPECT_EQ(s.vergleiche(), (Zeilen{"0 /platte/", "2 /platte/neu", "0 /später/", "0 /später/u/",
                                      "3 /später/u/weg", "3 /später/leer/"}));
    EXPECT_EQ(s.stand.grenzen, Zeilen{s.ziel + "/platte"});
    EXPECT_NE(vergleichshinweis(s.stand)->find("anderen Dateisystem:\n" + s.ziel + "/platte"),
              std::string::npos);
    // A drive mounted after the comparison is not deleted into either, at any
    // depth, even where no move into the versions stops at its border.
    ASSERT_EQ(::mount("tarvendo-test", (s.ziel + "/später").c_str(), "tmpfs", 0, "size=1m"), 0);
    s.lege_an({"z/später/u/", "z/später/u/weg", "z/später/leer/"});
    EXPECT_EQ(s.synchronisiere(0).fehler, 2);

    EXPECT_TRUE(existiert(s.ziel + "/später/u/weg") && existiert(s.ziel + "/später/leer"));
    ::umount((s.ziel + "/später").c_str());
    EXPECT_EQ(lies_datei(s.ziel + "/platte/neu"), "q/platte/neu");
    EXPECT_TRUE(existiert(s.ziel + "/platte/fremd") && existiert(s.ziel + "/platte/ordner/f"));
    ::umount((s.ziel + "/platte").c_str());
}

// Runs a shell command line; its exit status, or -1.
int führe_aus(const TempVerzeichnis& tmp, const std::string& befehl,
              std::string* fehler = nullptr) {
    const Prozessausgabe aus = warte_auf(tmp, starte_prozess(tmp, "/bin/sh", {"-c", befehl}));
    if (fehler) *fehler = aus.fehler;
    return aus.status;
}

// Backups onto media that ignore letter case, mounted from images: FAT and
// exFAT through FUSE (no permission bits or owners, times in 2-second steps,
// some characters refused) and casefolded ext4. The data must arrive, case
// twins of the source fail alike in every run instead of taking turns, and a
// second comparison finds nothing but the twins: no leftovers of the copies.
struct Medium {
    const char* name;
    const char* werkzeuge;  // the shell test that the tools are there
    const char* einhängen;  // shell: image $BILD mounted on $MNT, target $MNT/z
    const char* aushängen;
    bool fat_namen;           // refuses : ? * " < > | backslash
    std::string langer_name;  // as long as a name can be there
};

class AufEinemMedium : public ::testing::TestWithParam<Medium> {};

TEST_P(AufEinemMedium, SicherungBleibtStabil) {
    const Medium& m = GetParam();
    if (::geteuid() != 0) GTEST_SKIP() << "mounting an image needs root";
    const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fuse < 0) GTEST_SKIP() << "no usable /dev/fuse";
    ::close(fuse);
    Sicherung s;
    if (führe_aus(s.tmp, m.werkzeuge) != 0) GTEST_SKIP() << "tools missing: " << m.werkzeuge;
    const std::string umgebung = "BILD=" + (s.tmp / "bild") + " MNT=" + (s.tmp / "mnt") + "; ";
    erstelle_verzeichnis(s.tmp / "mnt");
    std::string fehler;
    if (führe_aus(s.tmp, umgebung + m.einhängen, &fehler) != 0)
        GTEST_SKIP() << "cannot mount " << m.name << " here: " << fehler;
    struct Aushängen {
        Sicherung& s;
        std::string befehl;
        ~Aushängen() { (void)führe_aus(s.tmp, befehl); }
    } aushängen{s, umgebung + m.aushängen};
    s.ziel = s.tmp / "mnt/z";

    s.lege_an({"q/Privat/", "q/Fotos/", "q/Privat/notiz.txt", "q/A.txt", "q/a.txt", "q/D/", "q/D/y",
               "q/d/", "q/d/x", "q/alt", "q/" + m.langer_name});
    if (m.fat_namen) s.lege_an({"q/frage?.txt"});
    schreibe_datei(s.quelle + "/Fotos/Bild 1.jpg", std::string(300'000, 'b'));
    // Odd seconds with a fraction: FAT can keep neither; nor a time before 1980.
    setze_zeit(s.quelle + "/Privat/notiz.txt", 1'300'000'003, 987'654'321);
    setze_zeit(s.quelle + "/alt", 100'000'000);

    const Zeilen zwillinge = m.fat_namen ? Zeilen{"2 /d/", "2 /d/x", "2 /a.txt", "2 /frage?.txt"}
                                         : Zeilen{"2 /d/", "2 /d/x", "2 /a.txt"};
    (void)s.vergleiche();
    for (int lauf = 0; lauf < 2; ++lauf) {
        s.rückfrage.meldungen.clear();
        const Synchronisationsbericht b = s.synchronisiere();
        EXPECT_EQ(b.fehler, static_cast<int>(zwillinge.size() - 1)) << lauf;
        ASSERT_EQ(s.rückfrage.meldungen.size(), zwillinge.size() - 1);
        EXPECT_NE(s.rückfrage.meldungen[0].text.find("„D“ und „d“"), std::string::npos);
        EXPECT_NE(s.rückfrage.meldungen[1].text.find("„A.txt“ und „a.txt“"), std::string::npos);
        // The same twin wins every time; the medium keeps no second spelling.
        EXPECT_EQ(lies_datei(s.ziel + "/A.txt"), "q/A.txt");
        EXPECT_EQ(namen_in(s.ziel + "/D"), Zeilen{"y"});
        EXPECT_EQ(s.vergleiche(), zwillinge) << lauf;
    }
    EXPECT_EQ(lies_datei(s.ziel + "/Privat/notiz.txt"), "q/Privat/notiz.txt");
    EXPECT_EQ(lies_datei(s.ziel + "/Fotos/Bild 1.jpg").size(), 300'000u);
    EXPECT_EQ(lies_datei(s.ziel + "/" + m.langer_name), "q/" + m.langer_name);
}

INSTANTIATE_TEST_SUITE_P(
    Medien, AufEinemMedium,
    ::testing::Values(
        Medium{"FAT", "command -v fusefat && command -v mkfs.vfat",
               "truncate -s 32M $BILD && mkfs.vfat $BILD && fusefat -o rw+ $BILD $MNT && "
               "mkdir $MNT/z",
               "umount $MNT", true, std::string(251, 'n') + ".txt"},
        // The driver needs a block device: a loop device over the image.
        Medium{"exFAT", "command -v mount.exfat-fuse && command -v mkfs.exfat",
               "truncate -s 32M $BILD && mkfs.exfat $BILD && L=$(losetup -f --show $BILD) && "
               "echo $L > $BILD.loop && mount.exfat-fuse $L $MNT && mkdir $MNT/z",
               "umount $MNT; losetup -d $(cat $BILD.loop)", true,
               [] {
                   std::string n;
                   for (int i = 0; i < 125; ++i) n += "\xC3\xA4";  // ä: a cut would split it
                   return n + "x.txt";
               }()},
        Medium{"ext4casefold", "command -v mkfs.ext4 && command -v chattr",
               "truncate -s 32M $BILD && mkfs.ext4 -q -O casefold $BILD && "
               "mount -o loop $BILD $MNT && mkdir $MNT/z && chattr +F $MNT/z",
               "umount $MNT", false, std::string(251, 'n') + ".txt"}),
    [](const auto& fall) { return std::string(fall.param.name); });

}  // namespace
}  // namespace tarvendo::test
