#include "support/stopwatch.h"

#include <gtest/gtest.h>

namespace tarvendo {
namespace {

TEST(CStopWatch, ZähltVomLetztenResetAuchÜberDenÜberlauf) {
    std::uint32_t jetzt = 1000;
    CStopWatch uhr([&] { return jetzt; });
    EXPECT_EQ(uhr.Elapsed(), 0);
    jetzt = 1250;
    EXPECT_EQ(uhr.Elapsed(), 250);
    uhr.Reset();
    jetzt = 1300;
    EXPECT_EQ(uhr.Elapsed(), 50);

    jetzt = 0xFFFFFFFAu;  // 6 ms before the counter wraps to 0
    uhr.Reset();
    jetzt = 10;
    EXPECT_EQ(uhr.Elapsed(), 16);

    jetzt = 0x7FFFFFF0u;  // across 2^31 ms: no failure, the wrapped difference
    uhr.Reset();
    jetzt = 0x80000010u;
    EXPECT_EQ(uhr.Elapsed(), 0x20);
    jetzt = 0x7FFFFFF0u + 0x80000000u;
    EXPECT_EQ(uhr.Elapsed(), INT32_MIN);

    EXPECT_EQ(uhr.MinimumResolution(), 0);
    EXPECT_EQ(uhr.MaximumResolution(), 0);
}

TEST(CStopWatch, SystemuhrLäuftVorwärts) {
    CStopWatch uhr;
    const std::int32_t a = uhr.Elapsed();
    EXPECT_GE(a, 0);
    EXPECT_LT(a, 1000);
}

}  // namespace
}  // namespace tarvendo
