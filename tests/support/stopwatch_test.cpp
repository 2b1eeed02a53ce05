#include "support/stopwatch.h"

#include <gtest/gtest.h>

#include <ctime>

namespace tarvendo {
namespace {

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
