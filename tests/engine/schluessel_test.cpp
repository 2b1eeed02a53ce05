#include "engine/schluessel.h"
#include "engine/schluesselsammlung.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tarvendo {
namespace {

TEST(Schlüssel, ErsetztNurEszett) {
    EXPECT_EQ(gib_schlüssel("Straße"), "Stra/e");
    EXPECT_EQ(gib_schlüssel("ßß x"), "// x");
    EXPECT_EQ(gib_schlüssel("Masse"), "Masse");
    EXPECT_EQ(gib_schlüssel(""), "");
}

struct Paar {
    const char* a;
    const char* b;
    bool gleich;
};

TEST(Schlüssel, GleichheitOhneGroßKleinschreibung) {
    const Paar fälle[] = {
        {"Bilder", "BILDER", true},
        {"ärger.txt", "ÄRGER.TXT", true},
        {"Straße", "STRAßE", true},
        {"Straße", "Strasse", false},   // ß never equals ss
        {"Maße.txt", "Masse.txt", false},
        {"a|b", "aßb", false},          // "|" is a legal name character here
        {"Ωmega", "ωMEGA", true},
        {"σ", "ς", true},               // final sigma folds to sigma
        {"\xE2\x84\xAA", "k", true},    // Kelvin sign folds to k
        {"a.txt", "a.txt ", false},
        {"\xFF", "\xFE", false},        // invalid bytes compare exactly
        {"a\xFF", "A\xFF", true},
        {"\xC3", "\xC3\xA4", false},    // truncated sequence
        {"\xC3\x84", "\xC3\xA4", true}, // Ä ä
        {"\xC0\xAF", "/", false},       // overlong encoding is not "/"
    };
    for (const auto& f : fälle) {
        EXPECT_EQ(schlüssel_gleich(f.a, f.b), f.gleich) << f.a << " / " << f.b;
        EXPECT_EQ(schlüssel_gleich(f.b, f.a), f.gleich) << f.b << " / " << f.a;
        if (f.gleich) {
            EXPECT_EQ(schlüssel_hash(f.a), schlüssel_hash(f.b)) << f.a;
        }
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
using Sammlung = Schlüsselsammlung<Eintrag>;

void füge(Sammlung& s, std::string name, int wert) {
    s.füge_hinzu(std::make_unique<Eintrag>(Eintrag{std::move(name), wert}));
}

std::vector<int> werte(const Sammlung& s) {
    std::vector<int> v;
    for (const Eintrag& e : s) v.push_back(e.wert);
    return v;
}

TEST(Schlüsselsammlung, GleicheSchlüsselBevorzugenGleicheBytes) {
    for (int vorher : {0, 20}) {  // without and with the index
        Sammlung s;
        for (int i = 0; i < vorher; ++i) füge(s, "f" + std::to_string(i), 100 + i);
        füge(s, "a.txt", 1);
        füge(s, "A.txt", 2);
        ASSERT_EQ(s.gib("A.txt")->wert, 2);
        ASSERT_EQ(s.gib("a.txt")->wert, 1);
        ASSERT_EQ(s.gib("A.TXT")->wert, 1);  // no byte match: the first added
        EXPECT_TRUE(s.lösche("A.txt"));
        EXPECT_EQ(s.gib("a.TXT")->wert, 1);
        EXPECT_EQ(s.size(), static_cast<std::size_t>(vorher + 1));
        EXPECT_FALSE(s.lösche("b.txt"));
    }
}

// Random insertions and removals against a plain list as reference: order,
// lookup and count must agree at every step, through index growth and
// squeezing out of holes.
TEST(Schlüsselsammlung, StimmtMitEinfacherListeÜberein) {
    std::mt19937 zufall(42);
    Sammlung s;
    std::vector<Eintrag> referenz;
    int nächster = 0;
    for (int schritt = 0; schritt < 20000; ++schritt) {
        const std::string name = "n" + std::to_string(zufall() % 300) + ((zufall() % 2) ? "X" : "x");
        if (zufall() % 3 != 0) {
            bool vorhanden = false;
            for (const auto& e : referenz) vorhanden |= e.name == name;
            if (vorhanden) continue;
            füge(s, name, nächster);
            referenz.push_back({name, nächster++});
        } else {
            // Reference lookup: byte-equal first, else the first equal key.
            auto treffer = referenz.end();
            for (auto it = referenz.begin(); it != referenz.end(); ++it) {
                if (it->name == name) {
                    treffer = it;
                    break;
                }
                if (treffer == referenz.end() && schlüssel_gleich(it->name, name)) treffer = it;
            }
            ASSERT_EQ(s.lösche(name), treffer != referenz.end());
            if (treffer != referenz.end()) referenz.erase(treffer);
        }
        ASSERT_EQ(s.size(), referenz.size());
    }
    std::vector<int> erwartet;
    for (const auto& e : referenz) erwartet.push_back(e.wert);
    EXPECT_EQ(werte(s), erwartet);
    for (const auto& e : referenz) EXPECT_TRUE(s.gib(e.name) != nullptr);
}

}  // namespace
}  // namespace tarvendo
