#include "engine/systemfehlertext.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace tarvendo {
namespace {

TEST(Systemfehlertext, BekannterCodeAlsSystemtextUnbekannterInGroßenHexziffern) {
    EXPECT_EQ(systemfehlertext(ENOSPC), std::strerror(ENOSPC));
    EXPECT_EQ(systemfehlertext(9999), "Unbekannter Fehler: &H270F");
    EXPECT_EQ(systemfehlertext(0x7ABCDEF), "Unbekannter Fehler: &H7ABCDEF");
    EXPECT_EQ(systemfehlertext(-1), "Unbekannter Fehler: &HFFFFFFFF");
    EXPECT_EQ(systemfehlertext(41), "Unbekannter Fehler: &H29");  // a gap in the system's table
}

}  // namespace
}  // namespace tarvendo
