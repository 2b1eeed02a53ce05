#include "support/dateiversion.h"

#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

using test::TempVerzeichnis;

void verknüpfe(const std::string& ziel, const std::string& link) {
    ASSERT_EQ(::symlink(ziel.c_str(), link.c_str()), 0) << link;
}

struct Fall {
    const char* name;
    const char* erwartet;
};

TEST(gib_dateiversion, LiestDieVersionAusDemDateinamen) {
    const Fall fälle[] = {
        {"libdemo.so.1.2.3", "1.2.3.0"},
        {"libdemo.so.6.0.2900.5512", "6.0.2900.5512"},
        {"libdemo.so.40000", "40000.0.0.0"},  // unsigned 16 bits, never negative
        {"libdemo.so.65535.0.0.65535", "65535.0.0.65535"},
        {"libdemo.so.1.0.0.0", "1.0.0.0"},
        {"libdemo.so.007.00", "7.0.0.0"},  // written without leading zeros
        {"libpython3.11.so.1.0", "1.0.0.0"},
        {"libdemo.so.1.so.2", "2.0.0.0"},  // the last ".so." counts
        {"libdemo.so.65536", "NV"},
        {"libdemo.so.99999999999999999999", "NV"},
        {"libdemo.so.1.2.3.4.5", "NV"},
        {"libdemo.so.1..2", "NV"},
        {"libdemo.so.1.", "NV"},
        {"libdemo.so.", "NV"},
        {"libdemo.so", "NV"},
        {"libdemo.so.1a", "NV"},
        {"libdemo.so.-1", "NV"},
        {"libdemo.so.+1", "NV"},
        {"libdemo.so. 1", "NV"},
        {"libdemo-2.0.so", "NV"},
        {"programm", "NV"},
    };
    TempVerzeichnis tmp;
    for (const Fall& fall : fälle) {
        test::schreibe_datei(tmp / fall.name, "x");
        EXPECT_EQ(gib_dateiversion(tmp / fall.name), fall.erwartet) << fall.name;
    }
}

TEST(gib_dateiversion, FolgtVerknüpfungenZumEchtenNamen) {
    TempVerzeichnis tmp;
    test::erstelle_verzeichnis(tmp / "lib");
    test::schreibe_datei(tmp / "lib/libdemo.so.4.5.6", "x");
    verknüpfe("libdemo.so.4.5.6", tmp / "lib/libdemo.so.4");
    verknüpfe("lib/libdemo.so.4", tmp / "libdemo.so");  // a chain across directories
    EXPECT_EQ(gib_dateiversion(tmp / "libdemo.so"), "4.5.6.0");
    EXPECT_EQ(gib_dateiversion(tmp / "lib/libdemo.so.4"), "4.5.6.0");

    // Only the real name counts, not the name of the link.
    test::schreibe_datei(tmp / "echt", "x");
    verknüpfe("echt", tmp / "libfalsch.so.9");
    EXPECT_EQ(gib_dateiversion(tmp / "libfalsch.so.9"), "NV");
}

TEST(gib_dateiversion, OhneLesbareDateiNV) {
    TempVerzeichnis tmp;
    test::erstelle_verzeichnis(tmp / "libordner.so.1");
    test::schreibe_datei(tmp / "libdatei.so.1", "x");
    verknüpfe("libfehlt.so.1.2", tmp / "libhängend.so.1");
    verknüpfe("libschleife.so.2", tmp / "libschleife.so.1");
    verknüpfe("libschleife.so.1", tmp / "libschleife.so.2");
    for (const std::string& pfad :
         {tmp / "libfehlt.so.1", tmp / "libordner.so.1", tmp / "libhängend.so.1",
          tmp / "libschleife.so.1", std::string(), tmp / "libdatei.so.1/"}) {
        EXPECT_EQ(gib_dateiversion(pfad), "NV") << pfad;
    }
}

// The libraries this test program runs with, by the names it loaded them by.
std::string geladene_bibliothek(const std::string& anfang) {
    struct Suche {
        std::string anfang;
        std::string gefunden;
    } suche{"/" + anfang, {}};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* daten) {
            auto* s = static_cast<Suche*>(daten);
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.find(s->anfang) != std::string::npos) {
                s->gefunden = name;
                return 1;
            }
            return 0;
        },
        &suche);
    return suche.gefunden;
}

TEST(gib_dateiversion, EchteBibliothekenDesSystems) {
    const std::string cxx = geladene_bibliothek("libstdc++.so.6");
    ASSERT_FALSE(cxx.empty());
    // libstdc++.so.6 is a link to libstdc++.so.6.0.N.
    const std::string version = gib_dateiversion(cxx);
    ASSERT_GE(version.size(), 7U) << version;
    EXPECT_EQ(version.substr(0, 4), "6.0.") << version;
    EXPECT_EQ(version.substr(version.size() - 2), ".0") << version;
    const std::string n = version.substr(4, version.size() - 6);
    EXPECT_TRUE(n[0] != '0' && n.find_first_not_of("0123456789") == std::string::npos) << version;

    const std::string libc = geladene_bibliothek("libc.so.6");
    ASSERT_FALSE(libc.empty());
    struct stat info {};
    ASSERT_EQ(::lstat(libc.c_str(), &info), 0);
    if (!S_ISREG(info.st_mode)) GTEST_SKIP() << libc << " is not the real file here";
    EXPECT_EQ(gib_dateiversion(libc), "6.0.0.0");
}

}  // namespace
}  // namespace tarvendo
