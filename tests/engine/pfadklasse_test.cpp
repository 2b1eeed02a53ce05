#include "engine/pfadklasse.h"

#include <gtest/gtest.h>

namespace tarvendo {
namespace {

// A directory is ticked while anything below it is.
TEST(Pfadklasse, HäkchenWerdenNachObenAbgeleitet) {
    Pfadklasse wurzel("");
    Pfadklasse& a = wurzel.setze_pfad("a");
    Pfadklasse& leer = a.setze_pfad("leer");
    Pfadklasse& b = wurzel.setze_pfad("b");
    b.setze_datei("f1", 0, 0, 0);
    b.setze_datei("f2", 0, 0, 0);

    leer.setze_pfadchecked(true);
    EXPECT_TRUE(leer.checked && a.checked && wurzel.checked);
    EXPECT_FALSE(b.checked);
    leer.setze_pfadchecked(false);
    EXPECT_FALSE(a.checked || wurzel.checked);

    wurzel.setze_pfadchecked(true);
    EXPECT_TRUE(b.gib_datei("f2")->checked);
    b.setze_dateichecked("F1", false);
    EXPECT_TRUE(b.checked);
    b.setze_dateichecked("f2", false);
    EXPECT_FALSE(b.checked);
    EXPECT_TRUE(wurzel.checked);  // a is still ticked
}

}  // namespace
}  // namespace tarvendo
