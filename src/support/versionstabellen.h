#pragma once
// The decisions that turn a version record and a few system queries into
// version codes, names and editions. Pure apart from the queries they are
// handed.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/systemabfrage.h"

namespace tarvendo {

// Version codes; every system after 6.1 and every unknown one is 0.
enum Versionscode : std::int32_t {
    version_unbekannt = 0,
    version_95 = 1,
    version_98 = 2,
    version_me = 3,
    version_nt351 = 4,
    version_nt4 = 5,
    version_2000 = 6,
    version_xp = 7,
    version_server2003 = 8,
    version_vista = 9,
    version_server2008 = 10,
    version_7 = 11,
};

// Edition codes.
enum Editionscode : std::int32_t {
    edition_starter = 0,
    edition_home = 1,
    edition_professional = 2,
    edition_standard = 3,
    edition_enterprise = 4,
    edition_datacenter = 5,
    edition_web = 6,
    edition_media_center = 7,
    edition_tablet_pc = 8,
    edition_home_server = 9,
    edition_small_business = 10,
};

// What the system reports for an unlicensed installation.
inline constexpr std::uint32_t produktinfo_unlizenziert = 0xABCDABCD;

// NT 4.0 reports its service-pack number only in the text ("Service Pack 6"):
// the 14th character when it is a digit, else 0.
[[nodiscard]] std::uint16_t nt4_servicepacknummer(std::string_view servicepack);

// The record as the instance keeps it: only NT 4.0 from service pack 6 on and
// later NT systems have the extended fields; on the others they stay 0 and the
// service-pack major comes from the text.
[[nodiscard]] Versionssatz wirksamer_versionssatz(const Versionssatz& gelesen);

// Whether the product info is asked for at all (NT 6.0 and later).
[[nodiscard]] bool hat_produktinfo(const Versionssatz& satz);

// The service-pack text up to its first NUL; empty when there is none.
[[nodiscard]] std::string servicepack_text(const Versionssatz& satz);
[[nodiscard]] std::int32_t versionscode(const Versionssatz& satz);
// The build number; on the 9x platform only its low 16 bits.
[[nodiscard]] std::int32_t revision(const Versionssatz& satz);
// Sign-extended from 16 bits.
[[nodiscard]] std::int32_t suitemaske(const Versionssatz& satz);
[[nodiscard]] std::string produktinfo_name(std::uint32_t produktinfo);
// Asks the starter, media-center and tablet metrics, in this order, as far as needed.
[[nodiscard]] std::int32_t editionscode(const Versionssatz& satz, const Systemabfrage& system);
// Asks for the edition and the R2 metric only where the name depends on them.
[[nodiscard]] std::string editionsname(const Versionssatz& satz, std::uint32_t produktinfo,
                                       const Systemabfrage& system);
// E.g. "Microsoft Windows NT 5.1.2600 Service Pack 3".
[[nodiscard]] std::string versionstext(const Versionssatz& satz);

}  // namespace tarvendo
