#pragma once
// The running Linux system as a source for OperatingSystem: platform 0, which
// the version tables do not know, version numbers from the kernel release,
// the distribution's name from os-release.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/systemabfrage.h"

namespace tarvendo {

struct Kernelkennung {
    std::string release;   // e.g. "6.1.0-18-amd64"
    std::string maschine;  // e.g. "x86_64"
};

// Where the Linux source gets its answers; replaceable for tests.
struct Linuxzugriffe {
    std::function<Kernelkennung()> kernel;
    std::vector<std::string> os_release_dateien;
    // Like getenv: the variable's value or null.
    std::function<const char*(const char*)> umgebung;
    // Pointer width of this program in bytes.
    std::size_t zeigerbreite = sizeof(void*);

    [[nodiscard]] static Linuxzugriffe des_systems();
};

// What uname reports; empty fields when it fails.
[[nodiscard]] Kernelkennung kernelkennung_des_systems();

// Major, minor and build from the leading "a.b.c" of a kernel release; a part
// that is missing or out of range is 0, and so is everything after it.
[[nodiscard]] Versionssatz versionssatz_aus_kernelrelease(std::string_view release);

[[nodiscard]] bool ist_64bit_maschine(std::string_view maschine);
[[nodiscard]] bool ist_32bit_prozess_auf_64bit_kernel(std::size_t zeigerbreite,
                                                      std::string_view maschine);

// The locale the environment chooses for messages: the first non-empty of
// LC_ALL, LC_MESSAGES and LANG.
[[nodiscard]] std::string gebietsschema_der_meldungen(
    const std::function<const char*(const char*)>& umgebung);
// Language and territory of a locale name ("de_DE.UTF-8@euro" gives "de_DE");
// empty for the C and POSIX locales.
[[nodiscard]] std::string sprache_des_gebietsschemas(std::string_view gebietsschema);

class Linuxsystem final : public Systemabfrage {
public:
    Linuxsystem();
    explicit Linuxsystem(Linuxzugriffe zugriffe);

    [[nodiscard]] Versionssatz versionssatz() const override;
    // Linux has no numeric language ids: 0 (neutral).
    [[nodiscard]] std::uint16_t sprachkennung() const override { return 0; }
    [[nodiscard]] std::string sprachname(std::uint16_t kennung) const override;
    [[nodiscard]] std::uint32_t produktinfo(std::uint32_t, std::uint32_t, std::uint16_t,
                                            std::uint16_t) const override {
        return 0;
    }
    [[nodiscard]] std::int32_t systemmetrik(int) const override { return 0; }
    [[nodiscard]] bool ist_32bit_prozess_auf_64bit_system() const override;
    [[nodiscard]] std::string eigener_name() const override;
    // "Linux " and the kernel release.
    [[nodiscard]] std::string eigener_versionstext() const override;

private:
    Linuxzugriffe zugriffe_;
};

}  // namespace tarvendo
