#include "engine/versionsordner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "support/pfad.h"

namespace tarvendo {

namespace {

constexpr int ordner_flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

}  // namespace

std::vector<std::string> verzeichniseinträge(int fd) {
    std::vector<std::string> namen;
    const int kopie = ::openat(fd, ".", ordner_flags);
    if (kopie < 0) return namen;
    DIR* dir = ::fdopendir(kopie);
    if (!dir) {
        ::close(kopie);
        return namen;
    }
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view n = e->d_name;
        if (n != "." && n != "..") namen.emplace_back(n);
    }
    ::closedir(dir);
    return namen;
}

std::string versionspfad(std::string_view zielbasis, std::string_view lauf) {
    std::string pfad = verbinde(zielbasis, reservierter_ordner);
    hänge_an(pfad, versionen_ordner);
    hänge_an(pfad, lauf);
    return pfad;
}

std::string versionsname(std::time_t zeit) {
    std::tm utc{};
    ::gmtime_r(&zeit, &utc);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H-%M-%SZ", &utc);
    return std::string(text, n);
}

std::optional<std::time_t> versionszeit(std::string_view name) {
    std::tm utc{};
    unsigned nummer = 0;
    int gelesen = 0;
    const std::string text(name);
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d-%2d-%2dZ%n", &utc.tm_year, &utc.tm_mon,
                    &utc.tm_mday, &utc.tm_hour, &utc.tm_min, &utc.tm_sec, &gelesen) != 6 ||
        gelesen != 20)
        return std::nullopt;
    if (text.size() != 20) {
        int rest = 0;
        if (std::sscanf(text.c_str() + 20, "-%2u%n", &nummer, &rest) != 1 ||
            static_cast<std::size_t>(20 + rest) != text.size())
            return std::nullopt;
    }
    utc.tm_year -= 1900;
    utc.tm_mon -= 1;
    const std::time_t zeit = ::timegm(&utc);
    if (versionsname(zeit) != text.substr(0, 20)) return std::nullopt;
    return zeit;
}

std::string versionszeit_text(std::string_view name) {
    const auto zeit = versionszeit(name);
    if (!zeit) return std::string(name);
    std::tm lokal{};
    ::localtime_r(&*zeit, &lokal);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &lokal);
    return std::string(text, n);
}

Ergebnis<int> öffne_stufe(Dateioperationen& ops, int fd, const std::string& name, bool erstellen) {
    if (erstellen) {
        const Ausgang s = ops.erstelle_verzeichnis(fd, name, 0700);
        if (!s && s.fehlercode() != EEXIST) return Ergebnis<int>::fehler(s.fehlercode());
    }
    return ops.öffne(fd, name, ordner_flags, 0);
}

Ergebnis<int> öffne_versionen(Dateioperationen& ops, int basis, bool erstellen) {
    int fd = basis;
    Dateigriff oben;
    for (const std::string_view stufe : {reservierter_ordner, versionen_ordner}) {
        auto neu = öffne_stufe(ops, fd, std::string(stufe), erstellen);
        if (!neu) return neu;
        oben = Dateigriff(ops, neu.wert());
        fd = oben.fd();
    }
    const int ergebnis = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (ergebnis < 0) return Ergebnis<int>::fehler(errno);
    return Ergebnis<int>::gut(ergebnis);
}

std::vector<std::string> versionsordner(int versionen) {
    std::vector<std::string> namen = verzeichniseinträge(versionen);
    std::erase_if(namen, [](const std::string& n) { return !versionszeit(n); });
    std::sort(namen.begin(), namen.end());
    return namen;
}

Ausgang entferne_baum(int fd, const std::string& name, dev_t gerät) {
    struct stat st {};
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return Ausgang::fehler(errno);
    if (st.st_dev != gerät) return Ausgang::fehler(EXDEV);
    if (!S_ISDIR(st.st_mode)) {
        if (::unlinkat(fd, name.c_str(), 0) != 0) return Ausgang::fehler(errno);
        return erfolg();
    }
    const int unter = ::openat(fd, name.c_str(), ordner_flags);
    if (unter < 0) return Ausgang::fehler(errno);
    // A read-only directory's entries can only go once it is writable.
    if ((st.st_mode & S_IRWXU) != S_IRWXU) (void)::fchmod(unter, (st.st_mode & 07777) | S_IRWXU);
    Ausgang ergebnis = erfolg();
    for (const std::string& e : verzeichniseinträge(unter))
        if (Ausgang s = entferne_baum(unter, e, gerät); !s && ergebnis) ergebnis = s;
    ::close(unter);
    if (!ergebnis) return ergebnis;
    if (::unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0) return Ausgang::fehler(errno);
    return erfolg();
}

std::int64_t belegung(int fd, const std::string& name) {
    struct stat st {};
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return 0;
    std::int64_t summe = static_cast<std::int64_t>(st.st_blocks) * 512;
    if (!S_ISDIR(st.st_mode)) return summe;
    const int unter = ::openat(fd, name.c_str(), ordner_flags);
    if (unter < 0) return summe;
    for (const std::string& e : verzeichniseinträge(unter)) summe += belegung(unter, e);
    ::close(unter);
    return summe;
}

std::optional<std::string> lies_datei(int verzeichnis, const std::string& name) {
    const int fd = ::openat(verzeichnis, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string inhalt;
    char puffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, puffer, sizeof puffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        inhalt.append(puffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return inhalt;
}

}  // namespace tarvendo
