#include "einstellungen/registry.h"

#include <unistd.h>

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <string>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

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

    test::TempVerzeichnis tmp;
};

TEST_F(Registry, VorgabenWerteUndAbschnitte) {
    EXPECT_EQ(gib_einstellung("Administration", "fwidth", 9840), "9840");
    EXPECT_FALSE(test::existiert(datei())) << "reading must not create the store";

    // Empty is not missing; the last value is not UTF-8 (a file name in another encoding).
    for (const std::string wert :
         {"", "a, b", "@ByteArray(x)", "x=y;z #k", "zwei\nZeilen\\", "latin1 \xe9t\xe9"}) {
        EXPECT_EQ(setze_einstellung("LastSession", "destpath", wert), 0);
        EXPECT_EQ(gib_einstellung("LastSession", "destpath", "/"), wert);
    }
    EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/");
    EXPECT_EQ(setze_einstellung("Administration", "fheigth", -7200), 0);
    EXPECT_NE(test::lies_datei(datei()).find("[Administration]\nfheigth=-7200\n"),
              std::string::npos);

    EXPECT_EQ(lösche_abschnitt("LastSession"), 0);
    EXPECT_EQ(gib_einstellung("LastSession", "destpath", "/"), "/");
    EXPECT_EQ(lösche_abschnitt("LastSession"), 0) << "a missing section is no error";
    EXPECT_EQ(lösche_abschnitt(""), 0);
    EXPECT_EQ(gib_einstellung("Administration", "fheigth", 0), "-7200") << "nothing else goes";
}

TEST_F(Registry, BeschädigteDateiGibtVorgabenUndWirdNeuGeschrieben) {
    const std::pair<const char*, const char*> fälle[] = {
        // the file, then what Administration/version reads with the default "0.0"
        {"\x01\x02\xff\xfe garbage \x80\n=\n[[[\n", "0.0"},
        {"[Administration]\nversion=@Variant(\\0\\0\\0\\x7f\\0kaputt)\n", "0.0"},
        {"[Administration\nversion=1.0\n", "1.0"},  // what can still be read is kept
    };
    test::erstelle_verzeichnis(tmp / "Morvanhalder");
    for (const auto& [inhalt, erwartet] : fälle) {
        test::schreibe_datei(datei(), inhalt);
        EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), erwartet) << inhalt;
        (void)setze_einstellung("LastSession", "sourcepath", "/neu");
        EXPECT_EQ(gib_einstellung("LastSession", "sourcepath", "/"), "/neu") << inhalt;
        ::unlink(datei().c_str());
    }

    // A directory where the file should be: neither readable nor writable.
    test::erstelle_verzeichnis(datei());
    EXPECT_NE(setze_einstellung("Administration", "version", "1.0"), 0);
    EXPECT_NE(lösche_abschnitt("Administration"), 0);
    EXPECT_EQ(gib_einstellung("Administration", "version", "0.0"), "0.0");
}

}  // namespace
}  // namespace tarvendo
