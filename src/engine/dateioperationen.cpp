#include "engine/dateioperationen.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

namespace tarvendo {

namespace {

Ausgang status_von(int rückgabe) {
    return rückgabe == 0 ? erfolg() : Ausgang::fehler(errno);
}

}  // namespace

Ergebnis<int> PosixDateioperationen::öffne(int verzeichnis, const std::string& name, int flags,
                                           mode_t modus) {
    int fd;
    do fd = ::openat(verzeichnis, name.c_str(), flags, modus);
    while (fd < 0 && errno == EINTR);
    return fd >= 0 ? Ergebnis<int>::gut(fd) : Ergebnis<int>::fehler(errno);
}

Ausgang PosixDateioperationen::schließe(int fd) {
    // Linux releases the descriptor even when close reports EINTR: never retry.
    return status_von(::close(fd));
}

Ergebnis<struct stat> PosixDateioperationen::status(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Ergebnis<struct stat>::fehler(errno);
    return Ergebnis<struct stat>::gut(st);
}

Ergebnis<struct stat> PosixDateioperationen::status_ohne_folgen(int verzeichnis,
                                                                const std::string& name) {
    struct stat st {};
    if (::fstatat(verzeichnis, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Ergebnis<struct stat>::fehler(errno);
    return Ergebnis<struct stat>::gut(st);
}

Ausgang PosixDateioperationen::klone(int ziel, int quelle) {
    return status_von(::ioctl(ziel, FICLONE, quelle));
}

Ergebnis<std::size_t> PosixDateioperationen::kopiere_bereich(int quelle,
                                                             std::int64_t& quellposition, int ziel,
                                                             std::int64_t& zielposition,
                                                             std::size_t länge) {
    off_t qpos = quellposition, zpos = zielposition;
    ssize_t n;
    do n = ::copy_file_range(quelle, &qpos, ziel, &zpos, länge, 0);
    while (n < 0 && errno == EINTR);
    if (n < 0) return Ergebnis<std::size_t>::fehler(errno);
    quellposition = qpos;
    zielposition = zpos;
    return Ergebnis<std::size_t>::gut(static_cast<std::size_t>(n));
}

Ergebnis<std::size_t> PosixDateioperationen::lies(int fd, void* puffer, std::size_t länge) {
    ssize_t n;
    do n = ::read(fd, puffer, länge);
    while (n < 0 && errno == EINTR);
    if (n < 0) return Ergebnis<std::size_t>::fehler(errno);
    return Ergebnis<std::size_t>::gut(static_cast<std::size_t>(n));
}

Ergebnis<std::size_t> PosixDateioperationen::schreibe(int fd, const void* daten,
                                                      std::size_t länge) {
    ssize_t n;
    do n = ::write(fd, daten, länge);
    while (n < 0 && errno == EINTR);
    if (n < 0) return Ergebnis<std::size_t>::fehler(errno);
    return Ergebnis<std::size_t>::gut(static_cast<std::size_t>(n));
}

Ausgang PosixDateioperationen::setze_rechte(int fd, mode_t modus) {
    return status_von(::fchmod(fd, modus));
}

Ausgang PosixDateioperationen::setze_eigentümer(int fd, uid_t benutzer, gid_t gruppe) {
    return status_von(::fchown(fd, benutzer, gruppe));
}

Ausgang PosixDateioperationen::setze_rechte_von(int verzeichnis, const std::string& name,
                                                mode_t modus) {
    return status_von(::fchmodat(verzeichnis, name.c_str(), modus, AT_SYMLINK_NOFOLLOW));
}

Ausgang PosixDateioperationen::setze_zeiten(int fd, const timespec zeiten[2]) {
    return status_von(::futimens(fd, zeiten));
}

Ausgang PosixDateioperationen::setze_zeiten_von(int verzeichnis, const std::string& name,
                                                const timespec zeiten[2]) {
    return status_von(::utimensat(verzeichnis, name.c_str(), zeiten, AT_SYMLINK_NOFOLLOW));
}

Ausgang PosixDateioperationen::benenne_um(int verzeichnis_alt, const std::string& alt,
                                          int verzeichnis_neu, const std::string& neu) {
    return status_von(::renameat(verzeichnis_alt, alt.c_str(), verzeichnis_neu, neu.c_str()));
}

Ausgang PosixDateioperationen::entferne_datei(int verzeichnis, const std::string& name) {
    return status_von(::unlinkat(verzeichnis, name.c_str(), 0));
}

Ausgang PosixDateioperationen::entferne_verzeichnis(int verzeichnis, const std::string& name) {
    return status_von(::unlinkat(verzeichnis, name.c_str(), AT_REMOVEDIR));
}

Ausgang PosixDateioperationen::erstelle_verzeichnis(int verzeichnis, const std::string& name,
                                                    mode_t modus) {
    return status_von(::mkdirat(verzeichnis, name.c_str(), modus));
}

Ausgang PosixDateioperationen::synchronisiere(int fd) {
    return status_von(::syncfs(fd));
}

Ausgang PosixDateioperationen::sperre_exklusiv(int fd) {
    int r;
    do r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    return status_von(r);
}

Ergebnis<std::int64_t> PosixDateioperationen::suche(int fd, std::int64_t position, int woher) {
    const off_t r = ::lseek(fd, position, woher);
    return r >= 0 ? Ergebnis<std::int64_t>::gut(r) : Ergebnis<std::int64_t>::fehler(errno);
}

Ausgang PosixDateioperationen::kürze(int fd, std::int64_t länge) {
    int r;
    do r = ::ftruncate(fd, länge);
    while (r != 0 && errno == EINTR);
    return status_von(r);
}

namespace {

Ergebnis<std::size_t> größe_von(ssize_t n) {
    if (n < 0) return Ergebnis<std::size_t>::fehler(errno);
    return Ergebnis<std::size_t>::gut(static_cast<std::size_t>(n));
}

}  // namespace

Ergebnis<std::size_t> PosixDateioperationen::attributnamen(int fd, char* puffer,
                                                           std::size_t größe) {
    return größe_von(::flistxattr(fd, puffer, größe));
}

Ergebnis<std::size_t> PosixDateioperationen::lies_attribut(int fd, const std::string& name,
                                                           void* puffer, std::size_t größe) {
    return größe_von(::fgetxattr(fd, name.c_str(), puffer, größe));
}

Ausgang PosixDateioperationen::setze_attribut(int fd, const std::string& name, const void* wert,
                                              std::size_t größe) {
    return status_von(::fsetxattr(fd, name.c_str(), wert, größe, 0));
}

}  // namespace tarvendo
