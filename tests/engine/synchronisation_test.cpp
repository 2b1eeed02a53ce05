#include "engine/synchronisation.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/platzpruefung.h"
#include "engine/ruecknahme.h"
#include "engine/vergleich.h"
#include "engine/versionsordner.h"
#include "engine/verzeichnisscan.h"
#include "engine/zielmedium.h"
#include "testhilfe/prozess.h"
#include "testhilfe/sicherung.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

namespace fs = std::filesystem;
// What random pairs do not show: leftovers of killed runs and names like
// theirs, a second spelling that appears after the comparison, a run while
// another holds the target, no change of mode through a link, a directory
// link in the source, and what the versions keep.
TEST(Synchronisation, EinLaufBringtDasZielInOrdnung) {
    Sicherung s;
    s.lege_an({"draussen/", "draussen/wertvoll", "q/Notiz.txt", "z/notiz.txt", "z/alt/", "z/alt/x",
               "q/.tarvendo-000000000000", "z/.tarvendo-abcdef012345", "q/.tarvendo-abcdef01234",
               "q/.tarvendo-abcdef0123456", "q/.tarvendo-Abcdef012345"});
    fs::create_symlink("../draussen/wertvoll", s.ziel + "/link");
    (void)s.ops.setze_rechte_von(AT_FDCWD, s.ziel + "/link", 0);
    EXPECT_NE(lstat_von(s.tmp / "draussen/wertvoll").st_mode & 07777, 0u);
    fs::create_directory_symlink("../draussen", s.quelle + "/verknüpft");  // read through
    test::setze_zeit(s.ziel + "/notiz.txt", 1000);

    EXPECT_EQ(s.vergleiche(), (Zeilen{"2 /verknüpft/", "2 /verknüpft/wertvoll", "3 /alt/",
                                      "3 /alt/x", "2 /.tarvendo-Abcdef012345",
                                      "2 /.tarvendo-abcdef01234", "2 /.tarvendo-abcdef0123456",
                                      "2 /Notiz.txt", "3 /link"}));
    schreibe_datei(s.ziel + "/Notiz.txt", "zweite Schreibweise");
    const int anderer_lauf = ::open(s.ziel.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(anderer_lauf, LOCK_EX), 0);
    EXPECT_TRUE(s.synchronisiere().ziel_belegt);
    EXPECT_TRUE(existiert(s.ziel + "/alt/x") && s.erledigt.zeilen().empty());
    ::close(anderer_lauf);

    const Synchronisationsbericht b = s.synchronisiere();
    EXPECT_EQ(b.fehler, 0) << (s.rückfrage.meldungen.empty() ? "" : s.rückfrage.meldungen[0].text);
    EXPECT_EQ(lies_datei(s.tmp / "draussen/wertvoll"), "draussen/wertvoll");
    EXPECT_EQ(lies_datei(s.ziel + "/verknüpft/wertvoll"), "draussen/wertvoll");
    EXPECT_EQ(lies_datei(s.ziel + "/Notiz.txt"), "q/Notiz.txt");
    EXPECT_EQ(lies_datei(s.ziel + "/notiz.txt"), "z/notiz.txt");
    EXPECT_FALSE(existiert(s.ziel + "/.tarvendo-abcdef012345"));
    const std::string v = b.versionsordner;
    ASSERT_EQ(v.rfind(s.ziel + "/.tarvendo/versionen/", 0), 0u) << v;
    EXPECT_TRUE(s.ist_link(v.substr(s.tmp.pfad().size() + 1) + "/link"));
    EXPECT_EQ(lies_datei(v + "/alt/x"), "z/alt/x");
    // The version folder is never a task.
    EXPECT_EQ(s.vergleiche(), Zeilen{"3 /notiz.txt"});
}

