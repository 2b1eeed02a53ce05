#include "engine/systemfehlertext.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace tarvendo {
namespace {

TEST(Systemfehlertext, BekannterCodeGibtDenTextDesSystems) {
    EXPECT_EQ(systemfehlertext(ENOENT), std::strerror(ENOENT));
    EXPECT_EQ(systemfehlertext(ENOSPC), std::strerror(ENOSPC));
}

TEST(Systemfehlertext, UnbekannterCodeInGroßenHexziffernOhneFührendeNullen) {
    EXPECT_EQ(systemfehlertext(9999), "Unbekannter Fehler: &H270F");
    EXPECT_EQ(systemfehlertext(0x7ABCDEF), "Unbekannter Fehler: &H7ABCDEF");
    EXPECT_EQ(systemfehlertext(-1), "Unbekannter Fehler: &HFFFFFFFF");
    // A gap in the system's table: no name, no text of its own.
    EXPECT_EQ(systemfehlertext(41), "Unbekannter Fehler: &H29");
}

}  // namespace
}  // namespace tarvendo
