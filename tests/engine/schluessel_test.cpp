#include "engine/schluessel.h"
#include "engine/schluesselsammlung.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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
        {"a|b", "aßb", false},         // "|" is a legal name character here
        {"σ", "ς", true},              // final sigma folds to sigma
        {"\xE2\x84\xAA", "k", true},   // Kelvin sign folds to k
        {"a.txt", "a.txt ", false},
        {"\xFF", "\xFE", false},  // invalid bytes compare exactly
        {"a\xFF", "A\xFF", true},
        {"\xC3", "\xC3\xA4", false},  // truncated sequence
        {"\xC0\xAF", "/", false},     // overlong encoding is not "/"
        {"Zz@[", "zZ@[", true},       // the ends of the ASCII letters
        {"@", "`", false},            // ...and their neighbours
        {"[", "{", false},
        {"\xE4", "\xC3\xA4", false},  // Latin-1 ä is no UTF-8 ä
    };
    for (const auto& f : fälle) {
        EXPECT_EQ(schlüssel_gleich(f.a, f.b), f.gleich) << f.a << " / " << f.b;
        EXPECT_EQ(schlüssel_gleich(f.b, f.a), f.gleich) << f.b << " / " << f.a;
        EXPECT_TRUE(!f.gleich || schlüssel_hash(f.a) == schlüssel_hash(f.b)) << f.a;
    }
}

struct Eintrag {
    std::string name;
    int wert = 0;
};
}  // namespace

template <>
struct NameVon<Eintrag> {
    static const std::string& von(const Eintrag& e) { return e.name; }
};

namespace {

// Random insertions, lookups and removals against a plain list: order, lookup
// and count must agree at every step. Up to four spellings share a key; the
// small pool never outgrows direct search, the large one grows and squeezes
// the index.
TEST(Schlüsselsammlung, StimmtMitEinfacherListeÜberein) {
    std::mt19937 zufall(42);
    for (const unsigned schlüssel : {2u, 300u}) {
        Schlüsselsammlung<Eintrag> s;
        std::vector<Eintrag> referenz;
        for (int schritt = 0; schritt < 20000; ++schritt) {
            const std::string name = (zufall() % 2 ? "n" : "N") +
                                     std::to_string(zufall() % schlüssel) +
                                     (zufall() % 2 ? "X" : "x");
            // Reference lookup: byte-equal first, else the first equal key.
            auto treffer = referenz.end();
            for (auto it = referenz.begin(); it != referenz.end(); ++it) {
                if (it->name == name) {
                    treffer = it;
                    break;
                }
                if (treffer == referenz.end() && schlüssel_gleich(it->name, name)) treffer = it;
            }
            const Eintrag* gefunden = s.gib(name);
            ASSERT_EQ(gefunden ? gefunden->wert : -1,
                      treffer != referenz.end() ? treffer->wert : -1);
            if (zufall() % 3 != 0) {
                if (treffer != referenz.end() && treffer->name == name) continue;
                s.füge_hinzu(std::make_unique<Eintrag>(Eintrag{name, schritt}));
                referenz.push_back({name, schritt});
            } else {
                ASSERT_EQ(s.lösche(name), treffer != referenz.end());
                if (treffer != referenz.end()) referenz.erase(treffer);
            }
            ASSERT_EQ(s.size(), referenz.size());
        }
        std::vector<int> ist, soll;
        for (const Eintrag& e : s) ist.push_back(e.wert);
        for (const Eintrag& e : referenz) soll.push_back(e.wert);
        EXPECT_EQ(ist, soll);
    }
}

}  // namespace
}  // namespace tarvendo
