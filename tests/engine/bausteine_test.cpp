// The model's small parts: keys that ignore letter case, ticks that go up
// the tree, and the texts of system error codes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "engine/pfadklasse.h"
#include "engine/schluessel.h"
#include "engine/systemfehlertext.h"

namespace tarvendo {
namespace {

TEST(Schlüssel, GleichheitOhneGroßKleinschreibung) {
    EXPECT_EQ(gib_schlüssel("Straße ß"), "Stra/e /");
    const struct {
        const char *a, *b;
        bool gleich;
    } fälle[] = {
        {"ärger.TXT", "ÄRGER.txt", true},
        {"Straße", "Strasse", false},  // ß never equals ss
        {"σ", "ς", true},              // final sigma folds to sigma
        {"\xE2\x84\xAA", "k", true},   // Kelvin sign folds to k
        {"\xC0\xAF", "/", false},      // overlong encoding is not "/"
        {"Zz@[", "zZ@[", true},        // the ends of the ASCII letters
        {"@", "`", false},             // ...and their neighbours
        {"\xE4", "\xC3\xA4", false},   // Latin-1 ä is no UTF-8 ä
    };
    for (const auto& f : fälle) {
        EXPECT_EQ(schlüssel_gleich(f.a, f.b), f.gleich) << f.a << " / " << f.b;
        EXPECT_EQ(schlüssel_gleich(f.b, f.a), f.gleich) << f.b << " / " << f.a;
        EXPECT_TRUE(!f.gleich || schlüssel_hash(f.a) == schlüssel_hash(f.b)) << f.a;
    }
}

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

TEST(Systemfehlertext, BekannterCodeAlsSystemtextUnbekannterInGroßenHexziffern) {
    // German under the C locale the tests run in; the rare ones as the system says.
    EXPECT_EQ(systemfehlertext(ENOSPC), "Auf dem Datenträger ist kein Platz mehr frei");
    EXPECT_EQ(systemfehlertext(EACCES), "Keine Berechtigung");
    EXPECT_EQ(systemfehlertext(ECHILD), std::strerror(ECHILD));
    EXPECT_EQ(systemfehlertext(9999), "Unbekannter Fehler: &H270F");
    EXPECT_EQ(systemfehlertext(-1), "Unbekannter Fehler: &HFFFFFFFF");
    EXPECT_EQ(systemfehlertext(41), "Unbekannter Fehler: &H29");  // a gap in the system's table
}

}  // namespace
}  // namespace tarvendo
