#include "engine/systemkopie.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "engine/fehlerdateioperationen.h"
#include "engine/verzeichnisinhalt.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {
namespace {

constexpr std::int64_t mib = 1 << 20;

// Records the progress; raises the cancel flag at the first report when asked to.
class SystemkopieTest : public ::testing::Test, public Kopierbeobachter {
protected:
    SystemkopieTest() {
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
        quelle = ::open((tmp / "q").c_str(), O_PATH | O_DIRECTORY);
        ziel = ::open((tmp / "z").c_str(), O_PATH | O_DIRECTORY);
        for (std::size_t i = 0; i < inhalt.size(); ++i)
            inhalt[i] = static_cast<char>(i * 7919 + i / 4096);
    }
    ~SystemkopieTest() override {
        ::close(quelle);
        ::close(ziel);
    }
    void kopierfortschritt(std::int64_t größe, std::int64_t übertragen) override {
        EXPECT_GT(größe, 0);
        stände.push_back(übertragen);
        if (abbrechen) abbruch = 1;
    }
    Ausgang kopiere(const std::string& name) {
        return kopie.kopiere(quelle, name, ziel, name, *this, abbruch);
    }

    TempVerzeichnis tmp;
    FehlerDateioperationen ops;
    Systemkopie kopie{ops};
    std::string inhalt = std::string(3 * mib + 17, '\0');
    std::vector<std::int64_t> stände;
    bool abbrechen = false;
    std::int32_t abbruch = 0;
    int quelle = -1, ziel = -1;
};

// A copy replaces even a read-only target and carries the permission bits and
// both times (ns) over. A failing step or a cancel leaves the old target as it
// was, byte for byte, and no temporary file; the result is that step's errno.
struct Fall {
    const char* name;
    const char* op;  // the operation that fails, from its n-th call (0: every call)
    int n;
    int code;
    int ergebnis;  // ECANCELED: the cancel flag goes up at the first progress report
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
    ops.scheitere("klone", 0, EOPNOTSUPP);  // take the chunked road everywhere
    ops.scheitere(fall.op, fall.n, fall.code);
    abbrechen = fall.ergebnis == ECANCELED;

    EXPECT_EQ(kopiere("a").fehlercode(), fall.ergebnis);

    const struct stat st = lstat_von(tmp / "z/a");  // before reading moves the access time
    const bool ok = fall.ergebnis == 0;
    EXPECT_EQ(lies_datei(tmp / "z/a"), ok ? inhalt : "das alte Ziel");
    EXPECT_EQ(st.st_mode & 07777, ok ? 0640u : 0404u);
    EXPECT_EQ(st.st_mtim.tv_sec, ok ? 1'200'000'000 : 1'100'000'000);
    EXPECT_EQ(st.st_mtim.tv_nsec, ok ? 987'654'321 : 5);
    if (ok) {
        EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
        EXPECT_EQ(st.st_atim.tv_nsec, 123'456'789);
        EXPECT_EQ(stände.empty() ? 0 : stände.back(), static_cast<std::int64_t>(inhalt.size()));
    }
    EXPECT_TRUE(!abbrechen || stände.size() == 1u) << "a cancel stops at the first report";
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(
    Schritte, SystemkopieFall,
    ::testing::Values(Fall{"Erfolg", "", 0, 0, 0},
                      Fall{"BelegterTemporaerName", "öffne", 2, EEXIST, 0},
                      Fall{"QuelleOeffnen", "öffne", 1, EACCES, EACCES},
                      Fall{"TemporaerOeffnen", "öffne", 2, EROFS, EROFS},
                      Fall{"PlatzVollMittendrin", "kopiere_bereich", 2, ENOSPC, ENOSPC},
                      Fall{"Rechte", "setze_rechte", 1, EPERM, EPERM},
                      Fall{"Zeiten", "setze_zeiten", 1, EPERM, EPERM},
                      Fall{"SchliessenMeldetSchreibfehler", "schließe", 1, EIO, EIO},
                      Fall{"Umbenennen", "benenne_um", 1, EXDEV, EXDEV},
                      Fall{"Abbruch", "", 0, 0, ECANCELED},
                      Fall{"BlockweiseAbbruch", "kopiere_bereich", 0, ENOSYS, ECANCELED}),
    [](const auto& fall) { return std::string(fall.param.name); });

// copy_file_range refused: a plain copy, with progress at every full MiB.
TEST_F(SystemkopieTest, BlockweiseMitFortschrittJeMiBUndFifoAbgelehnt) {
    schreibe_datei(tmp / "q/a", inhalt);
    ops.scheitere("kopiere_bereich", 0, EXDEV);
    ASSERT_TRUE(kopiere("a"));
    EXPECT_EQ(lies_datei(tmp / "z/a"), inhalt);
    EXPECT_EQ(stände, (std::vector<std::int64_t>{mib, 2 * mib, 3 * mib}));
    EXPECT_EQ(ops.aufrufe("kopiere_bereich"), 1);  // not retried for every block

    ASSERT_EQ(::mkfifo((tmp / "q/fifo").c_str(), 0600), 0);
    EXPECT_EQ(kopiere("fifo").fehlercode(), ENOTSUP);  // and does not block on the open
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

TEST(TemporärerName, VersteckterNameBleibtInnerhalbDerGrenze) {
    EXPECT_EQ(temporärer_name("bild.jpg", "Ab3xYz"), ".bild.jpg.tarvendo-Ab3xYz");
    EXPECT_EQ(temporärer_name(std::string(255, 'n'), "Ab3xYz"),
              "." + std::string(238, 'n') + ".tarvendo-Ab3xYz");
}

}  // namespace
}  // namespace tarvendo::test
