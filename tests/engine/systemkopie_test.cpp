#include "engine/systemkopie.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "engine/fehlerdateioperationen.h"
#include "engine/verzeichnisinhalt.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {
namespace {

class Beobachter final : public Kopierbeobachter {
public:
    std::vector<std::int64_t> stände;
    std::function<void()> bei_fortschritt;
    void kopierfortschritt(std::int64_t größe, std::int64_t übertragen) override {
        EXPECT_GT(größe, 0);
        stände.push_back(übertragen);
        if (bei_fortschritt) bei_fortschritt();
    }
};

std::string muster(std::size_t länge) {
    std::string s(länge, '\0');
    for (std::size_t i = 0; i < länge; ++i) s[i] = static_cast<char>((i * 7919 + i / 4096) & 0xFF);
    return s;
}

class SystemkopieTest : public ::testing::Test {
protected:
    void SetUp() override {
        erstelle_verzeichnis(tmp / "q");
        erstelle_verzeichnis(tmp / "z");
        quelle = ::open((tmp / "q").c_str(), O_PATH | O_DIRECTORY);
        ziel = ::open((tmp / "z").c_str(), O_PATH | O_DIRECTORY);
    }
    void TearDown() override {
        ::close(quelle);
        ::close(ziel);
    }
    Status kopiere(const std::string& name) {
        return kopie.kopiere(quelle, name, ziel, name, beobachter, abbruch);
    }

