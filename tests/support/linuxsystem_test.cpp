#include "support/linuxsystem.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

#include "support/betriebssystem.h"
#include "support/osrelease.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

TEST(Linuxsystem, VersionAusDemKernelrelease) {
    // A part that is missing or out of range is 0, and so is everything after it.
    const std::pair<std::string_view, std::array<std::uint32_t, 3>> zeilen[] = {
        {"6.1.0-18-amd64", {6, 1, 0}},  {"5.15.153.1-WSL2", {5, 15, 153}}, {"6.x.2", {6, 0, 0}},
        {"6.1.99999999999", {6, 1, 0}}, {"99999999999.1", {0, 0, 0}},      {"", {0, 0, 0}}};
    for (const auto& [release, version] : zeilen) {
        const Versionssatz s = versionssatz_aus_kernelrelease(release);
        EXPECT_EQ((std::array{s.major, s.minor, s.build}), version) << release;
    }
    for (const char* maschine : {"x86_64", "aarch64", "ppc64le", "s390x", "riscv64"}) {
        EXPECT_TRUE(ist_32bit_prozess_auf_64bit_kernel(4, maschine)) << maschine;
        EXPECT_FALSE(ist_32bit_prozess_auf_64bit_kernel(8, maschine)) << maschine;
    }
    for (const char* maschine : {"i686", "armv7l", ""})
        EXPECT_FALSE(ist_32bit_prozess_auf_64bit_kernel(4, maschine)) << maschine;
}

TEST(Linuxsystem, OsReleaseWerte) {
    const std::pair<std::string_view, std::optional<std::string>> zeilen[] = {
        {"PRETTY_NAME='Arch $Linux \\ \"x\"'", "Arch $Linux \\ \"x\""},
        {R"#(PRETTY_NAME="a \"b\" \\ \$c \` \n")#", "a \"b\" \\ $c ` \\n"},
        {R"#(PRETTY_NAME=Mein\ System)#", "Mein System"},
        {"  PRETTY_NAME = ohne Anführung  \t", "ohne Anführung"},
        {R"#(PRETTY_NAME="Zeile" # Bemerkung)#", "Zeile"},
        {R"#(PRETTY_NAME=a#b)#", "a#b"},
        {R"#(PRETTY_NAME="offen bis zum Ende)#", "offen bis zum Ende"},
        {"PRETTY_NAME=\"Windows\"\r", "Windows"},
        {"PRETTY_NAME=erst\nNAME=x\nPRETTY_NAME=zuletzt\n", "zuletzt"},
        {"# PRETTY_NAME=\"Bemerkung\"\nPRETTY_NAMEX=a\nXPRETTY_NAME=b\nPRETTY_NAME", std::nullopt},
    };
    for (const auto& [zeile, wert] : zeilen)
        EXPECT_EQ(os_release_wert(zeile, "PRETTY_NAME"), wert) << zeile;
    EXPECT_EQ(systemname_aus_os_release("NAME=Gentoo\nPRETTY_NAME=\"\"\n"), "Gentoo");
    EXPECT_EQ(systemname_aus_os_release("ID=unbekannt\n"), "Linux");
}

TEST(Linuxsystem, SpracheAusDerUmgebung) {
    const std::pair<std::map<std::string, std::string>, std::string_view> zeilen[] = {
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_CH@euro"}}, "fr_CH"},
        {{{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_CH"}, {"LC_ALL", "sv_SE.ISO-8859-1"}}, "sv_SE"},
        {{{"LC_ALL", ""}, {"LANG", "nb_NO"}}, "nb_NO"},
        {{{"LANG", "POSIX"}}, ""}};
    for (const auto& [umgebung, sprache] : zeilen) {
        const auto getenv = [&](const char* name) -> const char* {
            const auto it = umgebung.find(name);
            return it == umgebung.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(sprache_des_gebietsschemas(gebietsschema_der_meldungen(getenv)), sprache);
    }
}

TEST(Linuxsystem, AlsQuelleVonOperatingSystem) {
    const test::TempVerzeichnis tmp;
    test::schreibe_datei(tmp / "erste", "NAME=Debian\nPRETTY_NAME=\"Debian GNU/Linux 12\"\n");
    test::schreibe_datei(tmp / "zweite", "PRETTY_NAME=\"Zweite Wahl\"\n");
    test::erstelle_verzeichnis(tmp / "verzeichnis");
    Kernelkennung kernel{"6.1.0-18-686-pae", "x86_64"};
    Linuxzugriffe z;
    z.kernel = [&] { return kernel; };
    // The first file that can be read counts.
    z.os_release_dateien = {tmp / "fehlt", tmp / "verzeichnis", tmp / "erste", tmp / "zweite"};
    z.umgebung = [](const char* name) {
        return std::string_view(name) == "LANG" ? "de_AT" : nullptr;
    };
    z.zeigerbreite = 4;

    const OperatingSystem os(std::make_unique<Linuxsystem>(z));
    EXPECT_EQ(std::tuple(os.Version(), os.Major(), os.Minor()), std::tuple(0, 6, 1));
    EXPECT_EQ(os.Name(), "Debian GNU/Linux 12");
    EXPECT_EQ(os.ToString(), "Linux 6.1.0-18-686-pae");
    EXPECT_EQ(os.Language(), "de_AT");
    EXPECT_TRUE(os.Is64BitOS());
    kernel.maschine = "i686";  // asked again at every call
    EXPECT_FALSE(os.Is64BitOS());

    kernel.release = "";  // uname failed
    z.os_release_dateien = {tmp / "fehlt", tmp / "verzeichnis"};
    const OperatingSystem ohne(std::make_unique<Linuxsystem>(z));
    EXPECT_EQ(ohne.ToString(), "Linux");
    EXPECT_EQ(ohne.Name(), "Linux");

    const OperatingSystem laufend;
    EXPECT_EQ(laufend.ToString(), "Linux " + kernelkennung_des_systems().release);
    EXPECT_FALSE(laufend.Name().empty());
    EXPECT_GE(laufend.Major(), 2);
}

}  // namespace
}  // namespace tarvendo