// When the move into the versions fails (a bind mount: EXDEV), the entry is
// neither deleted nor replaced, and the failure is reported.
TEST(Synchronisation, OhneAblageWirdNichtsGelöschtOderErsetzt) {
    Sicherung s;
    s.lege_an({"z/weg", "z/ersetzt", "z/ordner/", "z/ordner/f"});
    schreibe_datei(s.quelle + "/ersetzt", "neu");
    (void)s.vergleiche();
    s.ops.scheitere("benenne_um", 0, EXDEV);
    EXPECT_EQ(s.synchronisiere().fehler, 3);
    EXPECT_EQ(lies_datei(s.ziel + "/weg"), "z/weg");
    EXPECT_EQ(lies_datei(s.ziel + "/ersetzt"), "z/ersetzt");
    EXPECT_EQ(lies_datei(s.ziel + "/ordner/f"), "z/ordner/f");

    // A ".tarvendo" that is a link is never written through: a pure mirror, said once.
    s.ops = FehlerDateioperationen();
    s.lege_an({"draussen/"});
    fs::remove_all(s.ziel + "/.tarvendo");
    fs::create_directory_symlink("../draussen", s.ziel + "/.tarvendo");
    (void)s.vergleiche();
    const Synchronisationsbericht b = s.synchronisiere();
    EXPECT_EQ(b.fehler, 0);
    EXPECT_NE(b.versionshinweis.find("keine Versionen"), std::string::npos) << b.versionshinweis;
    EXPECT_FALSE(existiert(s.ziel + "/weg"));
    EXPECT_TRUE(namen_in(s.tmp / "draussen").empty());
}

