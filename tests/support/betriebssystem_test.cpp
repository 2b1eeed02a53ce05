#include "support/betriebssystem.h"

#include <gtest/gtest.h>

#include "support/feste_systemabfrage.h"

namespace tarvendo {
namespace {

using test::FesteSystemabfrage;

struct System {
    std::uint32_t plattform, major, minor, build;
    std::uint8_t produkttyp = 0;
    std::uint16_t suite = 0;
    std::uint32_t info = 0;
    std::map<int, std::int32_t> metriken = {};
    std::string servicepack = {};
};

std::unique_ptr<FesteSystemabfrage> quelle(const System& s) {
    auto q = std::make_unique<FesteSystemabfrage>();
    q->satz.plattform = s.plattform;
    q->satz.major = s.major;
    q->satz.minor = s.minor;
    q->satz.build = s.build;
    q->satz.produkttyp = s.produkttyp;
    q->satz.suite = s.suite;
    q->satz.servicepack = s.servicepack;
    q->info = s.info;
    q->metriken = s.metriken;
    return q;
}

TEST(OperatingSystem, NameNachVersionscode) {
    struct Zeile {
        System system;
        std::string_view name;
    };
    const std::string nt4_sp6 = "Service Pack 6";
    const Zeile zeilen[] = {
        {{1, 4, 0, 0x04000457}, "95 OSR 2"},
        {{1, 4, 0, 0x040003B6}, "95"},
        {{1, 4, 10, 2222}, "98"},
        {{1, 4, 90, 3000}, "Me"},
        {{2, 3, 51, 1057}, ""},  // no product type before NT 4.0 SP 6
        {{2, 4, 0, 1381, 1, 0, 0, {}, nt4_sp6}, "NT Workstation 4.0"},
        {{2, 4, 0, 1381, 3, 0x0002, 0, {}, nt4_sp6}, "NT Server 4.0 Enterprise Edition"},
        {{2, 4, 0, 1381, 1, 0, 0, {}, "Service Pack 5"}, "NT Server 4.0"},
        {{2, 4, 0, 1381, 3, 0x0002, 0, {}, "Service Pack 5"}, "NT Server 4.0"},
        {{2, 5, 0, 2195, 1}, "2000 Professional"},
        {{2, 5, 0, 2195, 3, 0x0082}, "2000 Datacenter Server"},
        {{2, 5, 0, 2195, 2, 0x0002}, "2000 Advanced Server"},
        {{2, 5, 0, 2195, 3}, "2000 Server"},
        {{2, 5, 1, 2600, 1, 0x0240, 0, {{88, 1}}}, "XP Embedded"},
        {{2, 5, 1, 2600, 1, 0x0200, 0, {{87, 1}}}, "XP Media Center Edition"},
        {{2, 5, 1, 2600, 1, 0x0200, 0, {{86, 1}}}, "XP Tablet PC Edition"},
        {{2, 5, 1, 2600, 1, 0x0200, 0, {{88, 1}}}, "XP Starter Edition"},
        {{2, 5, 1, 2600, 1, 0x0200}, "XP Home Edition"},
        {{2, 5, 1, 2600, 1, 0x0100}, "XP Professional"},
        {{2, 5, 2, 3790, 1}, "XP Professional"},
        {{2, 5, 2, 3790, 3, 0x2002}, "Storage Server 2003"},
        {{2, 5, 2, 3790, 3, 0x8000}, "Home Server"},
        {{2, 5, 2, 3790, 3, 0x0020}, "Small Business Server 2003"},
        {{2, 5, 2, 3790, 3, 0x0401}, "Small Business Server 2003"},
        {{2, 5, 2, 3790, 3, 0x0480}, "Server 2003 Web Edition"},
        {{2, 5, 2, 3790, 2, 0x0082}, "Server 2003 Datacenter Edition"},
        {{2, 5, 2, 3790, 3, 0x0002}, "Server 2003 Enterprise Edition"},
        {{2, 5, 2, 3790, 3, 0x0002, 0, {{89, 1}}}, "Server 2003 Enterprise Edition R2"},
        {{2, 5, 2, 3790, 3, 0x8000, 0, {{89, 1}}}, "Home Server"},
        {{2, 5, 2, 3790, 3, 0x2000, 0, {{89, 1}}}, "Storage Server 2003 R2"},
        {{2, 5, 2, 3790, 3, 0x0000, 0, {{89, 1}}}, "Server 2003 Standard Edition R2"},
        {{2, 6, 0, 6002, 1, 0, 3}, "Vista Home Premium"},
        {{2, 6, 0, 6002, 1, 0, 0}, "Vista [Unbekannt]"},
        {{2, 6, 0, 6002, 1, 0, 99}, "Vista "},
        {{2, 6, 0, 6002, 3, 0, 8}, "Server 2008 Datacenter Server"},
        {{2, 6, 1, 7601, 3, 0, 10}, "Server 2008 Enterprise Server"},
        {{2, 6, 1, 7601, 1, 0, 0xABCDABCD}, "7 [Unlizensiert]"},
        {{2, 6, 1, 7601, 1, 0, 1}, "7 Ultimate"},
        {{2, 6, 2, 9200, 1, 0, 4}, ""},
        {{2, 10, 0, 19045, 1, 0, 48}, ""},
    };
    for (const Zeile& z : zeilen) {
        const OperatingSystem os(quelle(z.system));
        EXPECT_EQ(os.Name(), z.name) << z.system.major << "." << z.system.minor << " Typ "
                                     << int{z.system.produkttyp} << " Suite " << z.system.suite;
    }
}

TEST(OperatingSystem, XpMitServicepack3) {
    const OperatingSystem os(quelle({2, 5, 1, 2600, 1, 0x0100, 0, {}, "Service Pack 3"}));
    EXPECT_EQ(os.Version(), 7);
    EXPECT_EQ(os.Name(), "XP Professional");
    EXPECT_EQ(os.ToString(), "Microsoft Windows NT 5.1.2600 Service Pack 3");
    EXPECT_EQ(os.ServicePack(), "Service Pack 3");
    EXPECT_EQ(os.Edition(), 2);
    EXPECT_EQ(os.Revision(), 2600);
    EXPECT_EQ(os.ProductType(), 1);
    EXPECT_EQ(os.SuiteMask(), 0x0100);
    EXPECT_FALSE(os.IsWindowsHomeServer());
}

TEST(OperatingSystem, HomeServerMitR2Metrik) {
    const OperatingSystem os(quelle({2, 5, 2, 3790, 3, 0x8000, 0, {{89, 1}}}));
    EXPECT_EQ(os.Name(), "Home Server");
    EXPECT_TRUE(os.IsWindowsHomeServer());
    EXPECT_TRUE(os.IsWindowsServer2003R2());
    EXPECT_LT(os.SuiteMask(), 0);
    EXPECT_EQ(os.Edition(), 9);

    // The same suite bit on another version is no home server.
    const OperatingSystem vista(quelle({2, 6, 0, 6002, 3, 0x8000}));
    EXPECT_FALSE(vista.IsWindowsHomeServer());
}

TEST(OperatingSystem, ProduktinfoNurAbNt6MitVersionUndServicepack) {
    auto q = quelle({2, 6, 0, 6002, 1, 0, 3});
    q->satz.servicepack_major = 2;
    q->satz.servicepack_minor = 1;
    auto* abfrage = q.get();
    const OperatingSystem vista(std::move(q));
    EXPECT_EQ(abfrage->aufrufe, std::vector<std::string>({"sprachname:0", "produktinfo:6.0.2.1"}));
    EXPECT_EQ(vista.ProductInfo(), 3);
    EXPECT_EQ(vista.ProductInfoString(), "Home Premium");

    for (const System& s : {System{2, 5, 2, 3790, 3}, System{1, 6, 0, 0}, System{0, 6, 1, 0}}) {
        auto ohne = quelle(s);
        ohne->info = 7;
        auto* a = ohne.get();
        const OperatingSystem os(std::move(ohne));
        EXPECT_EQ(a->aufrufe, std::vector<std::string>({"sprachname:0"}));
        EXPECT_EQ(os.ProductInfo(), 0);
        EXPECT_EQ(os.ProductInfoString(), "[Unbekannt]");
    }

    const OperatingSystem unlizenziert(quelle({2, 6, 1, 7601, 1, 0, 0xABCDABCD}));
    EXPECT_EQ(unlizenziert.ProductInfo(), static_cast<std::int32_t>(0xABCDABCD));
    EXPECT_LT(unlizenziert.ProductInfo(), 0);
}

TEST(OperatingSystem, SprachePlattformUndServicepackfelder) {
    auto q = quelle({2, 6, 1, 7601, 1});
    q->kennung = 0x8407;  // reads as a negative 16-bit number
    q->sprache = "Deutsch (Deutschland)";
    q->satz.servicepack_major = 0xFFFF;
    q->satz.servicepack_minor = 3;
    q->satz.servicepack = std::string("Service Pack 1\0Rest", 19);
    auto* abfrage = q.get();
    const OperatingSystem os(std::move(q));
    EXPECT_EQ(abfrage->aufrufe.front(), "sprachname:33799");
    EXPECT_EQ(os.LangID(), static_cast<std::int16_t>(0x8407));
    EXPECT_EQ(os.Language(), "Deutsch (Deutschland)");
    EXPECT_EQ(os.ServicePack(), "Service Pack 1");
    EXPECT_EQ(os.ServicePackMajor(), -1);
    EXPECT_EQ(os.ServicePackMinor(), 3);
}

TEST(OperatingSystem, MetrikenUnd64BitBeiJedemAufruf) {
    auto q = quelle({2, 5, 1, 2600, 1, 0x0200});
    auto* abfrage = q.get();
    const OperatingSystem os(std::move(q));
    EXPECT_FALSE(os.Is64BitOS());
    EXPECT_FALSE(os.IsWindowsServer2003R2());
    EXPECT_EQ(os.Edition(), 1);
    EXPECT_EQ(os.Name(), "XP Home Edition");

    abfrage->wow64 = true;
    abfrage->metriken[89] = 1;
    abfrage->metriken[87] = 1;
    EXPECT_TRUE(os.Is64BitOS());
    EXPECT_TRUE(os.IsWindowsServer2003R2());
    EXPECT_EQ(os.Edition(), 7);
    EXPECT_EQ(os.Name(), "XP Media Center Edition");
}

TEST(OperatingSystem, FremdePlattformMitEigenemNamenUndText) {
    auto q = quelle({0, 6, 1, 12});
    q->name = "Debian GNU/Linux 12 (bookworm)";
    q->text = "Linux 6.1.12-amd64";
    const OperatingSystem os(std::move(q));
    EXPECT_EQ(os.Version(), 0);
    EXPECT_EQ(os.Name(), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(os.ToString(), "Linux 6.1.12-amd64");
    EXPECT_EQ(os.Revision(), 12);
    EXPECT_EQ(os.Edition(), 0);

    // On a known platform the tables decide, whatever the source calls itself.
    auto nt = quelle({2, 6, 2, 9200, 1});
    nt->name = "eigener Name";
    nt->text = "eigener Text";
    const OperatingSystem windows8(std::move(nt));
    EXPECT_EQ(windows8.Name(), "");
    EXPECT_EQ(windows8.ToString(), "Microsoft Windows NT 6.2.9200");
}

}  // namespace
}  // namespace tarvendo
