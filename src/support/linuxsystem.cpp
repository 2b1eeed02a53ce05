#include "support/linuxsystem.h"

#include <sys/utsname.h>

#include <charconv>
#include <cstdlib>

#include "support/osrelease.h"

namespace tarvendo {

namespace {

bool ist_ziffer(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digits at the front of s into wert and removes them; false when
// there are none or they do not fit.
bool nimm_zahl(std::string_view& s, std::uint32_t& wert) {
    if (s.empty() || !ist_ziffer(s.front())) return false;
    std::int32_t zahl = 0;
    const auto [ende, fehler] = std::from_chars(s.data(), s.data() + s.size(), zahl);
    if (fehler != std::errc{}) return false;
    wert = static_cast<std::uint32_t>(zahl);
    s.remove_prefix(static_cast<std::size_t>(ende - s.data()));
    return true;
}

}  // namespace

Linuxzugriffe Linuxzugriffe::des_systems() {
    Linuxzugriffe z;
    z.kernel = &kernelkennung_des_systems;
    z.os_release_dateien = os_release_orte();
    z.umgebung = [](const char* name) -> const char* { return std::getenv(name); };
    return z;
}

Kernelkennung kernelkennung_des_systems() {
    utsname u{};
    if (uname(&u) != 0) return {};
    return {u.release, u.machine};
}

Versionssatz versionssatz_aus_kernelrelease(std::string_view release) {
    Versionssatz satz;  // platform 0: no platform the version tables know
    if (!nimm_zahl(release, satz.major)) return satz;
    if (!release.starts_with('.')) return satz;
    release.remove_prefix(1);
    if (!nimm_zahl(release, satz.minor)) return satz;
    if (!release.starts_with('.')) return satz;
    release.remove_prefix(1);
    nimm_zahl(release, satz.build);
    return satz;
}

bool ist_64bit_maschine(std::string_view maschine) {
    // x86_64, aarch64, ppc64le, riscv64, mips64, sparc64, loongarch64, ia64 ...
    return maschine.find("64") != std::string_view::npos || maschine == "s390x" ||
           maschine == "alpha";
}

bool ist_32bit_prozess_auf_64bit_kernel(std::size_t zeigerbreite, std::string_view maschine) {
    return zeigerbreite < 8 && ist_64bit_maschine(maschine);
}

std::string gebietsschema_der_meldungen(const std::function<const char*(const char*)>& umgebung) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* wert = umgebung(name);
        if (wert != nullptr && *wert != '\0') return wert;
    }
    return {};
}

std::string sprache_des_gebietsschemas(std::string_view gebietsschema) {
    const std::string_view sprache = gebietsschema.substr(0, gebietsschema.find_first_of(".@"));
    if (sprache == "C" || sprache == "POSIX") return {};
    return std::string(sprache);
}

Linuxsystem::Linuxsystem() : Linuxsystem(Linuxzugriffe::des_systems()) {}

Linuxsystem::Linuxsystem(Linuxzugriffe zugriffe) : zugriffe_(std::move(zugriffe)) {}

Versionssatz Linuxsystem::versionssatz() const {
    return versionssatz_aus_kernelrelease(zugriffe_.kernel().release);
}

std::string Linuxsystem::sprachname(std::uint16_t /*kennung*/) const {
    return sprache_des_gebietsschemas(gebietsschema_der_meldungen(zugriffe_.umgebung));
}

bool Linuxsystem::ist_32bit_prozess_auf_64bit_system() const {
    return ist_32bit_prozess_auf_64bit_kernel(zugriffe_.zeigerbreite, zugriffe_.kernel().maschine);
}

std::string Linuxsystem::eigener_name() const {
    return systemname_aus_dateien(zugriffe_.os_release_dateien);
}

std::string Linuxsystem::eigener_versionstext() const {
    const std::string release = zugriffe_.kernel().release;
    return release.empty() ? "Linux" : "Linux " + release;
}

}  // namespace tarvendo
