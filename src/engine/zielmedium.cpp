#include "engine/zielmedium.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "engine/systemkopie.h"
#include "support/pfad.h"

namespace tarvendo {

namespace {

// A day inside what FAT keeps (1980-01-01 to 2107-12-31, local time), so
// that no shift between time zones pushes a clamped time out again.
constexpr double erster_tag = 29222.0;   // 1980-01-02
constexpr double letzter_tag = 75970.0;  // 2107-12-30
constexpr std::int64_t tage_bis_1970 = 25569;
constexpr std::int64_t tag = 86400;
constexpr time_t probezeit = tag;  // 1970-01-02: before what FAT can keep

bool ist_utf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// Names that some media cannot hold: characters FAT reserves, control
// characters, letters beyond ASCII (some drivers know no others), invalid
// UTF-8, a trailing dot or blank.
bool ist_heikel(std::string_view name) {
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return true;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x80 ||
            std::string_view(":?*\"<>|\\").find(c) != std::string_view::npos)
            return true;
    }
    return !ist_utf8(name);
}

// Whether the open file fd keeps what it is given: two modes, and (as
// root) another owner and group.
void prüfe_rechte(Dateioperationen& ops, int fd, Zieleigenschaften& e) {
    const auto bleibt = [&](mode_t modus) {
        auto st =
            ops.setze_rechte(fd, modus) ? ops.status(fd) : Ergebnis<struct stat>::fehler(EPERM);
        return st && (st.wert().st_mode & 07777) == modus;
    };
    e.hält_rechte = bleibt(0640) && bleibt(0604);
    if (!e.hält_eigentümer) return;
    auto vorher = ops.status(fd);
    if (!e.hält_rechte || !vorher) {
        e.hält_eigentümer = false;
        return;
    }
    const uid_t benutzer = vorher.wert().st_uid == 1 ? 2 : 1;
    const gid_t gruppe = vorher.wert().st_gid == 1 ? 2 : 1;
    auto st = ops.setze_eigentümer(fd, benutzer, gruppe) ? ops.status(fd)
                                                         : Ergebnis<struct stat>::fehler(EPERM);
    e.hält_eigentümer = st && st.wert().st_uid == benutzer && st.wert().st_gid == gruppe;
}

// Whether the file name, moved into a new directory that is then renamed,
// is still in it. A step the medium refuses proves nothing: the run's own
// renames would fail as well, and say so.
bool verschiebt_verzeichnisse(Dateioperationen& ops, int verzeichnis, const std::string& name,
                              std::uint64_t& zufall) {
    const std::string alt = temporärer_name(temporäres_suffix(zufall));
    const std::string neu = temporärer_name(temporäres_suffix(zufall));
    if (!ops.erstelle_verzeichnis(verzeichnis, alt, S_IRWXU)) return true;
    bool hält = true;
    std::string ort = alt;
    if (ops.benenne_um(verzeichnis, name, verzeichnis, verbinde(alt, name))) {
        if (ops.benenne_um(verzeichnis, alt, verzeichnis, neu)) {
            ort = neu;
            hält = ops.status_ohne_folgen(verzeichnis, verbinde(neu, name)).ok();
        }
        (void)ops.entferne_datei(verzeichnis, verbinde(ort, name));
    }
    (void)ops.entferne_verzeichnis(verzeichnis, ort);
    return hält;
}

}  // namespace

Zieleigenschaften prüfe_ziel(Dateioperationen& ops, const std::string& zielbasis) {
    Zieleigenschaften e;
    e.hält_eigentümer = ::geteuid() == 0;
    auto basis = ops.öffne(AT_FDCWD, zielbasis, O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
    if (!basis) return e;
    const Dateigriff verzeichnis(ops, basis.wert());
    // The name of a temporary file: should the run be killed right here,
    // the next one removes it like any other leftover.
    std::uint64_t zufall = zufallsstart();
    std::string name;
    Dateigriff probe;
    for (int versuch = 0; versuch < 10 && !probe.offen(); ++versuch) {
        name = temporärer_name(temporäres_suffix(zufall));
        auto fd = ops.öffne(verzeichnis.fd(), name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                            S_IRUSR | S_IWUSR);
        if (fd)
            probe = Dateigriff(ops, fd.wert());
        else if (fd.fehlercode() != EEXIST)
            return e;
    }
    if (!probe.offen()) return e;
    prüfe_rechte(ops, probe.fd(), e);
    (void)probe.schließe();
    const timespec zeiten[2] = {{probezeit, 0}, {probezeit, 0}};
    (void)ops.setze_zeiten_von(verzeichnis.fd(), name, zeiten);
    std::string gross = name;
    std::transform(gross.begin(), gross.end(), gross.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
    auto st = ops.status_ohne_folgen(verzeichnis.fd(), gross);
    e.ignoriert_schreibweise = st.ok();
    if (!st) st = ops.status_ohne_folgen(verzeichnis.fd(), name);
    // Some drivers answer with the time they were given until the medium
    // is mounted again; a medium that ignores case is a FAT relative or
    // shares its limits often enough that it counts as limited anyway.
    e.zeiten_begrenzt =
        e.ignoriert_schreibweise ||
        (st && std::llabs(static_cast<long long>(st.wert().st_mtim.tv_sec) - probezeit) > 2);
    if (e.ignoriert_schreibweise)
        e.verschiebt_verzeichnisse = verschiebt_verzeichnisse(ops, verzeichnis.fd(), name, zufall);
    (void)ops.entferne_datei(verzeichnis.fd(), name);
    return e;
}

Ausgang ändere_schreibweise(Dateioperationen& ops, int fd, const std::string& alt,
                            const std::string& neu, bool ignoriert_schreibweise) {
    Ausgang s = ops.benenne_um(fd, alt, fd, neu);
    if (s || !ignoriert_schreibweise) return s;
    std::uint64_t zufall = zufallsstart();
    const std::string zwischen = temporärer_name(temporäres_suffix(zufall));
    if (s = ops.benenne_um(fd, alt, fd, zwischen); !s) return s;
    if (s = ops.benenne_um(fd, zwischen, fd, neu); !s) (void)ops.benenne_um(fd, zwischen, fd, alt);
    return s;
}

bool ist_namensablehnung(int code, std::string_view name) {
    switch (code) {
        case EINVAL:
        case EILSEQ:
        case ENAMETOOLONG:
        case ENOENT:
            return true;
        case EPERM:  // fusefat; otherwise an immutable file or a sticky directory
            return ist_heikel(name);
        default:
            return false;
    }
}

double datum_im_medium(double datum) {
    return std::clamp(datum, erster_tag, letzter_tag);
}

timespec zeit_im_medium(timespec zeit, std::int64_t utc_versatz) {
    const std::int64_t lokal = static_cast<std::int64_t>(zeit.tv_sec) + utc_versatz;
    const std::int64_t erste = (static_cast<std::int64_t>(erster_tag) - tage_bis_1970) * tag;
    const std::int64_t letzte = (static_cast<std::int64_t>(letzter_tag) - tage_bis_1970) * tag;
    if (lokal < erste) return {static_cast<time_t>(erste - utc_versatz), 0};
    if (lokal > letzte) return {static_cast<time_t>(letzte - utc_versatz), 0};
    return zeit;
}

}  // namespace tarvendo
