#include "support/dateiversion.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

TEST(gib_dateiversion, VersionAusDemEchtenDateinamen) {
    const test::TempVerzeichnis tmp;
    const std::pair<const char*, const char*> fälle[] = {
        {"libdemo.so.1.2.3", "1.2.3.0"},
        {"libdemo.so.6.0.2900.5512", "6.0.2900.5512"},
        {"libdemo.so.65535", "65535.0.0.0"},     // unsigned 16 bits, never negative
        {"libdemo.so.007.00", "7.0.0.0"},        // written without leading zeros
        {"libpython3.11.so.1.so.2", "2.0.0.0"},  // the last ".so." counts
        {"libdemo.so.65536", "NV"},
        {"libdemo.so.1.2.3.4.5", "NV"},
        {"libdemo.so", "NV"},
        {"libdemo.so.1a", "NV"},
        {"libdemo-2.0.so", "NV"},
    };
    for (const auto& [name, erwartet] : fälle) {
        test::schreibe_datei(tmp / name, "x");
        EXPECT_EQ(gib_dateiversion(tmp / name), erwartet) << name;
    }

    // Links are followed to the real name, across directories; without a regular file there is
    // no version.
    test::erstelle_verzeichnis(tmp / "lib");
    test::schreibe_datei(tmp / "lib/libecht.so.4.5.6", "x");
    test::erstelle_verzeichnis(tmp / "libordner.so.1");
    const std::pair<const char*, const char*> links[] = {
        {"libecht.so.4.5.6", "lib/libecht.so.4"}, {"lib/libecht.so.4", "libecht.so"},
        {"libdemo.so", "libfalsch.so.9"},         {"libfehlt.so.1.2", "libhängend.so.1"},
        {"libschleife.so.2", "libschleife.so.1"}, {"libschleife.so.1", "libschleife.so.2"},
    };
    for (const auto& [ziel, link] : links) ASSERT_EQ(::symlink(ziel, (tmp / link).c_str()), 0);
    EXPECT_EQ(gib_dateiversion(tmp / "libecht.so"), "4.5.6.0");
    for (const std::string& pfad :
         {tmp / "libfalsch.so.9", tmp / "libfehlt.so.1", tmp / "libordner.so.1",
          tmp / "libhängend.so.1", tmp / "libschleife.so.1", std::string(),
          tmp / "lib/libecht.so.4.5.6/"})
        EXPECT_EQ(gib_dateiversion(pfad), "NV") << pfad;
}

}  // namespace
}  // namespace tarvendo
