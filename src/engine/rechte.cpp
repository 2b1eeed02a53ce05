#include "engine/rechte.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>

#include "engine/systemkopie.h"

namespace tarvendo {

namespace {

constexpr std::uint32_t sonderbits = S_ISUID | S_ISGID;

std::uint32_t ohne_verknüpfte(const Rechte& quelle, bool über_verknüpfung) {
    return über_verknüpfung ? quelle.modus & ~sonderbits : quelle.modus;
}

}  // namespace

bool rechte_weichen_ab(const Rechte& quelle, const Rechte& ziel, const Rechtepflege& pflege,
                       bool über_verknüpfung) {
    if (!pflege.bits) return false;
    std::uint32_t modus = ohne_verknüpfte(quelle, über_verknüpfung) & 07777;
    if (pflege.eigentümer) {
        if (ziel.benutzer != quelle.benutzer || ziel.gruppe != quelle.gruppe) return true;
    } else {
        if (ziel.benutzer != quelle.benutzer) modus &= ~std::uint32_t{S_ISUID};
        if (ziel.gruppe != quelle.gruppe) modus &= ~std::uint32_t{S_ISGID};
    }
    return (ziel.modus & 07777) != modus;
}

Ausgang gleiche_rechte_an(Dateioperationen& ops, int verzeichnis, const std::string& name,
                          const Rechte& quelle, bool als_root, bool über_verknüpfung) {
    auto st = ops.status_ohne_folgen(verzeichnis, name);
    if (!st) return Ausgang::fehler(st.fehlercode());
    if (!S_ISREG(st.wert().st_mode)) return erfolg();
    struct stat q {};
    q.st_mode = S_IFREG | ohne_verknüpfte(quelle, über_verknüpfung);
    q.st_uid = quelle.benutzer;
    q.st_gid = quelle.gruppe;
    if (!als_root) {
        // No owner changes hands: setuid and setgid stay only where it matches.
        mode_t modus = q.st_mode & 07777;
        if (st.wert().st_uid != q.st_uid) modus &= ~mode_t{S_ISUID};
        if (st.wert().st_gid != q.st_gid) modus &= ~mode_t{S_ISGID};
        return ops.setze_rechte_von(verzeichnis, name, modus);
    }
    // Owner first, then the bits, as for a copy: that needs the file open.
    auto fd =
        ops.öffne(verzeichnis, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (!fd) return Ausgang::fehler(fd.fehlercode());
    Dateigriff datei(ops, fd.wert());
    return übernimm_rechte(ops, datei.fd(), q, true);
}

}  // namespace tarvendo
