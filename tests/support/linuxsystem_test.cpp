#include "support/linuxsystem.h"

#include <gtest/gtest.h>

#include <map>

#include "support/betriebssystem.h"
#include "support/osrelease.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo {
namespace {

TEST(Linuxsystem, VersionAusDemKernelrelease) {
    struct Zeile {
        std::string_view release;
        std::uint32_t major, minor, build;
    };
    const Zeile zeilen[] = {
        {"6.1.0-18-amd64", 6, 1, 0},
        {"6.18.44-fc-v1272", 6, 18, 44},
        {"5.15.153.1-microsoft-standard-WSL2", 5, 15, 153},
        {"4.19", 4, 19, 0},
        {"6.8.0rc3", 6, 8, 0},
        {"3.10.0-1160.el7.x86_64", 3, 10, 0},
        {"7", 7, 0, 0},
        {"6.x.2", 6, 0, 0},
        {"6.1.99999999999", 6, 1, 0},  // does not fit: 0
        {"99999999999.1.2", 0, 0, 0},
        {"-1.2.3", 0, 0, 0},
        {"", 0, 0, 0},
    };
    for (const Zeile& z : zeilen) {
        const Versionssatz s = versionssatz_aus_kernelrelease(z.release);
        EXPECT_EQ(s.plattform, 0u);
        EXPECT_EQ(s.major, z.major) << z.release;
        EXPECT_EQ(s.minor, z.minor) << z.release;
        EXPECT_EQ(s.build, z.build) << z.release;
        EXPECT_EQ(s.servicepack, "");
    }
}

TEST(Linuxsystem, ZweiunddreißigBitProgrammAufVierundsechzigBitKernel) {
    struct Zeile {
        std::size_t zeigerbreite;
        std::string_view maschine;
        bool ergebnis;
    };
    const Zeile zeilen[] = {
        {4, "x86_64", true},  {4, "aarch64", true},  {4, "ppc64le", true}, {4, "s390x", true},
        {4, "riscv64", true}, {4, "i686", false},    {4, "armv7l", false}, {4, "", false},
        {8, "x86_64", false}, {8, "aarch64", false},
    };
    for (const Zeile& z : zeilen) {
        EXPECT_EQ(ist_32bit_prozess_auf_64bit_kernel(z.zeigerbreite, z.maschine), z.ergebnis)
            << z.zeigerbreite << " " << z.maschine;
    }
}

TEST(Linuxsystem, OsReleaseWerte) {
    struct Zeile {
        std::string_view zeile;
        std::optional<std::string> wert;
    };
    const Zeile zeilen[] = {
        {R"#(PRETTY_NAME="Debian GNU/Linux 12 (bookworm)")#", "Debian GNU/Linux 12 (bookworm)"},
        {"PRETTY_NAME=Fedora", "Fedora"},
        {"PRETTY_NAME='Arch $Linux \\ \"x\"'", "Arch $Linux \\ \"x\""},
        {R"#(PRETTY_NAME="a \"b\" \\ \$c \` \n")#", "a \"b\" \\ $c ` \\n"},
        {R"#(PRETTY_NAME=Mein\ System)#", "Mein System"},
        {"PRETTY_NAME=ohne Anführung  ", "ohne Anführung"},
        {"  PRETTY_NAME = \"Leerraum\"\t", "Leerraum"},
        {R"#(PRETTY_NAME="x"'y'z)#", "xyz"},
        {R"#(PRETTY_NAME="Zeile" # Bemerkung)#", "Zeile"},
        {R"#(PRETTY_NAME=a#b)#", "a#b"},
        {R"#(PRETTY_NAME="offen bis zum Ende)#", "offen bis zum Ende"},
        {"PRETTY_NAME=\"Windows\"\r", "Windows"},
        {R"#(PRETTY_NAME="")#", ""},
        {"# PRETTY_NAME=\"Bemerkung\"", std::nullopt},
        {"PRETTY_NAMEX=\"anderer\"", std::nullopt},
        {"XPRETTY_NAME=\"anderer\"", std::nullopt},
        {"PRETTY_NAME", std::nullopt},
        {"\n\n", std::nullopt},
    };
    for (const Zeile& z : zeilen) {
        EXPECT_EQ(os_release_wert(z.zeile, "PRETTY_NAME"), z.wert) << z.zeile;
    }
    EXPECT_EQ(os_release_wert("PRETTY_NAME=erst\nNAME=x\nPRETTY_NAME=zuletzt\n", "PRETTY_NAME"),
              "zuletzt");
}

TEST(Linuxsystem, SystemnameMitRückfall) {
    struct Zeile {
        std::string_view inhalt;
        std::string_view name;
    };
    const Zeile zeilen[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"NAME=\"Alpine Linux\"\nID=alpine\n", "Alpine Linux"},
        {"NAME=Gentoo\nPRETTY_NAME=\"\"\n", "Gentoo"},
        {"ID=unbekannt\n", "Linux"},
        {"", "Linux"},
    };
    for (const Zeile& z : zeilen) EXPECT_EQ(systemname_aus_os_release(z.inhalt), z.name);
}

