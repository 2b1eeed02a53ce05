#include "support/stopwatch.h"

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

namespace tarvendo {
namespace {

TEST(CStopWatch, ZähltVomLetztenResetAuchÜberDenÜberlauf) {
    std::uint32_t jetzt = 1000;
    CStopWatch uhr([&] { return jetzt; });
    EXPECT_EQ(uhr.Elapsed(), 0);
    jetzt = 1250;
    EXPECT_EQ(uhr.Elapsed(), 250);
    // Reset at, read at, milliseconds: 6 ms before the counter wraps to 0; across 2^31 ms no
    // failure but the wrapped difference.
    const std::tuple<std::uint32_t, std::uint32_t, std::int32_t> fälle[] = {
        {1250, 1300, 50},
        {0xFFFFFFFAu, 10, 16},
        {0x7FFFFFF0u, 0x80000010u, 0x20},
        {0x7FFFFFF0u, 0x7FFFFFF0u + 0x80000000u, INT32_MIN},
    };
    for (const auto& [start, ende, ms] : fälle) {
        jetzt = start;
        uhr.Reset();
        jetzt = ende;
        EXPECT_EQ(uhr.Elapsed(), ms) << start;
    }
    // The system clock counts milliseconds.
    timespec vorher{};
    clock_gettime(CLOCK_MONOTONIC, &vorher);
    const auto ms = static_cast<std::uint32_t>(vorher.tv_sec * 1000 + vorher.tv_nsec / 1000000);
    EXPECT_LT(CStopWatch::systemuhr() - ms, 1000u);
}

}  // namespace
}  // namespace tarvendo
