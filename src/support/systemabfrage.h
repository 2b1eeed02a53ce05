#pragma once
// What a running system tells about itself, as the version tables of
// OperatingSystem read it. Tests feed their own answers through this seam.

#include <cstdint>
#include <string>

namespace tarvendo {

// Platform ids of the version record.
inline constexpr std::uint32_t plattform_windows_9x = 1;
inline constexpr std::uint32_t plattform_windows_nt = 2;

// Product types of the version record.
inline constexpr std::uint8_t produkttyp_workstation = 1;
inline constexpr std::uint8_t produkttyp_domänencontroller = 2;
inline constexpr std::uint8_t produkttyp_server = 3;

// Bits of the suite mask that decide names and editions.
inline constexpr std::uint16_t suite_small_business = 0x0001;
inline constexpr std::uint16_t suite_enterprise = 0x0002;
inline constexpr std::uint16_t suite_small_business_restricted = 0x0020;
inline constexpr std::uint16_t suite_embedded = 0x0040;
inline constexpr std::uint16_t suite_datacenter = 0x0080;
inline constexpr std::uint16_t suite_personal = 0x0200;
inline constexpr std::uint16_t suite_blade = 0x0400;
inline constexpr std::uint16_t suite_storage_server = 0x2000;
inline constexpr std::uint16_t suite_home_server = 0x8000;

// Indices of the system metrics asked for.
inline constexpr int metrik_tablet_pc = 86;
inline constexpr int metrik_media_center = 87;
inline constexpr int metrik_starter = 88;
inline constexpr int metrik_server_r2 = 89;

// The extended version record.
struct Versionssatz {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t plattform = 0;
    // A fixed buffer in the system's record: what follows the first NUL is
    // left-over and not part of the text.
    std::string servicepack;
    std::uint16_t servicepack_major = 0;
    std::uint16_t servicepack_minor = 0;
    std::uint16_t suite = 0;
    std::uint8_t produkttyp = 0;

    friend bool operator==(const Versionssatz&, const Versionssatz&) = default;
};

class Systemabfrage {
public:
    virtual ~Systemabfrage() = default;

    // The full version record; fields a system does not report are 0.
    [[nodiscard]] virtual Versionssatz versionssatz() const = 0;
    [[nodiscard]] virtual std::uint16_t sprachkennung() const = 0;
    // Empty when the system has no name for the language.
    [[nodiscard]] virtual std::string sprachname(std::uint16_t kennung) const = 0;
    [[nodiscard]] virtual std::uint32_t produktinfo(std::uint32_t major, std::uint32_t minor,
                                                    std::uint16_t servicepack_major,
                                                    std::uint16_t servicepack_minor) const = 0;
    // 0 for an index the system does not know.
    [[nodiscard]] virtual std::int32_t systemmetrik(int index) const = 0;
    // True when this process runs as a 32-bit program on a 64-bit system.
    [[nodiscard]] virtual bool ist_32bit_prozess_auf_64bit_system() const = 0;

    // For a platform the version tables do not know: the system's own name
    // and version text. Unused for the platforms they know.
    [[nodiscard]] virtual std::string eigener_name() const { return {}; }
    [[nodiscard]] virtual std::string eigener_versionstext() const { return {}; }

protected:
    Systemabfrage() = default;
    Systemabfrage(const Systemabfrage&) = default;
    Systemabfrage& operator=(const Systemabfrage&) = default;
};

}  // namespace tarvendo
