// Paths joined and split as bytes, and the millisecond stopwatch.
#include <gtest/gtest.h>

#include <ctime>

#include "support/pfad.h"
#include "support/stopwatch.h"

namespace tarvendo {
namespace {

// Exactly one "/" where two parts meet, whatever the bytes, the root included.
TEST(Pfad, VerbindenUndZerlegen) {
    const struct {
        std::string_view basis, relativ, erwartet;
    } fälle[] = {
        {"/", "a", "/a"}, {"/", "/a", "/a"},    {"", "a", "/a"},
        {"/q", "", "/q"}, {"/q", "/a", "/q/a"}, {"/q\xff", "b\n", "/q\xff/b\n"},
    };
    for (const auto& f : fälle) {
        EXPECT_EQ(verbinde(f.basis, f.relativ), f.erwartet) << f.basis << " " << f.relativ;
        std::string p(f.basis);
        hänge_an(p, f.relativ);
        EXPECT_EQ(p, f.erwartet);
    }
    EXPECT_EQ(elternpfad("/q/a\xff"), "/q");
    EXPECT_EQ(elternpfad("/a"), "");
    EXPECT_EQ(letzter_name("/q/a\xff"), "a\xff");
    EXPECT_EQ(letzter_name("a"), "a");
}

TEST(CStopWatch, ZähltVomLetztenResetAuchÜberDenÜberlauf) {
    std::uint32_t jetzt = 0xFFFFFFFAu;  // 6 ms before the counter wraps to 0
    CStopWatch uhr([&] { return jetzt; });
    jetzt = 10;
    EXPECT_EQ(uhr.Elapsed(), 16);
    uhr.Reset();
    jetzt = 260;
    EXPECT_EQ(uhr.Elapsed(), 250);
    // The system clock counts milliseconds.
    timespec vorher{};
    clock_gettime(CLOCK_MONOTONIC, &vorher);
    const auto ms = static_cast<std::uint32_t>(vorher.tv_sec * 1000 + vorher.tv_nsec / 1000000);
    EXPECT_LT(CStopWatch::systemuhr() - ms, 1000u);
}

}  // namespace
}  // namespace tarvendo