    TempVerzeichnis tmp;
    FehlerDateioperationen ops;
    Systemkopie kopie{ops};
    Beobachter beobachter;
    std::int32_t abbruch = 0;
    int quelle = -1;
    int ziel = -1;
};

TEST_F(SystemkopieTest, NeueDateiTrägtInhaltRechteUndZeitenMitNanosekunden) {
    const std::string inhalt = muster(3 * 1024 * 1024 + 17);
    schreibe_datei(tmp / "q/a", inhalt);
    ASSERT_EQ(::chmod((tmp / "q/a").c_str(), 0640), 0);
    const timespec zeiten[2] = {{1'000'000'000, 123'456'789}, {1'200'000'000, 987'654'321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (tmp / "q/a").c_str(), zeiten, 0), 0);

    ASSERT_TRUE(kopiere("a"));

    const struct stat st = lstat_von(tmp / "z/a");  // before reading moves the access time
    EXPECT_EQ(lies_datei(tmp / "z/a"), inhalt);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'200'000'000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 987'654'321);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
    EXPECT_EQ(st.st_atim.tv_nsec, 123'456'789);
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
    ASSERT_FALSE(beobachter.stände.empty());
    EXPECT_EQ(beobachter.stände.back(), static_cast<std::int64_t>(inhalt.size()));
}

TEST_F(SystemkopieTest, SchreibgeschütztesZielWirdErsetzt) {
    schreibe_datei(tmp / "q/a", "neu");
    ASSERT_EQ(::chmod((tmp / "q/a").c_str(), 0755), 0);
    schreibe_datei(tmp / "z/a", "alter Inhalt");
    ASSERT_EQ(::chmod((tmp / "z/a").c_str(), 0444), 0);

    ASSERT_TRUE(kopiere("a"));

    EXPECT_EQ(lies_datei(tmp / "z/a"), "neu");
    EXPECT_EQ(lstat_von(tmp / "z/a").st_mode & 07777, 0755u);
}

TEST_F(SystemkopieTest, LeereDateiOhneFortschritt) {
    schreibe_datei(tmp / "q/leer", "");
    ASSERT_TRUE(kopiere("leer"));
    EXPECT_EQ(lies_datei(tmp / "z/leer"), "");
    EXPECT_TRUE(beobachter.stände.empty());
}

// Any step that fails leaves the old target byte for byte and no temporary
// file, and reports its own errno.
struct FehlschlagFall {
    const char* name;
    Op op;
    int n;
    int code;
};

class SystemkopieFehlschlag : public SystemkopieTest,
                              public ::testing::WithParamInterface<FehlschlagFall> {};

TEST_P(SystemkopieFehlschlag, AltesZielBleibtUnverändert) {
    const FehlschlagFall& fall = GetParam();
    schreibe_datei(tmp / "q/a", muster(3 * 1024 * 1024));
    schreibe_datei(tmp / "z/a", "das alte Ziel");
    ASSERT_EQ(::chmod((tmp / "z/a").c_str(), 0604), 0);
    setze_zeit(tmp / "z/a", 1'100'000'000, 5);
    ops.scheitere(Op::klone, 0, EOPNOTSUPP);  // take the chunked road everywhere
    ops.scheitere(fall.op, fall.n, fall.code);

    const Status s = kopiere("a");

    EXPECT_EQ(s.fehlercode(), fall.code);
    EXPECT_EQ(lies_datei(tmp / "z/a"), "das alte Ziel");
    const struct stat st = lstat_von(tmp / "z/a");
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'100'000'000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 5);
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

INSTANTIATE_TEST_SUITE_P(
    JederSchritt, SystemkopieFehlschlag,
    ::testing::Values(FehlschlagFall{"QuelleOeffnen", Op::öffne, 1, EACCES},
                      FehlschlagFall{"TemporaerOeffnen", Op::öffne, 2, EROFS},
                      FehlschlagFall{"PlatzVollMittendrin", Op::kopiere_bereich, 2, ENOSPC},
                      FehlschlagFall{"Rechte", Op::setze_rechte, 1, EPERM},
                      FehlschlagFall{"Zeiten", Op::setze_zeiten, 1, EPERM},
                      FehlschlagFall{"SchliessenMeldetSchreibfehler", Op::schließe, 1, EIO},
                      FehlschlagFall{"Umbenennen", Op::benenne_um, 1, EXDEV}),
    [](const auto& fall) { return std::string(fall.param.name); });

TEST_F(SystemkopieTest, AbbruchWährendGroßerKopieLässtAltesZiel) {
    schreibe_datei(tmp / "q/gross", muster(24 * 1024 * 1024));
    schreibe_datei(tmp / "z/gross", "alt");
    ops.scheitere(Op::klone, 0, EOPNOTSUPP);
    beobachter.bei_fortschritt = [this] { abbruch = 1; };

    EXPECT_EQ(kopiere("gross").fehlercode(), ECANCELED);

    EXPECT_EQ(beobachter.stände.size(), 1u);
    EXPECT_LT(beobachter.stände[0], 24 * 1024 * 1024);
    EXPECT_EQ(lies_datei(tmp / "z/gross"), "alt");
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"gross"});
}

TEST_F(SystemkopieTest, AbgelehnterBereichKopiertBlockweiseMitFortschrittJeMiB) {
    const std::string inhalt = muster(3 * 1024 * 1024 + 100);
    schreibe_datei(tmp / "q/a", inhalt);
    ops.scheitere(Op::klone, 0, EOPNOTSUPP);
    ops.scheitere(Op::kopiere_bereich, 0, EXDEV);

    ASSERT_TRUE(kopiere("a"));

    EXPECT_EQ(lies_datei(tmp / "z/a"), inhalt);
    const std::int64_t mib = 1024 * 1024;
    EXPECT_EQ(beobachter.stände, (std::vector<std::int64_t>{mib, 2 * mib, 3 * mib}));
    EXPECT_EQ(ops.aufrufe(Op::kopiere_bereich), 1);
}

TEST_F(SystemkopieTest, BlockweiseAbbruchAnDerMiBMarke) {
    schreibe_datei(tmp / "q/a", muster(3 * 1024 * 1024));
    schreibe_datei(tmp / "z/a", "alt");
    ops.scheitere(Op::klone, 0, EOPNOTSUPP);
    ops.scheitere(Op::kopiere_bereich, 0, ENOSYS);
    beobachter.bei_fortschritt = [this] { abbruch = 1; };

    EXPECT_EQ(kopiere("a").fehlercode(), ECANCELED);
    EXPECT_EQ(beobachter.stände, std::vector<std::int64_t>{1024 * 1024});
    EXPECT_EQ(lies_datei(tmp / "z/a"), "alt");
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

TEST_F(SystemkopieTest, BelegterTemporärerNameWirdUmgangen) {
    schreibe_datei(tmp / "q/a", "x");
    ops.scheitere(Op::öffne, 2, EEXIST);
    ASSERT_TRUE(kopiere("a"));
    EXPECT_EQ(lies_datei(tmp / "z/a"), "x");
    EXPECT_EQ(namen_in(tmp / "z"), std::vector<std::string>{"a"});
}

TEST_F(SystemkopieTest, FifoAlsQuelleWirdAbgelehntOhneZuBlockieren) {
    ASSERT_EQ(::mkfifo((tmp / "q/fifo").c_str(), 0600), 0);
    EXPECT_EQ(kopiere("fifo").fehlercode(), ENOTSUP);
    EXPECT_TRUE(namen_in(tmp / "z").empty());
}

TEST(TemporärerName, VersteckterNameBleibtInnerhalbDerGrenze) {
    EXPECT_EQ(temporärer_name("bild.jpg", "Ab3xYz"), ".bild.jpg.tarvendo-Ab3xYz");
    const std::string lang(255, 'n');
    const std::string name = temporärer_name(lang, "Ab3xYz");
    EXPECT_EQ(name.size(), 255u);
    EXPECT_EQ(name.front(), '.');
    EXPECT_EQ(name.substr(name.size() - 16), ".tarvendo-Ab3xYz");
}

}  // namespace
}  // namespace tarvendo::test
