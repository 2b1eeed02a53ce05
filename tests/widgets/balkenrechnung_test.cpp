#include "widgets/balkenrechnung.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

namespace tarvendo {
namespace {

TEST(spaltenfarbe, RotÜberGelbNachGrün) {
    const struct {
        int x, breite;
        Farbe farbe;
    } fälle[] = {
        {0, 200, {255, 0, 0}},     {50, 200, {255, 128, 0}},    // t = 127.5 -> 128
        {99, 200, {255, 252, 0}},                               // t = 252.45
        {100, 200, {255, 255, 0}}, {101, 200, {252, 255, 0}},   // 510 - 257.55
        {150, 200, {128, 255, 0}},                              // t = 382.5 -> 382; 127.5 -> 128
        {199, 200, {3, 255, 0}},   {511, 1020, {254, 255, 0}},  // t = 255.5 -> 256; 254.5 -> 254
        {0, 1, {255, 0, 0}},
    };
    for (const auto& fall : fälle) {
        EXPECT_EQ(spaltenfarbe(fall.x, fall.breite), fall.farbe) << fall.x << "/" << fall.breite;
    }
}

TEST(prozentzahl, RundetHalbeZurGeradenZahl) {
    EXPECT_EQ(prozentzahl(425, 1000), 42);
    EXPECT_EQ(prozentzahl(435, 1000), 44);
    EXPECT_EQ(prozentzahl(5, 1000), 0);
    EXPECT_EQ(prozentzahl(15, 1000), 2);
    EXPECT_EQ(prozentzahl(-15, 1000), -2);
    EXPECT_EQ(prozentzahl(7, 0), 0);
    // Large scales do not overflow on the way.
    EXPECT_EQ(prozentzahl(INT_MAX / 2, INT_MAX), 50);
    EXPECT_EQ(prozentzahl(INT_MIN, 1), INT_MIN);
}

TEST(balkenende, AnteilDerBreite) {
    EXPECT_FLOAT_EQ(balkenende(200, 52, 1000), 10.4F);
    EXPECT_FLOAT_EQ(balkenende(200, 1000, 1000), 200.0F);
    EXPECT_FLOAT_EQ(balkenende(200, 5, 0), 0.0F);
}

TEST(summe32, ÜberlaufWirftStattUmzubrechen) {
    EXPECT_EQ(summe32(INT_MAX - 1, 1), INT_MAX);
    EXPECT_EQ(summe32(INT_MIN, 0), INT_MIN);
    EXPECT_THROW((void)summe32(INT_MAX, 1), std::overflow_error);
    EXPECT_THROW((void)summe32(INT_MIN, -1), std::overflow_error);
    EXPECT_EQ(differenz32(5, 15), -10);
    EXPECT_THROW((void)differenz32(1000, INT_MIN), std::overflow_error);
    EXPECT_THROW((void)differenz32(INT_MIN, 1), std::overflow_error);
}

}  // namespace
}  // namespace tarvendo
