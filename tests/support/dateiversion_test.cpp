#include "support/dateiversion.h"

#include <dlfcn.h>
#include <gnu/libc-version.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <exception>
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
        {"libdemo.so.007.00", "7.0.0.0"},     // written without leading zeros
        {"libpython3.11.so.1.0", "1.0.0.0"},
        {"libdemo.so.1.so.2", "2.0.0.0"},  // the last ".so." counts
        {"libdemo.so.65536", "NV"},
        {"libdemo.so.1.2.3.4.5", "NV"},
        {"libdemo.so", "NV"},
        {"libdemo.so.1a", "NV"},
        {"libdemo-2.0.so", "NV"},
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

    // Only the real name counts; without a readable regular file there is none.
    test::schreibe_datei(tmp / "echt", "x");
    verknüpfe("echt", tmp / "libfalsch.so.9");
    test::erstelle_verzeichnis(tmp / "libordner.so.1");
    verknüpfe("libfehlt.so.1.2", tmp / "libhängend.so.1");
    verknüpfe("libschleife.so.2", tmp / "libschleife.so.1");
    verknüpfe("libschleife.so.1", tmp / "libschleife.so.2");
    for (const std::string& pfad :
         {tmp / "libfalsch.so.9", tmp / "libfehlt.so.1", tmp / "libordner.so.1",
          tmp / "libhängend.so.1", tmp / "libschleife.so.1", std::string(),
          tmp / "lib/libdemo.so.4.5.6/"}) {
        EXPECT_EQ(gib_dateiversion(pfad), "NV") << pfad;
    }
}

// The file a function of this program was loaded from.
std::string bibliothek_von(const void* funktion) {
    Dl_info info{};
    return dladdr(funktion, &info) != 0 && info.dli_fname ? info.dli_fname : "";
}

TEST(gib_dateiversion, EchteBibliothekenDesSystems) {
    // libstdc++.so.6 is a link to libstdc++.so.6.0.N.
    const std::string version =
        gib_dateiversion(bibliothek_von(reinterpret_cast<const void*>(&std::terminate)));
    ASSERT_GE(version.size(), 7U) << version;
    EXPECT_EQ(version.substr(0, 4), "6.0.") << version;
    EXPECT_EQ(version.substr(version.size() - 2), ".0") << version;

    const std::string libc = bibliothek_von(reinterpret_cast<const void*>(&gnu_get_libc_version));
    struct stat info {};
    ASSERT_EQ(::lstat(libc.c_str(), &info), 0) << libc;
    if (!S_ISREG(info.st_mode)) GTEST_SKIP() << libc << " is not the real file here";
    EXPECT_EQ(gib_dateiversion(libc), "6.0.0.0");
}

}  // namespace
}  // namespace tarvendo
