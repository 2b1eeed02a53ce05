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
enum class Eingriff { keiner, neue_zeit, name_belegt };

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
        if (stände.size() == 1 && eingriff == Eingriff::neue_zeit)
            setze_zeit(tmp / "q/a", 1'200'000'000, 987'654'322);
    }
    Ausgang kopiere(const std::string& name) {
        return kopie.kopiere(quelle, name, ziel, name, *this, abbruch, false);
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
// times over, as far as the medium takes them. A failing step or a source
// that changed meanwhile leaves the old target as it was and no temporary
// file; the result is that step's errno. The temporary file never follows a
// link put at its name.
struct Fall {
    const char* name;
    const char* op;  // the operation that fails at its n-th call
    int n;
    int code;
    int ergebnis;
    Eingriff eingriff = Eingriff::keiner;
    mode_t modus = 0640;  // of a complete copy
};

class SystemkopieFall : public SystemkopieTest, public ::testing::WithParamInterface<Fall> {};

TEST_P(SystemkopieFall, ErsetztDasZielNurVollständig) {
    const Fall& fall = GetParam();
    schreibe_datei(tmp / "q/a", inhalt);
    ASSERT_EQ(::chmod((tmp / "q/a").c_str(), 0640), 0);
    setze_zeit(tmp / "q/a", 1'200'000'000, 987'654'321);
    schreibe_datei(tmp / "z/a", "das alte Ziel");
    ASSERT_EQ(::chmod((tmp / "z/a").c_str(), 0404), 0);
    ops.scheitere(fall.op, fall.n, fall.code);
    eingriff = fall.eingriff;
    schreibe_datei(tmp / "draussen", "fremd");
    std::string belegt;  // a link put at the temporary name just before it is created
    if (eingriff == Eingriff::name_belegt)
        ops.vor_dem_öffnen = [&](int v, const std::string& name, int flags) {
            if ((flags & O_CREAT) && belegt.empty() &&
                ::symlinkat("../draussen", v, name.c_str()) == 0)
                belegt = name;
        };

    EXPECT_EQ(kopiere("a").fehlercode(), fall.ergebnis);

    const bool ok = fall.ergebnis == 0;
    EXPECT_TRUE(lies_datei(tmp / "z/a") == (ok ? inhalt : "das alte Ziel"));
    EXPECT_EQ(lstat_von(tmp / "z/a").st_mode & 07777, ok ? fall.modus : 0404u);
    EXPECT_EQ(lies_datei(tmp / "draussen"), "fremd");
    if (!belegt.empty()) {
        EXPECT_EQ(::unlinkat(ziel, belegt.c_str(), 0), 0);
    }
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(
    Schritte, SystemkopieFall,
    ::testing::Values(Fall{"BelegterTemporaerName", "öffne", 2, EEXIST, 0},
                      Fall{"TemporaerNameWirdLink", "", 0, 0, 0, Eingriff::name_belegt},
                      Fall{"TemporaerOeffnen", "öffne", 2, EROFS, EROFS},
                      // FAT, FUSE and network media refuse what they cannot keep.
                      Fall{"RechteVerweigert", "setze_rechte", 1, EPERM, 0, Eingriff::keiner, 0600},
                      Fall{"EigentuemerVerweigert", "setze_eigentümer", 1, EPERM, 0},
                      Fall{"SchliessenMeldetSchreibfehler", "schließe", 1, EIO, EIO},
                      Fall{"QuelleNeueZeit", "", 0, 0, quelle_verändert, Eingriff::neue_zeit}),
    [](const auto& fall) { return std::string(fall.param.name); });

// copy_file_range refused across file systems: a plain copy, with progress
// at every full MiB. A FIFO is refused, without blocking on the open.
TEST_F(SystemkopieTest, BlockweiseMitFortschrittJeMiBUndFifoAbgelehnt) {
    schreibe_datei(tmp / "q/a", inhalt);
    ops.scheitere("kopiere_bereich", 0, EXDEV);
    ASSERT_TRUE(kopiere("a"));
    EXPECT_TRUE(lies_datei(tmp / "z/a") == inhalt);
    EXPECT_EQ(stände, (std::vector<std::int64_t>{mib, 2 * mib, 3 * mib}));
    EXPECT_EQ(ops.aufrufe("kopiere_bereich"), 1);  // not retried for every block

    ASSERT_EQ(::mkfifo((tmp / "q/fifo").c_str(), 0600), 0);
    EXPECT_EQ(kopiere("fifo").fehlercode(), ENOTSUP);
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

// setuid and setgid go only with the owner and the group they belong to:
// where the copy cannot get them (refused, or not root), the bit is dropped.
// A file capability goes only where the owner went as well.
struct Sonderfall {
    const char* name;
    uid_t besitzer;
    gid_t gruppe;
    bool eigentum_verweigert;
    mode_t modus;
    bool fähigkeit;
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

    ASSERT_TRUE(kopiere("a"));

    const struct stat st = lstat_von(tmp / "z/a");
    EXPECT_EQ(st.st_mode & 07777, fall.modus);
    EXPECT_EQ(st.st_uid, fall.eigentum_verweigert ? 0 : fall.besitzer);
    EXPECT_EQ(st.st_gid, fall.eigentum_verweigert ? 0 : fall.gruppe);
    if (mit_fähigkeit) {
        EXPECT_EQ(::lgetxattr((tmp / "z/a").c_str(), "security.capability", nullptr, 0) > 0,
                  fall.fähigkeit);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Eigentum, SonderbitsTest,
    ::testing::Values(Sonderfall{"Verweigert", 65534, 65534, true, 0755, false},
                      Sonderfall{"BesitzerPasst", 0, 65534, true, 04755, true},
                      Sonderfall{"NurSetgid", 65534, 65534, true, 0755, false, 02755}),
    [](const auto& fall) { return std::string(fall.param.name); });

}  // namespace
}  // namespace tarvendo::test
