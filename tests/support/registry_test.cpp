#include "support/registry.h"

#include <unistd.h>

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <string>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

using test::TempVerzeichnis;

// Every test gets its own empty configuration directory.
class Registry : public ::testing::Test {
protected:
    Registry() { lege_ort_fest(tmp.pfad()); }
    ~Registry() override { lege_ort_fest("/nonexistent"); }

    static void lege_ort_fest(const std::string& verzeichnis) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(verzeichnis));
    }
    [[nodiscard]] std::string datei() const { return tmp / "Morvanhalder/Tarvendo.conf"; }

    TempVerzeichnis tmp;
};

TEST_F(Registry, ErsterStartVorgabenUndLeerIstNichtFehlend) {
    EXPECT_EQ(gib_einstellung("Administration", "fwidth", 9840), "9840");
    EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/");
    EXPECT_FALSE(test::existiert(datei())) << "reading must not create the store";

    EXPECT_EQ(setze_einstellung("LastSession", "destpath", ""), 0);
    EXPECT_EQ(gib_einstellung("LastSession", "destpath", "/"), "");
    EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/");
}

TEST_F(Registry, WerteKommenUnverändertZurück) {
    // The last one is not UTF-8: a file name in another encoding.
    const std::string werte[] = {
        "a, b",           "@ByteArray(x)", "x=y;z #k",        "\"zitiert\"",
        "zwei\nZeilen\\", "Grüße",         "latin1 \xe9t\xe9"};
    for (const std::string& wert : werte) {
        EXPECT_EQ(setze_einstellung("LastSession", "sourcepath", wert), 0);
        EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), wert);
    }
    EXPECT_EQ(setze_einstellung("Administration", "fheigth", -7200), 0);
    EXPECT_EQ(gib_einstellung("Administration", "fheigth", 0), "-7200");

    // The store is the per-user file, sections as groups, readable text.
    const std::string inhalt = test::lies_datei(datei());
    EXPECT_NE(inhalt.find("[Administration]\nfheigth=-7200\n"), std::string::npos) << inhalt;
}

TEST_F(Registry, AbschnittLöschenLässtDenAnderenStehen) {
    ASSERT_EQ(setze_einstellung("Administration", "version", "0.9"), 0);
    ASSERT_EQ(setze_einstellung("LastSession", "sourcepath", "/a"), 0);
    ASSERT_EQ(setze_einstellung("LastSession", "destpath", "/b"), 0);

    EXPECT_EQ(lösche_abschnitt("LastSession"), 0);
    EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/");
    EXPECT_EQ(gib_einstellung("LastSession", "destpath", "/"), "/");
    EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), "0.9");

    EXPECT_EQ(lösche_abschnitt("LastSession"), 0) << "a missing section is no error";
    EXPECT_EQ(lösche_abschnitt(""), 0);
    EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), "0.9") << "nothing else goes";
}

TEST_F(Registry, LiestJedesMalFrischAusDerDatei) {
    ASSERT_EQ(setze_einstellung("Administration", "version", "1.0"), 0);
    // Another copy of the program writes in between.
    test::schreibe_datei(datei(), "[Administration]\nversion=2.15\n");
    EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), "2.15");
}

TEST_F(Registry, BeschädigteDateiGibtVorgabenUndWirdNeuGeschrieben) {
    const struct {
        const char* inhalt;
        const char* erwartet;  // for Administration/version, default "0.0"
    } fälle[] = {
        {"\x01\x02\xff\xfe garbage \x80\n=\n[[[\n", "0.0"},
        {"[Administration]\nversion=@Variant(\\0\\0\\0\\x7f\\0kaputt)\n", "0.0"},
        {"[Administration\nversion=1.0\n", "1.0"},             // what can still be read is kept
        {"[Administration]\nversion=1.0, 2.0\n", "1.0, 2.0"},  // unquoted commas by hand
    };
    test::erstelle_verzeichnis(tmp / "Morvanhalder");
    for (const auto& fall : fälle) {
        test::schreibe_datei(datei(), fall.inhalt);
        EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), fall.erwartet)
            << fall.inhalt;
        EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/");
        (void)setze_einstellung("LastSession", "sourcepath", "/neu");
        EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/neu") << fall.inhalt;
        ::unlink(datei().c_str());
    }
}

TEST_F(Registry, UnbrauchbarerOrtGibtVorgabenUndSchreibtNichts) {
    // A directory where the file should be: neither readable nor writable.
    test::erstelle_verzeichnis(tmp / "Morvanhalder");
    test::erstelle_verzeichnis(datei());
    EXPECT_NE(setze_einstellung("Administration", "version", "1.0"), 0);
    EXPECT_NE(lösche_abschnitt("Administration"), 0);
    EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), "0.0");

    // A configuration directory that cannot be created.
    test::schreibe_datei(tmp / "datei", "kein Verzeichnis");
    lege_ort_fest(tmp / "datei/config");
    EXPECT_NE(setze_einstellung("Administration", "version", "1.0"), 0);
    EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), "0.0");
    EXPECT_EQ(test::lies_datei(tmp / "datei"), "kein Verzeichnis");
}

}  // namespace
}  // namespace tarvendo
