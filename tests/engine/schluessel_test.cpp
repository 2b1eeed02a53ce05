#include "engine/schluessel.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvendo {
namespace {

TEST(Schlüssel, GleichheitOhneGroßKleinschreibung) {
    EXPECT_EQ(gib_schlüssel("Straße ß"), "Stra/e /");
    const struct {
        const char *a, *b;
        bool gleich;
    } fälle[] = {
        {"ärger.TXT", "ÄRGER.txt", true},
        {"Straße", "STRAßE", true},
        {"Straße", "Strasse", false},  // ß never equals ss
        {"σ", "ς", true},              // final sigma folds to sigma
        {"\xE2\x84\xAA", "k", true},   // Kelvin sign folds to k
        {"\xC0\xAF", "/", false},     // overlong encoding is not "/"
        {"Zz@[", "zZ@[", true},       // the ends of the ASCII letters
        {"@", "`", false},            // ...and their neighbours
        {"\xE4", "\xC3\xA4", false},  // Latin-1 ä is no UTF-8 ä
    };
    for (const auto& f : fälle) {
        EXPECT_EQ(schlüssel_gleich(f.a, f.b), f.gleich) << f.a << " / " << f.b;
        EXPECT_EQ(schlüssel_gleich(f.b, f.a), f.gleich) << f.b << " / " << f.a;
        EXPECT_TRUE(!f.gleich || schlüssel_hash(f.a) == schlüssel_hash(f.b)) << f.a;
    }
}

}  // namespace
}  // namespace tarvendo
