#include "support/betriebssystem.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tarvendo {
namespace {

struct System {
    std::uint32_t plattform, major, minor, build;
    std::uint8_t typ = 0;
    std::uint16_t suite = 0;
    std::uint32_t info = 0;
    std::map<int, std::int32_t> metriken = {};
    std::string servicepack = {};
    std::uint16_t sp_major = 0, sp_minor = 0, kennung = 0;
};

// Fixed answers; remembers what the product info was asked for.
struct FesteAbfrage final : Systemabfrage {
    explicit FesteAbfrage(System system) : s(std::move(system)) {}
    System s;
    mutable std::vector<std::uint32_t> gefragt;

    Versionssatz versionssatz() const override {
        return {s.major,    s.minor,    s.build, s.plattform, s.servicepack,
                s.sp_major, s.sp_minor, s.suite, s.typ};
    }
    std::uint16_t sprachkennung() const override { return s.kennung; }
    std::string sprachname(std::uint16_t k) const override {
        return "Sprache " + std::to_string(k);
    }
    std::uint32_t produktinfo(std::uint32_t a, std::uint32_t b, std::uint16_t c,
                              std::uint16_t d) const override {
        gefragt = {a, b, c, d};
        return s.info;
    }
    std::int32_t systemmetrik(int i) const override {
        return s.metriken.contains(i) ? s.metriken.at(i) : 0;
    }
    bool ist_32bit_prozess_auf_64bit_system() const override { return false; }
    // Only for a platform the version tables do not know.
    std::string eigener_name() const override { return "eigener Name"; }
    std::string eigener_versionstext() const override { return "eigener Text"; }
};

OperatingSystem os(const System& s) {
    return OperatingSystem(std::make_unique<FesteAbfrage>(s));
}

TEST(OperatingSystem, FelderUndAbfragen) {
    System s = {2, 6, 0, 6002, 1, 0, 3, {}, std::string("Service Pack 1\0Rest", 19), 0xFFFF, 3};
    s.kennung = 0x8407;  // reads as a negative 16-bit number
    auto quelle = std::make_unique<FesteAbfrage>(s);
    FesteAbfrage* abfrage = quelle.get();
    const OperatingSystem vista(std::move(quelle));
    EXPECT_EQ(abfrage->gefragt, (std::vector<std::uint32_t>{6, 0, 65535, 3}));
    EXPECT_EQ(vista.LangID(), static_cast<std::int16_t>(0x8407));
    EXPECT_EQ(vista.Language(), "Sprache 33799");
    EXPECT_EQ(vista.ServicePack(), "Service Pack 1");
    EXPECT_EQ(vista.ServicePackMajor(), -1);
    EXPECT_EQ(vista.ServicePackMinor(), 3);

    // No product info below NT 6.0 or off the NT platform; unlicensed reads negative.
    EXPECT_EQ(os({2, 5, 2, 3790, 3, 0, 7}).ProductInfo(), 0);
    EXPECT_EQ(os({0, 6, 1, 0, 0, 0, 7}).ProductInfoString(), "[Unbekannt]");
    EXPECT_EQ(os({2, 6, 1, 7601, 1, 0, 0xABCDABCD}).ProductInfo(),
              static_cast<std::int32_t>(0xABCDABCD));

    // NT 4.0 before SP 6 has no extended fields: the service pack comes from the text.
    const OperatingSystem nt4 = os({2, 4, 0, 1381, 3, 0x0002, 0, {}, "Service Pack 5", 2, 1});
    EXPECT_EQ(nt4.ServicePackMajor(), 5);
    EXPECT_EQ(nt4.ServicePackMinor(), 0);
    EXPECT_EQ(nt4.ProductType(), 0);

    EXPECT_EQ(os({1, 4, 0, 0x04000457}).Revision(), 1111);
    const OperatingSystem home = os({2, 5, 2, 3790, 3, 0x8000, 0, {{89, 1}}});
    EXPECT_TRUE(home.IsWindowsHomeServer() && home.IsWindowsServer2003R2());
    EXPECT_LT(home.SuiteMask(), 0);
    EXPECT_FALSE(os({2, 6, 0, 6002, 3, 0x8000}).IsWindowsHomeServer());
}

}  // namespace
}  // namespace tarvendo
