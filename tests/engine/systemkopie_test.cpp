#include "engine/systemkopie.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "testhilfe/fehlerdateioperationen.h"
#include "testhilfe/tempverzeichnis.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

constexpr std::int64_t mib = 1 << 20;

// What a test does to the source at the first progress report.
enum class Eingriff { keiner, abbrechen, länger, neue_zeit, name_belegt };

// Records the progress and intervenes at the first report when asked to.
// Reflinks are off, so that every file system takes the chunked road.
class SystemkopieTest : public ::testing::Test, public Kopierbeobachter {
protected:
    SystemkopieTest() {
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
        quelle = ::open((tmp / "q").c_str(), O_PATH | O_DIRECTORY);
        ziel = ::open((tmp / "z").c_str(), O_PATH | O_DIRECTORY);
        for (std::size_t i = 0; i < inhalt.size(); ++i)
            inhalt[i] = static_cast<char>(i * 7919 + i / 4096);
        ops.scheitere("klone", 0, EOPNOTSUPP);
    }
    ~SystemkopieTest() override {
        ::close(quelle);
        ::close(ziel);
    }
    void kopierfortschritt(std::int64_t größe, std::int64_t übertragen) override {
        EXPECT_GT(größe, 0);
        stände.push_back(übertragen);
        if (stände.size() > 1) return;
        if (eingriff == Eingriff::abbrechen) abbruch = 1;
        if (eingriff == Eingriff::länger) {  // with the old time: the size alone tells
            schreibe_datei(tmp / "q/a", inhalt + "+");
            setze_zeit(tmp / "q/a", 1'200'000'000, 987'654'321);
        }
        if (eingriff == Eingriff::neue_zeit) setze_zeit(tmp / "q/a", 1'200'000'000, 987'654'322);
    }
    Ausgang kopiere(const std::string& name, bool ohne_vorrechte = false) {
        return kopie.kopiere(quelle, name, ziel, name, *this, abbruch, ohne_vorrechte);
    }

    TempVerzeichnis tmp;
    FehlerDateioperationen ops;
    Systemkopie kopie{ops};
    std::string inhalt = std::string(3 * mib + 17, '\0');
    std::vector<std::int64_t> stände;
    Eingriff eingriff = Eingriff::keiner;
    std::int32_t abbruch = 0;
    int quelle = -1, ziel = -1;
};

// A copy replaces even a read-only target and carries the permission bits and
// both times (ns) and extended attributes over, as far as the medium takes
// them: a refused attribute never costs the data. A failing step, a cancel or a source that changed
// meanwhile leaves the old target as it was, byte for byte, and no temporary
// file; the result is that step's errno.
struct Fall {
    const char* name;
    const char* op;  // the operation that fails, from its n-th call (0: every call)
    int n;
    int code;
    int ergebnis;
    Eingriff eingriff = Eingriff::keiner;
    mode_t modus = 0640;  // of a complete copy
    bool zeiten = true;   // whether a complete copy has the source's times
    bool attribut = true;  // whether it has the source's extended attribute
};

std::string attribut(const std::string& pfad, const char* name) {
    char wert[64];
    const ssize_t n = ::lgetxattr(pfad.c_str(), name, wert, sizeof wert);
    return n < 0 ? std::string() : std::string(wert, static_cast<std::size_t>(n));
}

class SystemkopieFall : public SystemkopieTest, public ::testing::WithParamInterface<Fall> {};

TEST_P(SystemkopieFall, ErsetztDasZielNurVollständig) {
    const Fall& fall = GetParam();
    schreibe_datei(tmp / "q/a", inhalt);
    ASSERT_EQ(::chmod((tmp / "q/a").c_str(), 0640), 0);
    const timespec zeiten[2] = {{1'000'000'000, 123'456'789}, {1'200'000'000, 987'654'321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (tmp / "q/a").c_str(), zeiten, 0), 0);
    schreibe_datei(tmp / "z/a", "das alte Ziel");
    ASSERT_EQ(::chmod((tmp / "z/a").c_str(), 0404), 0);
    setze_zeit(tmp / "z/a", 1'100'000'000, 5);
    const bool mit_attribut = ::setxattr((tmp / "q/a").c_str(), "user.farbe", "rot", 3, 0) == 0;
    ops.scheitere(fall.op, fall.n, fall.code);
    eingriff = fall.eingriff;
    schreibe_datei(tmp / "draussen", "fremd");
    std::string belegt;  // a link put at the temporary name just before it is created
    if (eingriff == Eingriff::name_belegt)
        ops.vor_dem_öffnen = [&](int v, const std::string& name, int flags) {
            if ((flags & O_CREAT) && belegt.empty() && ::symlinkat("../draussen", v, name.c_str()) == 0)
                belegt = name;
        };

    EXPECT_EQ(kopiere("a").fehlercode(), fall.ergebnis);

    const struct stat st = lstat_von(tmp / "z/a");  // before reading moves the access time
    const bool ok = fall.ergebnis == 0;
    EXPECT_TRUE(lies_datei(tmp / "z/a") == (ok ? inhalt : "das alte Ziel"));
    EXPECT_EQ(st.st_mode & 07777, ok ? fall.modus : 0404u);
    if (!ok || fall.zeiten) {
        EXPECT_EQ(st.st_mtim.tv_sec, ok ? 1'200'000'000 : 1'100'000'000);
        EXPECT_EQ(st.st_mtim.tv_nsec, ok ? 987'654'321 : 5);
    } else {
        EXPECT_NE(st.st_mtim.tv_sec, 1'200'000'000);
    }
    if (mit_attribut) {
        EXPECT_EQ(attribut(tmp / "z/a", "user.farbe"), ok && fall.attribut ? "rot" : "");
    }
    if (ok && fall.zeiten) {
        EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
        EXPECT_EQ(st.st_atim.tv_nsec, 123'456'789);
    }
    if (ok) {
        EXPECT_EQ(stände.empty() ? 0 : stände.back(), static_cast<std::int64_t>(inhalt.size()));
    }
    if (fall.eingriff == Eingriff::abbrechen) {
        EXPECT_EQ(stände.size(), 1u) << "stops at once";
    }
    EXPECT_EQ(lies_datei(tmp / "draussen"), "fremd");
    if (!belegt.empty()) {
        EXPECT_EQ(::unlinkat(ziel, belegt.c_str(), 0), 0);
    }
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(
    Schritte, SystemkopieFall,
    ::testing::Values(
        Fall{"Erfolg", "", 0, 0, 0}, Fall{"BelegterTemporaerName", "öffne", 2, EEXIST, 0},
        Fall{"TemporaerNameWirdLink", "", 0, 0, 0, Eingriff::name_belegt},
        Fall{"QuelleOeffnen", "öffne", 1, EACCES, EACCES},
        Fall{"TemporaerOeffnen", "öffne", 2, EROFS, EROFS},
        Fall{"PlatzVollMittendrin", "kopiere_bereich", 2, ENOSPC, ENOSPC},
        // FAT, FUSE and network media refuse what they cannot keep.
        Fall{"RechteVerweigert", "setze_rechte", 1, EPERM, 0, Eingriff::keiner, 0600},
        Fall{"RechteFehlen", "setze_rechte", 1, ENOSYS, 0, Eingriff::keiner, 0600},
        Fall{"RechteNichtUnterstuetzt", "setze_rechte", 1, EOPNOTSUPP, 0, Eingriff::keiner, 0600},
        Fall{"EigentuemerVerweigert", "setze_eigentümer", 1, EPERM, 0},
        Fall{"ZeitenVerweigert", "setze_zeiten_von", 1, EPERM, 0, Eingriff::keiner, 0640, false},
        Fall{"RechteEinLesefehler", "setze_rechte", 1, EIO, EIO},
        Fall{"AttributeNichtUnterstuetzt", "attributnamen", 1, ENOTSUP, 0, Eingriff::keiner, 0640,
             true, false},
        Fall{"AttributVerweigert", "setze_attribut", 1, EPERM, 0, Eingriff::keiner, 0640, true,
             false},
        Fall{"AttributLesefehler", "lies_attribut", 1, EIO, EIO},
        Fall{"SchliessenMeldetSchreibfehler", "schließe", 1, EIO, EIO},
        Fall{"Umbenennen", "benenne_um", 1, EXDEV, EXDEV},
        Fall{"Abbruch", "", 0, 0, ECANCELED, Eingriff::abbrechen},
        Fall{"BlockweiseAbbruch", "kopiere_bereich", 0, ENOSYS, ECANCELED, Eingriff::abbrechen},
        Fall{"QuelleWaechst", "", 0, 0, quelle_verändert, Eingriff::länger},
        Fall{"QuelleNeueZeit", "", 0, 0, quelle_verändert, Eingriff::neue_zeit}),
    [](const auto& fall) { return std::string(fall.param.name); });

// copy_file_range refused for this pair of files: a plain copy, with
// progress at every full MiB.
class BlockweiseTest : public SystemkopieTest, public ::testing::WithParamInterface<int> {};

TEST_P(BlockweiseTest, MitFortschrittJeMiBUndFifoAbgelehnt) {
    schreibe_datei(tmp / "q/a", inhalt);
    ops.scheitere("kopiere_bereich", 0, GetParam());
    ASSERT_TRUE(kopiere("a"));
    EXPECT_TRUE(lies_datei(tmp / "z/a") == inhalt);
    EXPECT_EQ(stände, (std::vector<std::int64_t>{mib, 2 * mib, 3 * mib}));
    EXPECT_EQ(ops.aufrufe("kopiere_bereich"), 1);  // not retried for every block

    ASSERT_EQ(::mkfifo((tmp / "q/fifo").c_str(), 0600), 0);
    EXPECT_EQ(kopiere("fifo").fehlercode(), ENOTSUP);  // and does not block on the open
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(Ablehnungen, BlockweiseTest,
                         ::testing::Values(EXDEV, EINVAL, ENOSYS, EOPNOTSUPP));

// Holes stay holes, by copy_file_range or by the plain copy, and a hole at
// the end gives the copy its length; where holes cannot be found, the data
// still arrive in full.
struct Lochfall {
    const char* name;
    const char* op;  // fails on every call
    int code;
    bool löcher;  // whether the copy keeps them
};

class LochTest : public SystemkopieTest, public ::testing::WithParamInterface<Lochfall> {};

TEST_P(LochTest, LöcherBleibenLöcher) {
    const std::string q = tmp / "q/dünn";
    const int fd = ::open(q.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const std::string daten(4096, 'd');
    ASSERT_EQ(::pwrite(fd, daten.data(), daten.size(), 4 * mib), 4096);
    ASSERT_EQ(::ftruncate(fd, 16 * mib), 0);
    ::close(fd);
    if (lstat_von(q).st_blocks * 512 >= 16 * mib) GTEST_SKIP() << "no holes on this file system";
    ops.scheitere(GetParam().op, 0, GetParam().code);

    ASSERT_TRUE(kopiere("dünn"));

    const struct stat st = lstat_von(tmp / "z/dünn");
    EXPECT_EQ(st.st_size, 16 * mib);
    EXPECT_EQ(st.st_blocks * 512 <= 1 * mib, GetParam().löcher) << st.st_blocks;
    EXPECT_TRUE(lies_datei(tmp / "z/dünn") == lies_datei(q));
}

INSTANTIATE_TEST_SUITE_P(Wege, LochTest,
                         ::testing::Values(Lochfall{"Kernkopie", "", 0, true},
                                           Lochfall{"Blockweise", "kopiere_bereich", EXDEV, true},
                                           Lochfall{"OhneLochsuche", "suche", EINVAL, false},
                                           // fusefat
                                           Lochfall{"LaengeVerweigert", "kürze", EPERM, true}),
                         [](const auto& fall) { return std::string(fall.param.name); });

// setuid and setgid go only with the owner and the group they belong to:
// where the copy cannot get them (refused, or not root), the bit is dropped.
// A file capability goes only where the owner went as well, and neither it
// nor setuid and setgid go with a file reached through a link.
struct Sonderfall {
    const char* name;
    uid_t besitzer;
    gid_t gruppe;
    bool eigentum_verweigert;
    mode_t modus;
    bool fähigkeit;
    bool über_link = false;
    mode_t quellmodus = 06755;
};

class SonderbitsTest : public SystemkopieTest, public ::testing::WithParamInterface<Sonderfall> {};

TEST_P(SonderbitsTest, NurMitIhremEigentümer) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give the source another owner";
    const Sonderfall& fall = GetParam();
    schreibe_datei(tmp / "q/a", "#!/bin/sh\n");
    ASSERT_EQ(::chown((tmp / "q/a").c_str(), fall.besitzer, fall.gruppe), 0);
    ASSERT_EQ(::chmod((tmp / "q/a").c_str(), fall.quellmodus), 0);
    vfs_cap_data cap{};
    cap.magic_etc = VFS_CAP_REVISION_2 | VFS_CAP_FLAGS_EFFECTIVE;
    cap.data[0].permitted = 1u << CAP_NET_RAW;
    const bool mit_fähigkeit =
        ::setxattr((tmp / "q/a").c_str(), "security.capability", &cap, sizeof cap, 0) == 0;
    if (fall.eigentum_verweigert) ops.scheitere("setze_eigentümer", 0, EPERM);

    ASSERT_TRUE(kopiere("a", fall.über_link));

    const struct stat st = lstat_von(tmp / "z/a");
    EXPECT_EQ(st.st_mode & 07777, fall.modus);
    EXPECT_EQ(st.st_uid, fall.eigentum_verweigert ? 0 : fall.besitzer);
    EXPECT_EQ(st.st_gid, fall.eigentum_verweigert ? 0 : fall.gruppe);
    if (mit_fähigkeit) {
        EXPECT_EQ(::lgetxattr((tmp / "z/a").c_str(), "security.capability", nullptr, 0) > 0,
                  fall.fähigkeit);
    }
}

INSTANTIATE_TEST_SUITE_P(Eigentum, SonderbitsTest,
                         ::testing::Values(
                             Sonderfall{"Uebernommen", 65534, 65534, false, 06755, true},
                             Sonderfall{"Verweigert", 65534, 65534, true, 0755, false},
                             Sonderfall{"BesitzerPasst", 0, 65534, true, 04755, true},
                             Sonderfall{"GruppePasst", 65534, 0, true, 02755, false},
                             Sonderfall{"NurSetgid", 65534, 65534, true, 0755, false, false, 02755},
                             Sonderfall{"UeberLink", 65534, 65534, false, 0755, false, true}),
                         [](const auto& fall) { return std::string(fall.param.name); });

}  // namespace
}  // namespace tarvendo::test
