#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "hilfe/chmdatei.h"
#include "hilfe/html_help.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

TEST(suche_hilfedatei, NurEineDateiDiesesNamensNebenDemProgramm) {
    const test::TempVerzeichnis tmp;
    for (const char* name : {"datei", "link", "ordner", "hängend", "leer", "anders"})
        test::erstelle_verzeichnis(tmp / name);
    test::schreibe_datei(tmp / "datei/Tarvendo.chm", "x");
    test::schreibe_datei(tmp / "anders/tarvendo.chm", "x");
    test::erstelle_verzeichnis(tmp / "ordner/Tarvendo.chm");
    ASSERT_EQ(::symlink((tmp / "datei/Tarvendo.chm").c_str(), (tmp / "link/Tarvendo.chm").c_str()),
              0);
    ASSERT_EQ(::symlink("fehlt.chm", (tmp / "hängend/Tarvendo.chm").c_str()), 0);

    const std::pair<std::string, std::string> fälle[] = {
        {tmp / "datei", tmp / "datei/Tarvendo.chm"},
        {tmp / "link", tmp / "link/Tarvendo.chm"},
        {tmp / "ordner", ""},
        {tmp / "hängend", ""},
        {tmp / "leer", ""},
        {tmp / "anders", ""},  // the name is exact
        {tmp / "fehlt", ""},
        {"", ""},
    };
    for (const auto& [verzeichnis, erwartet] : fälle)
        EXPECT_EQ(suche_hilfedatei(verzeichnis), erwartet) << verzeichnis;
}

TEST(Chmdatei, LiestStartseiteTitelUndEinträge) {
    const auto chm = Chmdatei::öffne(TARVENDO_HILFEDATEI);
    ASSERT_TRUE(chm);
    EXPECT_EQ(chm->standardthema(), "/index.html");
    EXPECT_EQ(chm->titel(), "Tarvendo-Hilfe");
    EXPECT_EQ(chm->lies("/tarvendo.png").value_or("").substr(0, 4), "\x89PNG");
    EXPECT_NE(chm->lies("/sicherheit.html").value_or("").find("Was Tarvendo nie tut"),
              std::string::npos);
    EXPECT_FALSE(chm->lies("/fehlt.html"));

    const test::TempVerzeichnis tmp;
    test::schreibe_datei(tmp / "text.chm", "Das ist keine Hilfedatei.");
    EXPECT_FALSE(Chmdatei::öffne(tmp / "text.chm"));
    EXPECT_FALSE(Chmdatei::öffne(tmp / "fehlt.chm"));

    // Version, then code, length (little-endian) and data; a record may end
    // exactly where the entry ends, one that runs past it is dropped.
    using namespace std::string_literals;
    const std::string version = "\3\0\0\0"s;
    const auto angaben = lies_systemangaben(version + "\2\0\6\0a.html\3\0\2\0T\0"s);
    EXPECT_EQ(angaben.standardthema, "/a.html");
    EXPECT_EQ(angaben.titel, "T");
    EXPECT_EQ(lies_systemangaben(version + "\3\0\3\0T\0"s).titel, "");
    EXPECT_EQ(lies_systemangaben(version + "\3\0\2\0T\0\3\1\1\0X"s).titel, "T");  // code 0x103
}

}  // namespace
}  // namespace tarvendo