TEST(Linuxsystem, SystemnameAusDerErstenLesbarenDatei) {
    const test::TempVerzeichnis tmp;
    test::schreibe_datei(tmp / "usr-os-release", "PRETTY_NAME=\"Zweite Wahl\"\n");
    test::schreibe_datei(tmp / "etc-os-release", "PRETTY_NAME=\"Erste Wahl\"\n");
    test::erstelle_verzeichnis(tmp / "verzeichnis");

    EXPECT_EQ(systemname_aus_dateien({tmp / "etc-os-release", tmp / "usr-os-release"}),
              "Erste Wahl");
    EXPECT_EQ(systemname_aus_dateien({tmp / "fehlt", tmp / "usr-os-release"}), "Zweite Wahl");
    EXPECT_EQ(systemname_aus_dateien({tmp / "verzeichnis", tmp / "usr-os-release"}), "Zweite Wahl");
    EXPECT_EQ(systemname_aus_dateien({tmp / "fehlt", tmp / "auch-nicht"}), "Linux");
    EXPECT_EQ(systemname_aus_dateien({}), "Linux");
}

TEST(Linuxsystem, SpracheAusDerUmgebung) {
    struct Zeile {
        std::map<std::string, std::string> umgebung;
        std::string_view sprache;
    };
    const Zeile zeilen[] = {
        {{{"LANG", "de_DE.UTF-8"}}, "de_DE"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_CH@euro"}}, "fr_CH"},
        {{{"LANG", "de_DE"}, {"LC_MESSAGES", "fr_CH"}, {"LC_ALL", "sv_SE.ISO-8859-1"}}, "sv_SE"},
        {{{"LC_ALL", ""}, {"LANG", "nb_NO"}}, "nb_NO"},
        {{{"LANG", "C.UTF-8"}}, ""},
        {{{"LANG", "POSIX"}}, ""},
        {{{"LANG", "C"}}, ""},
        {{}, ""},
    };
    for (const Zeile& z : zeilen) {
        const auto umgebung = [&](const char* name) -> const char* {
            const auto it = z.umgebung.find(name);
            return it == z.umgebung.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(sprache_des_gebietsschemas(gebietsschema_der_meldungen(umgebung)), z.sprache);
    }
}

TEST(Linuxsystem, AlsQuelleVonOperatingSystem) {
    const test::TempVerzeichnis tmp;
    test::schreibe_datei(tmp / "os-release", "NAME=Debian\nPRETTY_NAME=\"Debian GNU/Linux 12\"\n");
    Kernelkennung kernel{"6.1.0-18-686-pae", "x86_64"};
    Linuxzugriffe z;
    z.kernel = [&] { return kernel; };
    z.os_release_dateien = {tmp / "os-release"};
    z.umgebung = [](const char* name) -> const char* {
        return std::string_view(name) == "LANG" ? "de_AT.UTF-8" : nullptr;
    };
    z.zeigerbreite = 4;

    const OperatingSystem os(std::make_unique<Linuxsystem>(z));
    EXPECT_EQ(os.Platform(), 0);
    EXPECT_EQ(os.Version(), 0);
    EXPECT_EQ(os.Major(), 6);
    EXPECT_EQ(os.Minor(), 1);
    EXPECT_EQ(os.Revision(), 0);
    EXPECT_EQ(os.ServicePack(), "");
    EXPECT_EQ(os.Name(), "Debian GNU/Linux 12");
    EXPECT_EQ(os.ToString(), "Linux 6.1.0-18-686-pae");
    EXPECT_EQ(os.LangID(), 0);
    EXPECT_EQ(os.Language(), "de_AT");
    EXPECT_EQ(os.Edition(), 0);
    EXPECT_TRUE(os.Is64BitOS());
    kernel.maschine = "i686";  // asked again at every call
    EXPECT_FALSE(os.Is64BitOS());

    kernel.release = "";  // uname failed
    EXPECT_EQ(OperatingSystem(std::make_unique<Linuxsystem>(z)).ToString(), "Linux");
}

TEST(Linuxsystem, LaufendesSystem) {
    const OperatingSystem os;
    const Kernelkennung kernel = kernelkennung_des_systems();
    EXPECT_EQ(os.Platform(), 0);
    EXPECT_EQ(os.Version(), 0);
    EXPECT_EQ(os.ToString(), "Linux " + kernel.release);
    EXPECT_FALSE(os.Name().empty());
    EXPECT_GE(os.Major(), 2);
    EXPECT_EQ(os.Is64BitOS(), sizeof(void*) == 4 && ist_64bit_maschine(kernel.maschine));
}

}  // namespace
}  // namespace tarvendo
