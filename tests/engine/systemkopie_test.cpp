#include "engine/systemkopie.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
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
enum class Eingriff { keiner, abbrechen, länger, neue_zeit };

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
    Ausgang kopiere(const std::string& name) {
        return kopie.kopiere(quelle, name, ziel, name, *this, abbruch);
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
// both times (ns) over, as far as the medium takes them: a refused attribute
// never costs the data. A failing step, a cancel or a source that changed
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
};

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
    ops.scheitere(fall.op, fall.n, fall.code);
    eingriff = fall.eingriff;

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
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(
    Schritte, SystemkopieFall,
    ::testing::Values(
        Fall{"Erfolg", "", 0, 0, 0}, Fall{"BelegterTemporaerName", "öffne", 2, EEXIST, 0},
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

// setuid and setgid go only with the owner and the group they belong to:
// where the copy cannot get them (refused, or not root), the bit is dropped.
struct Sonderfall {
    const char* name;
    uid_t besitzer;
    gid_t gruppe;
    bool eigentum_verweigert;
    mode_t modus;
};

class SonderbitsTest : public SystemkopieTest, public ::testing::WithParamInterface<Sonderfall> {};

TEST_P(SonderbitsTest, NurMitIhremEigentümer) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give the source another owner";
    const Sonderfall& fall = GetParam();
    schreibe_datei(tmp / "q/a", "#!/bin/sh\n");
    ASSERT_EQ(::chown((tmp / "q/a").c_str(), fall.besitzer, fall.gruppe), 0);
    ASSERT_EQ(::chmod((tmp / "q/a").c_str(), 06755), 0);
    if (fall.eigentum_verweigert) ops.scheitere("setze_eigentümer", 0, EPERM);

    ASSERT_TRUE(kopiere("a"));

    const struct stat st = lstat_von(tmp / "z/a");
    EXPECT_EQ(st.st_mode & 07777, fall.modus);
    EXPECT_EQ(st.st_uid, fall.eigentum_verweigert ? 0 : fall.besitzer);
    EXPECT_EQ(st.st_gid, fall.eigentum_verweigert ? 0 : fall.gruppe);
}

INSTANTIATE_TEST_SUITE_P(Eigentum, SonderbitsTest,
                         ::testing::Values(Sonderfall{"Uebernommen", 65534, 65534, false, 06755},
                                           Sonderfall{"Verweigert", 65534, 65534, true, 0755},
                                           Sonderfall{"BesitzerPasst", 0, 65534, true, 04755},
                                           Sonderfall{"GruppePasst", 65534, 0, true, 02755}),
                         [](const auto& fall) { return std::string(fall.param.name); });

}  // namespace
}  // namespace tarvendo::test
