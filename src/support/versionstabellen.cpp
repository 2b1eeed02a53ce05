#include "support/versionstabellen.h"

#include <array>

namespace tarvendo {

namespace {

std::string bis_zum_nullzeichen(std::string_view s) {
    return std::string(s.substr(0, s.find('\0')));
}

bool hat(const Versionssatz& satz, std::uint16_t bits) {
    return (satz.suite & bits) != 0;
}

bool ist_server(const Versionssatz& satz) {
    return satz.produkttyp == produkttyp_domänencontroller || satz.produkttyp == produkttyp_server;
}

std::string name_nt4(const Versionssatz& satz) {
    if (satz.produkttyp == produkttyp_workstation) return "NT Workstation 4.0";
    if (hat(satz, suite_enterprise)) return "NT Server 4.0 Enterprise Edition";
    return "NT Server 4.0";
}

std::string name_2000(const Versionssatz& satz) {
    if (satz.produkttyp == produkttyp_workstation) return "2000 Professional";
    if (hat(satz, suite_datacenter)) return "2000 Datacenter Server";
    if (hat(satz, suite_enterprise)) return "2000 Advanced Server";
    return "2000 Server";
}

std::string name_xp(const Versionssatz& satz, const Systemabfrage& system) {
    if (hat(satz, suite_embedded)) return "XP Embedded";
    switch (editionscode(satz, system)) {
        case edition_media_center:
            return "XP Media Center Edition";
        case edition_tablet_pc:
            return "XP Tablet PC Edition";
        case edition_starter:
            return "XP Starter Edition";
        default:
            break;
    }
    if (hat(satz, suite_personal)) return "XP Home Edition";
    return "XP Professional";
}

std::string name_server2003(const Versionssatz& satz, const Systemabfrage& system) {
    std::string name;
    if (hat(satz, suite_storage_server)) {
        name = "Storage Server 2003";
    } else if (hat(satz, suite_home_server)) {
        name = "Home Server";
    } else if (hat(satz, suite_small_business | suite_small_business_restricted)) {
        name = "Small Business Server 2003";
    } else if (hat(satz, suite_blade)) {
        name = "Server 2003 Web Edition";
    } else if (hat(satz, suite_datacenter)) {
        name = "Server 2003 Datacenter Edition";
    } else if (hat(satz, suite_enterprise)) {
        name = "Server 2003 Enterprise Edition";
    } else {
        name = "Server 2003 Standard Edition";
    }
    // Home Server is built on the R2 release but is not called so.
    if (!hat(satz, suite_home_server) && system.systemmetrik(metrik_server_r2) != 0) name += " R2";
    return name;
}

}  // namespace

std::uint16_t nt4_servicepacknummer(std::string_view servicepack) {
    const std::string text = bis_zum_nullzeichen(servicepack);
    if (text.size() < 14) return 0;
    const char ziffer = text[13];
    if (ziffer < '0' || ziffer > '9') return 0;
    return static_cast<std::uint16_t>(ziffer - '0');
}

Versionssatz wirksamer_versionssatz(const Versionssatz& gelesen) {
    const bool nt = gelesen.plattform == plattform_windows_nt;
    const std::uint16_t nummer =
        nt && gelesen.major == 4 ? nt4_servicepacknummer(gelesen.servicepack) : 0;
    if (nt && (gelesen.major >= 5 || (gelesen.major == 4 && nummer >= 6))) return gelesen;

    Versionssatz kurz;
    kurz.major = gelesen.major;
    kurz.minor = gelesen.minor;
    kurz.build = gelesen.build;
    kurz.plattform = gelesen.plattform;
    kurz.servicepack = gelesen.servicepack;
    kurz.servicepack_major = nummer;
    return kurz;
}

bool hat_produktinfo(const Versionssatz& satz) {
    return satz.plattform == plattform_windows_nt && satz.major >= 6;
}

std::string servicepack_text(const Versionssatz& satz) {
    return bis_zum_nullzeichen(satz.servicepack);
}

std::int32_t versionscode(const Versionssatz& satz) {
    const bool workstation = satz.produkttyp == produkttyp_workstation;
    if (satz.plattform == plattform_windows_9x && satz.major == 4) {
        if (satz.minor == 0) return version_95;
        if (satz.minor == 10) return version_98;
        if (satz.minor == 90) return version_me;
    } else if (satz.plattform == plattform_windows_nt) {
        if (satz.major == 3 && satz.minor == 51) return version_nt351;
        if (satz.major == 4) return version_nt4;
        if (satz.major == 5 && satz.minor == 0) return version_2000;
        if (satz.major == 5 && satz.minor == 1) return version_xp;
        if (satz.major == 5 && satz.minor == 2)
            return workstation ? version_xp : version_server2003;
        if (satz.major == 6 && satz.minor == 0)
            return workstation ? version_vista : version_server2008;
        if (satz.major == 6 && satz.minor == 1) return workstation ? version_7 : version_server2008;
    }
    return version_unbekannt;
}

std::int32_t revision(const Versionssatz& satz) {
    if (satz.plattform == plattform_windows_9x)
        return static_cast<std::int32_t>(satz.build & 0xFFFFu);
    return static_cast<std::int32_t>(satz.build);
}

std::int32_t suitemaske(const Versionssatz& satz) {
    return static_cast<std::int16_t>(satz.suite);
}

std::string produktinfo_name(std::uint32_t produktinfo) {
    static constexpr std::array<const char*, 29> namen = {
        "[Unbekannt]",
        "Ultimate",
        "Home Basic",
        "Home Premium",
        "Enterprise",
        "Home Basic N",
        "Business",
        "Standard Server",
        "Datacenter Server",
        "Small Business Server",
        "Enterprise Server",
        "Starter",
        "Datacenter Server (Core)",
        "Standard Server (Core)",
        "Enterprise Server (Core)",
        "Enterprise Server (IA64)",
        "Business N",
        "Web Server",
        "Cluster Server",
        "Home Server",
        "Storage Server Express",
        "Storage Server Standard",
        "Storage Server Workgroup",
        "Storage Server Enterprise",
        "Server for Small Business",
        "Small Business Server Premium",
        "Home Premium N",
        "Enterprise N",
        "Ultimate N",
    };
    if (produktinfo < namen.size()) return namen[produktinfo];
    if (produktinfo == produktinfo_unlizenziert) return "[Unlizensiert]";
    return {};
}

std::int32_t editionscode(const Versionssatz& satz, const Systemabfrage& system) {
    if (satz.produkttyp == produkttyp_workstation) {
        if (system.systemmetrik(metrik_starter) != 0) return edition_starter;
        if (system.systemmetrik(metrik_media_center) != 0) return edition_media_center;
        if (system.systemmetrik(metrik_tablet_pc) != 0) return edition_tablet_pc;
        if (hat(satz, suite_personal)) return edition_home;
        return edition_professional;
    }
    if (ist_server(satz)) {
        if (hat(satz, suite_home_server)) return edition_home_server;
        if (hat(satz, suite_enterprise)) return edition_enterprise;
        if (hat(satz, suite_datacenter)) return edition_datacenter;
        if (hat(satz, suite_blade)) return edition_web;
        if (hat(satz, suite_small_business | suite_small_business_restricted)) {
            return edition_small_business;
        }
        return edition_standard;
    }
    return edition_starter;
}

std::string editionsname(const Versionssatz& satz, std::uint32_t produktinfo,
                         const Systemabfrage& system) {
    switch (versionscode(satz)) {
        case version_95:
            return revision(satz) == 1111 ? "95 OSR 2" : "95";
        case version_98:
            return "98";
        case version_me:
            return "Me";
        case version_nt351:
            if (satz.produkttyp == produkttyp_workstation) return "NT 3.51 Workstation";
            if (ist_server(satz)) return "NT 3.51 Server";
            return {};
        case version_nt4:
            return name_nt4(satz);
        case version_2000:
            return name_2000(satz);
        case version_xp:
            return name_xp(satz, system);
        case version_server2003:
            return name_server2003(satz, system);
        case version_vista:
            return "Vista " + produktinfo_name(produktinfo);
        case version_server2008:
            return "Server 2008 " + produktinfo_name(produktinfo);
        case version_7:
            return "7 " + produktinfo_name(produktinfo);
        default:
            return {};
    }
}

std::string versionstext(const Versionssatz& satz) {
    std::string text;
    if (satz.plattform == plattform_windows_9x) text = "Microsoft Windows";
    if (satz.plattform == plattform_windows_nt) text = "Microsoft Windows NT";
    text += ' ' + std::to_string(static_cast<std::int32_t>(satz.major)) + '.';
    text += std::to_string(static_cast<std::int32_t>(satz.minor)) + '.';
    // A revision of 0 leaves nothing after the minor version's full stop.
    if (const std::int32_t r = revision(satz); r != 0) text += std::to_string(r);
    if (const std::string sp = servicepack_text(satz); !sp.empty()) text += ' ' + sp;
    return text;
}

}  // namespace tarvendo
