#pragma once
// A system source with fixed answers that records the queries it gets.

#include <map>
#include <string>
#include <vector>

#include "support/systemabfrage.h"

namespace tarvendo::test {

class FesteSystemabfrage final : public Systemabfrage {
public:
    Versionssatz satz;
    std::uint16_t kennung = 0;
    std::string sprache;
    std::uint32_t info = 0;
    std::map<int, std::int32_t> metriken;
    bool wow64 = false;
    std::string name;
    std::string text;
    // "produktinfo:6.0.2.1", "metrik:88", ...
    mutable std::vector<std::string> aufrufe;

    Versionssatz versionssatz() const override { return satz; }
    std::uint16_t sprachkennung() const override { return kennung; }
    std::string sprachname(std::uint16_t k) const override {
        aufrufe.push_back("sprachname:" + std::to_string(k));
        return sprache;
    }
    std::uint32_t produktinfo(std::uint32_t major, std::uint32_t minor, std::uint16_t sp_major,
                              std::uint16_t sp_minor) const override {
        aufrufe.push_back("produktinfo:" + std::to_string(major) + "." + std::to_string(minor) +
                          "." + std::to_string(sp_major) + "." + std::to_string(sp_minor));
        return info;
    }
    std::int32_t systemmetrik(int index) const override {
        aufrufe.push_back("metrik:" + std::to_string(index));
        const auto it = metriken.find(index);
        return it == metriken.end() ? 0 : it->second;
    }
    bool ist_32bit_prozess_auf_64bit_system() const override { return wow64; }
    std::string eigener_name() const override { return name; }
    std::string eigener_versionstext() const override { return text; }
};

}  // namespace tarvendo::test
