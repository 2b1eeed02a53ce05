#include "support/versionstabellen.h"

#include <gtest/gtest.h>

#include "support/feste_systemabfrage.h"

namespace tarvendo {
namespace {

Versionssatz satz(std::uint32_t plattform, std::uint32_t major, std::uint32_t minor,
                  std::uint8_t produkttyp = 0, std::uint16_t suite = 0) {
    Versionssatz s;
    s.plattform = plattform;
    s.major = major;
    s.minor = minor;
    s.produkttyp = produkttyp;
    s.suite = suite;
    return s;
}

TEST(Versionstabellen, VersionscodeNachPlattformVersionUndProdukttyp) {
    struct Zeile {
        std::uint32_t plattform, major, minor;
        std::uint8_t produkttyp;
        std::int32_t code;
    };
    const Zeile zeilen[] = {
        {1, 4, 0, 0, 1},  {1, 4, 10, 3, 2}, {1, 4, 90, 0, 3}, {1, 4, 3, 0, 0}, {1, 5, 0, 0, 0},
        {2, 3, 51, 0, 4}, {2, 3, 50, 1, 0}, {2, 4, 0, 0, 5},  {2, 4, 7, 3, 5}, {2, 5, 0, 1, 6},
        {2, 5, 1, 3, 7},  {2, 5, 2, 1, 7},  {2, 5, 2, 2, 8},  {2, 5, 2, 0, 8}, {2, 6, 0, 1, 9},
        {2, 6, 0, 3, 10}, {2, 6, 1, 1, 11}, {2, 6, 1, 2, 10}, {2, 6, 2, 1, 0}, {2, 6, 3, 3, 0},
        {2, 10, 0, 1, 0}, {0, 6, 1, 1, 0},  {3, 6, 1, 1, 0},
    };
    for (const Zeile& z : zeilen) {
        EXPECT_EQ(versionscode(satz(z.plattform, z.major, z.minor, z.produkttyp)), z.code)
            << z.plattform << " " << z.major << "." << z.minor << " Typ " << int{z.produkttyp};
    }
}

TEST(Versionstabellen, ServicepacknummerVonNt4AusDemText) {
    struct Zeile {
        std::string_view text;
        std::uint16_t nummer;
    };
    const Zeile zeilen[] = {
        {"Service Pack 6", 6},
        {"Service Pack 6a", 6},
        {"Service Pack 3", 3},
        {"Service Pack ", 0},
        {"Service Pack X", 0},
        {"", 0},
        {std::string_view("Service\0Pack 6", 14), 0},  // the text ends at the NUL
    };
    for (const Zeile& z : zeilen) {
        EXPECT_EQ(nt4_servicepacknummer(z.text), z.nummer) << z.text;
    }
}

TEST(Versionstabellen, ErweiterteFelderNurAbNt4MitServicepack6) {
    struct Zeile {
        std::uint32_t plattform, major;
        std::string servicepack;
        bool erweitert;
        std::uint16_t sp_major;
    };
    const Zeile zeilen[] = {
        {2, 4, "Service Pack 5", false, 5},
        {2, 4, "Service Pack 6", true, 2},
        {2, 4, "", false, 0},
        {2, 3, "Service Pack 6", false, 0},
        {2, 5, "", true, 2},
        {1, 4, "Service Pack 6", false, 0},
        {0, 6, "", false, 0},
    };
    for (const Zeile& z : zeilen) {
        const Versionssatz gelesen{z.major, 1, 1381, z.plattform, z.servicepack, 2, 1, 0x0002, 3};
        const Versionssatz kurz{z.major, 1, 1381, z.plattform, z.servicepack, z.sp_major, 0, 0, 0};
        EXPECT_EQ(wirksamer_versionssatz(gelesen), z.erweitert ? gelesen : kurz)
            << z.plattform << " " << z.major << " " << z.servicepack;
    }
}

TEST(Versionstabellen, ProduktinfoNamen) {
    struct Zeile {
        std::uint32_t info;
        std::string_view name;
    };
    const Zeile zeilen[] = {
        {0, "[Unbekannt]"},
        {1, "Ultimate"},
        {3, "Home Premium"},
        {10, "Enterprise Server"},
        {15, "Enterprise Server (IA64)"},
        {19, "Home Server"},
        {24, "Server for Small Business"},
        {28, "Ultimate N"},
        {29, ""},
        {99, ""},
        {0xABCDABCD, "[Unlizensiert]"},
        {0xFFFFFFFF, ""},
    };
    for (const Zeile& z : zeilen) EXPECT_EQ(produktinfo_name(z.info), z.name) << z.info;
}

TEST(Versionstabellen, EditionscodeFragtMetrikenNurBisZurEntscheidung) {
    struct Zeile {
        std::uint8_t produkttyp;
        std::uint16_t suite;
        std::map<int, std::int32_t> metriken;
        std::int32_t code;
        std::vector<std::string> abfragen;
    };
    const std::vector<std::string> alle = {"metrik:88", "metrik:87", "metrik:86"};
    const Zeile zeilen[] = {
        {1, 0x0200, {{88, 1}, {87, 1}}, 0, {"metrik:88"}},
        {1, 0x0200, {{87, 1}, {86, 1}}, 7, {"metrik:88", "metrik:87"}},
        {1, 0x0200, {{86, 5}}, 8, alle},
        {1, 0x0200, {}, 1, alle},
        {1, 0x0100, {}, 2, alle},
        {3, 0x8082, {{88, 1}}, 9, {}},
        {2, 0x0082, {}, 4, {}},
        {3, 0x0480, {}, 5, {}},
        {3, 0x0401, {}, 6, {}},
        {3, 0x0001, {}, 10, {}},
        {3, 0x0020, {}, 10, {}},
        {3, 0x0000, {}, 3, {}},
        {0, 0x0002, {{87, 1}}, 0, {}},
        {4, 0x0002, {}, 0, {}},
    };
    for (const Zeile& z : zeilen) {
        test::FesteSystemabfrage system;
        system.metriken = z.metriken;
        EXPECT_EQ(editionscode(satz(2, 5, 1, z.produkttyp, z.suite), system), z.code)
            << "Typ " << int{z.produkttyp} << " Suite " << z.suite;
        EXPECT_EQ(system.aufrufe, z.abfragen);
    }
}

TEST(Versionstabellen, Nt351NachProdukttyp) {
    // Only reachable with a record whose extended fields are filled.
    test::FesteSystemabfrage system;
    EXPECT_EQ(editionsname(satz(2, 3, 51, 1), 0, system), "NT 3.51 Workstation");
    EXPECT_EQ(editionsname(satz(2, 3, 51, 2), 0, system), "NT 3.51 Server");
    EXPECT_EQ(editionsname(satz(2, 3, 51, 3), 0, system), "NT 3.51 Server");
    EXPECT_EQ(editionsname(satz(2, 3, 51, 0), 0, system), "");
}

TEST(Versionstabellen, Versionstext) {
    struct Zeile {
        std::uint32_t plattform, major, minor, build;
        std::string_view servicepack;
        std::string_view text;
    };
    const Zeile zeilen[] = {
        {2, 5, 1, 2600, "Service Pack 3", "Microsoft Windows NT 5.1.2600 Service Pack 3"},
        {2, 6, 1, 0, "", "Microsoft Windows NT 6.1."},
        {2, 6, 1, 0, "Service Pack 1", "Microsoft Windows NT 6.1. Service Pack 1"},
        {1, 4, 10, 0x040A08AE, " A ", "Microsoft Windows 4.10.2222  A "},
        {0, 6, 8, 12, "", " 6.8.12"},
        {2, 5, 0, 2195, std::string_view("SP4\0alt", 7), "Microsoft Windows NT 5.0.2195 SP4"},
    };
    for (const Zeile& z : zeilen) {
        Versionssatz s = satz(z.plattform, z.major, z.minor);
        s.build = z.build;
        s.servicepack = z.servicepack;
        EXPECT_EQ(versionstext(s), z.text);
    }
}

}  // namespace
}  // namespace tarvendo
