#pragma once
// The file-system calls that task execution makes, behind one seam so that a
// test can make any single call fail. Each wrapper is one system call; a
// failure comes back as its errno value, never as an exception.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "engine/ergebnis.h"

namespace tarvendo {

class Dateioperationen {
public:
    virtual ~Dateioperationen() = default;

    // openat(2); returns the new descriptor.
    virtual Ergebnis<int> öffne(int verzeichnis, const std::string& name, int flags,
                                mode_t modus) = 0;
    virtual Ausgang schließe(int fd) = 0;
    // fstat(2)
    virtual Ergebnis<struct stat> status(int fd) = 0;
    // fstatat(2) with AT_SYMLINK_NOFOLLOW: a link is reported as itself.
    virtual Ergebnis<struct stat> status_ohne_folgen(int verzeichnis, const std::string& name) = 0;
    // ioctl(2) FICLONE: shares the source's extents with the target.
    virtual Ausgang klone(int ziel, int quelle) = 0;
    // copy_file_range(2) between explicit offsets, which it advances.
    virtual Ergebnis<std::size_t> kopiere_bereich(int quelle, std::int64_t& quellposition, int ziel,
                                                  std::int64_t& zielposition,
                                                  std::size_t länge) = 0;
    virtual Ergebnis<std::size_t> lies(int fd, void* puffer, std::size_t länge) = 0;
    virtual Ergebnis<std::size_t> schreibe(int fd, const void* daten, std::size_t länge) = 0;
    // fchmod(2)
    virtual Ausgang setze_rechte(int fd, mode_t modus) = 0;
    // fchown(2): owner and group.
    virtual Ausgang setze_eigentümer(int fd, uid_t benutzer, gid_t gruppe) = 0;
    // fchmodat(2) with AT_SYMLINK_NOFOLLOW: never changes what a link points to.
    virtual Ausgang setze_rechte_von(int verzeichnis, const std::string& name, mode_t modus) = 0;
    // futimens(2): access and modification time.
    virtual Ausgang setze_zeiten(int fd, const timespec zeiten[2]) = 0;
    // utimensat(2) with AT_SYMLINK_NOFOLLOW: never changes what a link points to.
    virtual Ausgang setze_zeiten_von(int verzeichnis, const std::string& name,
                                     const timespec zeiten[2]) = 0;
    // renameat(2): replaces an existing target atomically.
    virtual Ausgang benenne_um(int verzeichnis_alt, const std::string& alt, int verzeichnis_neu,
                               const std::string& neu) = 0;
    // unlinkat(2) without flags: removes a file or a link, never what it points to.
    virtual Ausgang entferne_datei(int verzeichnis, const std::string& name) = 0;
    // unlinkat(2) with AT_REMOVEDIR.
    virtual Ausgang entferne_verzeichnis(int verzeichnis, const std::string& name) = 0;
    // mkdirat(2)
    virtual Ausgang erstelle_verzeichnis(int verzeichnis, const std::string& name,
                                         mode_t modus) = 0;
    // syncfs(2): flushes the whole file system that holds fd.
    virtual Ausgang synchronisiere(int fd) = 0;
    // flock(2) LOCK_EX | LOCK_NB: EWOULDBLOCK while another holds it.
    virtual Ausgang sperre_exklusiv(int fd) = 0;
    // lseek(2); with SEEK_DATA and SEEK_HOLE it finds the data of a sparse file.
    virtual Ergebnis<std::int64_t> suche(int fd, std::int64_t position, int woher) = 0;
    // ftruncate(2)
    virtual Ausgang kürze(int fd, std::int64_t länge) = 0;
    // flistxattr(2): the names, each ended by a zero byte; größe 0 asks for the size.
    virtual Ergebnis<std::size_t> attributnamen(int fd, char* puffer, std::size_t größe) = 0;
    // fgetxattr(2); größe 0 asks for the size.
    virtual Ergebnis<std::size_t> lies_attribut(int fd, const std::string& name, void* puffer,
                                                std::size_t größe) = 0;
    // fsetxattr(2) without flags.
    virtual Ausgang setze_attribut(int fd, const std::string& name, const void* wert,
                                   std::size_t größe) = 0;
};

// The real calls.
class PosixDateioperationen final : public Dateioperationen {
public:
    Ergebnis<int> öffne(int verzeichnis, const std::string& name, int flags, mode_t modus) override;
    Ausgang schließe(int fd) override;
    Ergebnis<struct stat> status(int fd) override;
    Ergebnis<struct stat> status_ohne_folgen(int verzeichnis, const std::string& name) override;
    Ausgang klone(int ziel, int quelle) override;
    Ergebnis<std::size_t> kopiere_bereich(int quelle, std::int64_t& quellposition, int ziel,
                                          std::int64_t& zielposition, std::size_t länge) override;
    Ergebnis<std::size_t> lies(int fd, void* puffer, std::size_t länge) override;
    Ergebnis<std::size_t> schreibe(int fd, const void* daten, std::size_t länge) override;
    Ausgang setze_rechte(int fd, mode_t modus) override;
    Ausgang setze_eigentümer(int fd, uid_t benutzer, gid_t gruppe) override;
    Ausgang setze_rechte_von(int verzeichnis, const std::string& name, mode_t modus) override;
    Ausgang setze_zeiten(int fd, const timespec zeiten[2]) override;
    Ausgang setze_zeiten_von(int verzeichnis, const std::string& name,
                             const timespec zeiten[2]) override;
    Ausgang benenne_um(int verzeichnis_alt, const std::string& alt, int verzeichnis_neu,
                       const std::string& neu) override;
    Ausgang entferne_datei(int verzeichnis, const std::string& name) override;
    Ausgang entferne_verzeichnis(int verzeichnis, const std::string& name) override;
    Ausgang erstelle_verzeichnis(int verzeichnis, const std::string& name, mode_t modus) override;
    Ausgang synchronisiere(int fd) override;
    Ausgang sperre_exklusiv(int fd) override;
    Ergebnis<std::int64_t> suche(int fd, std::int64_t position, int woher) override;
    Ausgang kürze(int fd, std::int64_t länge) override;
    Ergebnis<std::size_t> attributnamen(int fd, char* puffer, std::size_t größe) override;
    Ergebnis<std::size_t> lies_attribut(int fd, const std::string& name, void* puffer,
                                        std::size_t größe) override;
    Ausgang setze_attribut(int fd, const std::string& name, const void* wert,
                           std::size_t größe) override;
};

// Owns a descriptor obtained through a Dateioperationen and closes it there.
class Dateigriff {
public:
    Dateigriff() = default;
    Dateigriff(Dateioperationen& ops, int fd) : ops_(&ops), fd_(fd) {}
    Dateigriff(Dateigriff&& o) noexcept : ops_(o.ops_), fd_(o.fd_) { o.fd_ = -1; }
    Dateigriff& operator=(Dateigriff&& o) noexcept {
        if (this != &o) {
            (void)schließe();
            ops_ = o.ops_;
            fd_ = o.fd_;
            o.fd_ = -1;
        }
        return *this;
    }
    Dateigriff(const Dateigriff&) = delete;
    Dateigriff& operator=(const Dateigriff&) = delete;
    ~Dateigriff() { (void)schließe(); }

    [[nodiscard]] int fd() const noexcept { return fd_; }
    [[nodiscard]] bool offen() const noexcept { return fd_ >= 0; }
    // Closes now, so that a late write error (reported by close) is seen.
    Ausgang schließe() {
        if (fd_ < 0) return erfolg();
        const int fd = fd_;
        fd_ = -1;
        return ops_->schließe(fd);
    }

private:
    Dateioperationen* ops_ = nullptr;
    int fd_ = -1;
};

}  // namespace tarvendo
