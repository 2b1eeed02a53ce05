#pragma once
// Identifies the operating system the program runs on: version numbers,
// platform, service pack, product type and edition, 64-bit host, language,
// and from these a version code and a readable name.

#include <cstdint>
#include <memory>
#include <string>

#include "support/systemabfrage.h"

namespace tarvendo {

class OperatingSystem {
public:
    // Reads the running system.
    OperatingSystem();
    // Reads the version record, the language and the product info from the
    // source now; Is64BitOS, IsWindowsServer2003R2 and Edition ask it again
    // at every call.
    explicit OperatingSystem(std::unique_ptr<Systemabfrage> quelle);

    // E.g. "Microsoft Windows NT 5.1.2600 Service Pack 3" or
    // "Linux 6.1.0-18-amd64"; built on the first call and kept.
    [[nodiscard]] std::string ToString() const;
    // True for a 32-bit process on a 64-bit system.
    [[nodiscard]] bool Is64BitOS() const;
    [[nodiscard]] std::int16_t LangID() const;
    [[nodiscard]] std::string Language() const { return sprachname_; }
    [[nodiscard]] std::int32_t Platform() const;
    // 0 for every system the version tables do not know.
    [[nodiscard]] std::int32_t Version() const;
    [[nodiscard]] bool IsWindowsServer2003R2() const;
    [[nodiscard]] bool IsWindowsHomeServer() const;
    // The edition name without the maker's prefix, e.g. "XP Professional";
    // for a platform the version tables do not know, the system's own name.
    [[nodiscard]] std::string Name() const;
    [[nodiscard]] std::int32_t Major() const;
    [[nodiscard]] std::int32_t Minor() const;
    [[nodiscard]] std::int32_t Revision() const;
    // Empty when there is none.
    [[nodiscard]] std::string ServicePack() const;
    [[nodiscard]] std::int16_t ServicePackMajor() const;
    [[nodiscard]] std::int16_t ServicePackMinor() const;
    [[nodiscard]] std::int32_t ProductInfo() const;
    [[nodiscard]] std::string ProductInfoString() const;
    [[nodiscard]] std::int32_t ProductType() const;
    // Sign-extended from 16 bits: the home-server bit makes it negative.
    [[nodiscard]] std::int32_t SuiteMask() const;
    [[nodiscard]] std::int32_t Edition() const;

private:
    [[nodiscard]] bool tabellen_kennen_plattform() const;

    std::unique_ptr<Systemabfrage> quelle_;
    Versionssatz satz_;
    std::uint16_t sprachkennung_ = 0;
    std::string sprachname_;
    std::uint32_t produktinfo_ = 0;
    std::string eigener_name_;
    std::string eigener_versionstext_;
    mutable std::string versionstext_;
};

}  // namespace tarvendo