// A full medium drops the oldest version folder and tries again; versions
// older than the days to keep go at the start of a run.
TEST(Synchronisation, VersionenMachenPlatzUndVerfallen) {
    Sicherung s;
    if (::mount("tarvendo-test", s.ziel.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here: " << std::strerror(errno);
    struct Aushängen {
        std::string ziel;
        ~Aushängen() { ::umount(ziel.c_str()); }
    } aushängen{s.ziel};
    const std::string versionen = s.ziel + "/.tarvendo/versionen/";
    const std::string abgelaufen = versionsname(std::time(nullptr) - 31 * 86400);
    const std::string frisch = versionsname(std::time(nullptr) - 29 * 86400);
    s.lege_an({"z/.tarvendo/", "z/.tarvendo/versionen/", "z/.tarvendo/versionen/" + abgelaufen + "/",
               "z/.tarvendo/versionen/" + frisch + "/"});
    schreibe_datei(s.ziel + "/gross", std::string(500'000, 'a'));
    // A killed run's copy takes most of the room, which the run frees first.
    schreibe_datei(s.ziel + "/.tarvendo-abcdef012345", std::string(450'000, 'r'));
    schreibe_datei(s.quelle + "/neu", std::string(300'000, 'n'));
    (void)s.vergleiche();
    const auto platz = ermittle_platz(*s.stand.aufgabenbaum, s.ziel, 30);
    EXPECT_TRUE(platz && !platzwarnung(*platz)) << (platz ? platz->verfügbar : -1);
    EXPECT_EQ(s.synchronisiere().fehler, 0);
    EXPECT_EQ(namen_in(versionen).size(), 2u);  // the fresh one and the run's
    EXPECT_FALSE(existiert(versionen + abgelaufen));

    schreibe_datei(s.quelle + "/gross2", std::string(600'000, 'b'));
    (void)s.vergleiche();
    EXPECT_EQ(s.synchronisiere().fehler, 0);
    EXPECT_EQ(lies_datei(s.ziel + "/gross2").size(), 600'000u);
    EXPECT_FALSE(existiert(versionen + frisch));
}

// The source inside the target is refused; the target inside the source is
// left out of the source, so the backup never holds a copy of itself.
TEST(Synchronisation, QuelleUndZielIneinander) {
    Sicherung s;
    s.lege_an({"q/a", "q/unter/", "z/b"});
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
        {s.tmp / "fehlt", s.ziel, false},
        // Both pseudo file systems' roots are inode 1: only the device tells them apart.
        {"/sys/kernel", "/proc", false},
    };
    for (const auto& f : fälle)
        EXPECT_EQ(prüfe_verzeichnisse(f.quelle, f.ziel) == std::optional<std::string_view>(msg),
                  f.abgelehnt)
            << f.quelle << " " << f.ziel;

    s.ziel = s.quelle + "/unter/sicherung";
    erstelle_verzeichnis(s.ziel);
    fs::create_directory_symlink("unter", s.quelle + "/zu_unter");
    for (int lauf = 0; lauf < 2; ++lauf) {
        (void)s.vergleiche();
        EXPECT_EQ(s.synchronisiere().fehler, 0);
    }
    // The link into the tree is not followed: unter is backed up once.
    EXPECT_TRUE(existiert(s.ziel + "/unter/") && !existiert(s.ziel + "/zu_unter"));
    EXPECT_FALSE(existiert(s.ziel + "/unter/sicherung"));
    EXPECT_TRUE(s.vergleiche().empty());
}

// A change of mode alone is made without a second copy of the data; a
// link back to the start is not followed and keeps what the target holds of
// its name.
TEST(Synchronisation, RechteErreichenDieSicherung) {
    Sicherung s;
    s.lege_an({"q/geheim.txt", "z/self/", "z/self/alt"});
    fs::create_directory_symlink(".", s.quelle + "/self");
    EXPECT_EQ(s.vergleiche(), Zeilen{"2 /geheim.txt"});
    EXPECT_EQ(s.stand.übergangen, Zeilen{s.quelle + "/self"});
    EXPECT_EQ(s.synchronisiere().fehler, 0);

    ASSERT_EQ(::chmod((s.quelle + "/geheim.txt").c_str(), 0600), 0);
    const ino_t vorher = lstat_von(s.ziel + "/geheim.txt").st_ino;
    EXPECT_EQ(s.vergleiche(), Zeilen{"4 /geheim.txt"});
    EXPECT_EQ(s.zustand.anzahl_kopieren, 0);
    EXPECT_EQ(s.synchronisiere().fehler, 0);
    EXPECT_EQ(lstat_von(s.ziel + "/geheim.txt").st_ino, vorher);
    EXPECT_EQ(lstat_von(s.ziel + "/geheim.txt").st_mode & 07777, 0600u);
    EXPECT_TRUE(existiert(s.ziel + "/self/alt"));
}

// A mount point in the target is filled, never deleted into; a tree deeper
// than the walk goes is copied as far as it was read and reported.
TEST(Synchronisation, GrenzenUndTiefe) {
    Sicherung s;
    s.lege_an({"q/platte/", "q/platte/neu", "z/platte/", "q/später/", "z/später/", "q/später/u/",
               "z/später/u/", "z/später/u/weg", "z/später/leer/"});
    if (::mount("tarvendo-test", (s.ziel + "/platte").c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "tmpfs cannot be mounted here: " << std::strerror(errno);
    s.lege_an({"z/platte/fremd", "z/platte/ordner/", "z/platte/ordner/f"});
    erstelle_kette(s.quelle + "/tief", Verzeichnisscan::größte_tiefe + 5);

    const Zeilen aufgaben = s.vergleiche();
    ASSERT_EQ(aufgaben.size(), 6 + Verzeichnisscan::größte_tiefe);  // the chain as far as read
    EXPECT_EQ(Zeilen(aufgaben.begin(), aufgaben.begin() + 6),
              (Zeilen{"0 /platte/", "2 /platte/neu", "0 /später/", "0 /später/u/", "3 /später/u/weg",
                      "3 /später/leer/"}));
    EXPECT_EQ(s.stand.grenzen, Zeilen{s.ziel + "/platte"});
    ASSERT_EQ(s.stand.nicht_gelesen.size(), 1u);
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
    EXPECT_TRUE(entferne_kette(s.quelle + "/tief"));
    EXPECT_TRUE(entferne_kette(s.ziel + "/tief"));
}


// Runs a shell command line; its exit status, or -1.
int führe_aus(const TempVerzeichnis& tmp, const std::string& befehl, std::string* fehler = nullptr) {
    const Prozessausgabe aus = warte_auf(tmp, starte_prozess(tmp, "/bin/sh", {"-c", befehl}));
    if (fehler) *fehler = aus.fehler;
    return aus.status;
}

// Backups onto media that ignore letter case, mounted from images: FAT and
// exFAT through FUSE (no permission bits or owners, times in 2-second steps
// from 1980 to 2107, some characters refused) and casefolded ext4. The data
// must arrive, case twins of the source fail alike in every run instead of
// taking turns, case renames and replacements converge in one run, and a
// second comparison finds nothing but the twins.
struct Medium {
    const char* name;
    const char* werkzeuge;   // the shell test that the tools are there
    const char* einhängen;   // shell: image $BILD mounted on $MNT, target $MNT/z
    const char* aushängen;
    bool fat_namen;          // refuses : ? * " < > | backslash
    std::string langer_name;  // as long as a name can be there
    bool verschiebt_verzeichnisse = true;  // fusefat empties a directory it renames
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
    // Names as the target lists them: a lookup would ignore letter case.
    const auto namen = [&](const std::string& relativ) { return namen_in(s.ziel + relativ); };

    s.lege_an({"q/Privat/", "q/Fotos/", "q/Fotos/2024/", "q/Privat/notiz.txt", "q/Privat/bleibt",
               "q/leer", "q/A.txt",
               "q/a.txt", "q/D/", "q/D/y", "q/d/", "q/d/x", "q/alt"});
    s.lege_an({"q/" + m.langer_name});
    if (m.fat_namen) s.lege_an({"q/frage?.txt"});
    schreibe_datei(s.quelle + "/Fotos/2024/Bild 1.jpg", std::string(300'000, 'b'));
    ASSERT_EQ(::chmod((s.quelle + "/Privat/notiz.txt").c_str(), 0640), 0);
    ASSERT_EQ(::chmod((s.quelle + "/Privat").c_str(), 0700), 0);
    // The stick keeps no extended attributes, and says so: no failure.
    (void)::setxattr((s.quelle + "/Privat/notiz.txt").c_str(), "user.farbe", "rot", 3, 0);
    // Odd seconds with a fraction: FAT can keep neither; nor a time before 1980.
    setze_zeit(s.quelle + "/Privat/notiz.txt", 1'300'000'003, 987'654'321);
    setze_zeit(s.quelle + "/Fotos/2024/Bild 1.jpg", 1'200'000'001, 500'000'000);
    setze_zeit(s.quelle + "/alt", 100'000'000);
    // What a killed run left: no task, and gone after the next.
    schreibe_datei(s.ziel + "/.tarvendo-abcdef012345", "rest");

    const Zeilen zwillinge = m.fat_namen
                                 ? Zeilen{"2 /d/", "2 /d/x", "2 /a.txt", "2 /frage?.txt"}
                                 : Zeilen{"2 /d/", "2 /d/x", "2 /a.txt"};
    const std::size_t fehler_je_lauf = zwillinge.size() - 1;
    EXPECT_EQ(s.vergleiche().size(), 15u + (m.fat_namen ? 1 : 0));
    for (int lauf = 0; lauf < 2; ++lauf) {
        s.rückfrage.meldungen.clear();
        const Synchronisationsbericht b = s.synchronisiere();
        EXPECT_EQ(b.fehler, static_cast<int>(fehler_je_lauf)) << lauf;
        EXPECT_TRUE(b.gesichert) << b.gesichert.fehlercode();
        ASSERT_EQ(s.rückfrage.meldungen.size(), fehler_je_lauf);
        EXPECT_NE(s.rückfrage.meldungen[0].text.find(s.ziel + "/d\n"), std::string::npos);
        EXPECT_NE(s.rückfrage.meldungen[0].text.find("„D“ und „d“"), std::string::npos);
        EXPECT_NE(s.rückfrage.meldungen[1].text.find("„A.txt“ und „a.txt“"), std::string::npos);
        if (m.fat_namen) {
            EXPECT_EQ(s.rückfrage.meldungen[2].text,
                      "Datei \n" + s.ziel + "/frage?.txt\nkonnte nicht kopiert werden\n\n" +
                          std::string(name_abgelehnt_text));
        }
        // The same twin wins every time; the medium keeps no second spelling.
        EXPECT_EQ(lies_datei(s.ziel + "/A.txt"), "q/A.txt");
        EXPECT_EQ(namen("/D"), Zeilen{"y"});
        EXPECT_EQ(s.vergleiche(), zwillinge) << lauf;
    }
    EXPECT_EQ(lies_datei(s.ziel + "/Privat/notiz.txt"), "q/Privat/notiz.txt");
    EXPECT_EQ(lies_datei(s.ziel + "/Fotos/2024/Bild 1.jpg").size(), 300'000u);
    EXPECT_EQ(lies_datei(s.ziel + "/" + m.langer_name), "q/" + m.langer_name);
    EXPECT_FALSE(existiert(s.ziel + "/.tarvendo-abcdef012345"));

    // Renames that change letter case only, a file replaced by a directory
    // of another spelling, a deleted directory: one run, and the target
    // spells them as the source where a renamed directory keeps its entries.
    const Zeilen basis_vorher = namen("");
    fs::rename(s.quelle + "/Privat", s.quelle + "/privat");
    schreibe_datei(s.quelle + "/privat/notiz.txt", "neu");
    fs::remove(s.quelle + "/leer");
    fs::remove_all(s.quelle + "/Fotos");
    s.lege_an({"q/LEER/", "q/LEER/inhalt"});
    (void)s.vergleiche();
    EXPECT_EQ(s.synchronisiere().fehler, static_cast<int>(fehler_je_lauf));
    EXPECT_EQ(s.vergleiche(), zwillinge);
    const Zeilen basis = namen("");
    EXPECT_EQ(std::find(basis.begin(), basis.end(), "privat") != basis.end(),
              m.verschiebt_verzeichnisse);
    EXPECT_EQ(std::find(basis.begin(), basis.end(), "Privat") == basis.end(),
              m.verschiebt_verzeichnisse);
    EXPECT_EQ(lies_datei(s.ziel + "/privat/notiz.txt"), "neu");
    EXPECT_EQ(lies_datei(s.ziel + "/privat/bleibt"), "q/Privat/bleibt");
    EXPECT_EQ(lies_datei(s.ziel + "/LEER/inhalt"), "q/LEER/inhalt");

    // Versions need nothing but a rename: the run can be taken back there too.
    EXPECT_EQ(nimm_zurück(s.ops, s.ziel).art, Rücknahme::Art::zurückgenommen);
    EXPECT_EQ(lies_datei(s.ziel + "/leer"), "q/leer");
    EXPECT_FALSE(existiert(s.ziel + "/LEER/inhalt"));
    EXPECT_EQ(namen(""), basis_vorher);  // "Privat" spelt as before the run
    EXPECT_EQ(lies_datei(s.ziel + "/Fotos/2024/Bild 1.jpg").size(), 300'000u);
}

INSTANTIATE_TEST_SUITE_P(
    Medien, AufEinemMedium,
    ::testing::Values(
        Medium{"FAT", "command -v fusefat && command -v mkfs.vfat",
               "truncate -s 32M $BILD && mkfs.vfat $BILD && fusefat -o rw+ $BILD $MNT && "
               "mkdir $MNT/z",
               "umount $MNT", true, std::string(251, 'n') + ".txt", false},
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
