#include "support/pfad.h"

#include <gtest/gtest.h>

namespace tarvendo {
namespace {

// Exactly one "/" where two parts meet, whatever the bytes, the root included.
TEST(Pfad, VerbindenUndZerlegen) {
    const struct {
        std::string_view basis, relativ, erwartet;
    } fälle[] = {
        {"/", "a", "/a"}, {"/", "/a", "/a"}, {"", "a", "/a"},       {"/q", "", "/q"},
        {"/q", "/a", "/q/a"}, {"/q\xff", "b\n", "/q\xff/b\n"},
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

}  // namespace
}  // namespace tarvendo
