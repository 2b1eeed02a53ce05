#include "engine/attributkopie.h"

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

namespace tarvendo {

namespace {

constexpr std::string_view fähigkeit = "security.capability";

// No attributes here, or not this one: FAT, some FUSE and network media.
bool abgelehnt(int code) {
    return code == ENOTSUP || code == EOPNOTSUPP || code == EPERM || code == EACCES ||
           code == EINVAL || code == ENOSYS || code == E2BIG || code == ENODATA;
}

bool übernehmen(std::string_view name, bool als_root) {
    if (name.starts_with("user.") || name == "system.posix_acl_access" ||
        name == "system.posix_acl_default")
        return true;
    return als_root && (name.starts_with("security.") || name.starts_with("trusted."));
}

// Reads a list or a value whose size may change between asking and reading.
template <class Lesen>
Ergebnis<std::vector<char>> lies_ganz(Lesen lesen) {
    for (int versuch = 0; versuch < 4; ++versuch) {
        auto größe = lesen(nullptr, 0);
        if (!größe) return Ergebnis<std::vector<char>>::fehler(größe.fehlercode());
        std::vector<char> puffer(größe.wert());
        if (puffer.empty()) return Ergebnis<std::vector<char>>::gut(std::move(puffer));
        auto n = lesen(puffer.data(), puffer.size());
        if (n) {
            puffer.resize(n.wert());
            return Ergebnis<std::vector<char>>::gut(std::move(puffer));
        }
        if (n.fehlercode() != ERANGE) return Ergebnis<std::vector<char>>::fehler(n.fehlercode());
    }
    return Ergebnis<std::vector<char>>::fehler(ERANGE);
}

}  // namespace

Ausgang übernimm_attribute(Dateioperationen& ops, int quelle, int ziel,
                           const struct stat& quellstatus, bool als_root, bool ohne_vorrechte) {
    auto namen = lies_ganz([&](char* p, std::size_t n) { return ops.attributnamen(quelle, p, n); });
    if (!namen)
        return abgelehnt(namen.fehlercode()) ? erfolg() : Ausgang::fehler(namen.fehlercode());
    const std::vector<char>& liste = namen.wert();
    for (std::size_t i = 0; i < liste.size();) {
        const std::string name(liste.data() + i);
        i += name.size() + 1;
        if (!übernehmen(name, als_root)) continue;
        if (name == fähigkeit) {
            if (ohne_vorrechte) continue;
            auto st = ops.status(ziel);
            if (!st) return Ausgang::fehler(st.fehlercode());
            if (st.wert().st_uid != quellstatus.st_uid) continue;
        }
        auto wert = lies_ganz(
            [&](char* p, std::size_t n) { return ops.lies_attribut(quelle, name, p, n); });
        if (!wert) {
            if (abgelehnt(wert.fehlercode())) continue;
            return Ausgang::fehler(wert.fehlercode());
        }
        const Ausgang s = ops.setze_attribut(ziel, name, wert.wert().data(), wert.wert().size());
        if (!s && !abgelehnt(s.fehlercode())) return s;
    }
    return erfolg();
}

}  // namespace tarvendo
