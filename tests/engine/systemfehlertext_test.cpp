#include "engine/systemfehlertext.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace tarvendo {
namespace {

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
