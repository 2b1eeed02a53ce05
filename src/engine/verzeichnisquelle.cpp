#include "engine/verzeichnisquelle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "engine/pseudodateisystem.h"
#include "engine/statgehilfen.h"

namespace tarvendo {

namespace {

Eintragsart art_von(unsigned char d_type) {
    switch (d_type) {
        case DT_DIR:
            return Eintragsart::verzeichnis;
        case DT_REG:
            return Eintragsart::datei;
        case DT_LNK:
            return Eintragsart::link;
        case DT_UNKNOWN:
            return Eintragsart::unbekannt;
        default:  // devices, pipes, sockets: the stat tells them apart
            return Eintragsart::unbekannt;
    }
}

class PosixListe final : public Verzeichnisliste {
public:
    PosixListe(DIR* dir, const struct stat& st, Statgehilfen& gehilfen)
        : dir_(dir),
          kennung_{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
          rechte_{static_cast<std::uint32_t>(st.st_mode & 07777), st.st_uid, st.st_gid},
          gehilfen_(gehilfen) {}
    ~PosixListe() override { ::closedir(dir_); }
    PosixListe(const PosixListe&) = delete;
    PosixListe& operator=(const PosixListe&) = delete;

    // Takes over fd: closes it on failure as well.
    static Ergebnis<std::unique_ptr<Verzeichnisliste>> aus_deskriptor(int fd,
                                                                      Statgehilfen& gehilfen) {
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            const int fehler = errno;
            ::close(fd);
            return Ergebnis<std::unique_ptr<Verzeichnisliste>>::fehler(fehler);
        }
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            const int fehler = errno;
            ::close(fd);
            return Ergebnis<std::unique_ptr<Verzeichnisliste>>::fehler(fehler);
        }
        return Ergebnis<std::unique_ptr<Verzeichnisliste>>::gut(
            std::make_unique<PosixListe>(dir, st, gehilfen));
    }

    Verzeichniskennung kennung() const override { return kennung_; }
    Rechte rechte() const override { return rechte_; }
    bool pseudodateisystem() const override { return ist_pseudodateisystem(::dirfd(dir_)); }

    Ergebnis<Listeneintrag> nächster() override {
        errno = 0;  // readdir leaves errno alone at the end of the listing
        const dirent* eintrag = ::readdir(dir_);
        if (!eintrag) {
            if (errno != 0) return Ergebnis<Listeneintrag>::fehler(errno);
            return Ergebnis<Listeneintrag>::gut({});
        }
        return Ergebnis<Listeneintrag>::gut({eintrag->d_name, art_von(eintrag->d_type)});
    }

    Ergebnis<Eintragsdaten> daten(const char* name, bool folgen) override {
        Datenabfrage abfrage{name, {}, 0};
        stat_abfrage(::dirfd(dir_), abfrage, folgen ? 0 : AT_SYMLINK_NOFOLLOW);
        if (abfrage.fehler != 0) return Ergebnis<Eintragsdaten>::fehler(abfrage.fehler);
        return Ergebnis<Eintragsdaten>::gut(abfrage.daten);
    }

    Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(const char* name, bool folgen) override {
        const int fd = ::openat(::dirfd(dir_), name,
                                O_RDONLY | O_DIRECTORY | O_CLOEXEC | (folgen ? 0 : O_NOFOLLOW));
        if (fd < 0) return Ergebnis<std::unique_ptr<Verzeichnisliste>>::fehler(errno);
        return aus_deskriptor(fd, gehilfen_);
    }

    void daten_mehrere(std::span<Datenabfrage> abfragen, bool folgen) override {
        gehilfen_.führe_aus(::dirfd(dir_), abfragen, folgen ? 0 : AT_SYMLINK_NOFOLLOW);
    }

private:
    DIR* dir_;
    Verzeichniskennung kennung_;
    Rechte rechte_;
    Statgehilfen& gehilfen_;
};

unsigned weitere_prozessoren() {
    const unsigned alle = std::max(1u, std::thread::hardware_concurrency());
    return std::min(alle - 1, 3u);
}

}  // namespace

void Verzeichnisliste::daten_mehrere(std::span<Datenabfrage> abfragen, bool folgen) {
    for (Datenabfrage& a : abfragen) {
        const Ergebnis<Eintragsdaten> d = daten(a.name, folgen);
        a.fehler = d.fehlercode();
        if (d) a.daten = d.wert();
    }
}

PosixVerzeichnisquelle::PosixVerzeichnisquelle() : PosixVerzeichnisquelle(weitere_prozessoren()) {}

PosixVerzeichnisquelle::PosixVerzeichnisquelle(unsigned gehilfen)
    : gehilfen_(std::make_unique<Statgehilfen>(gehilfen)) {}

PosixVerzeichnisquelle::~PosixVerzeichnisquelle() = default;

Ergebnis<std::unique_ptr<Verzeichnisliste>> PosixVerzeichnisquelle::öffne(const std::string& pfad) {
    const int fd = ::openat(AT_FDCWD, pfad.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Ergebnis<std::unique_ptr<Verzeichnisliste>>::fehler(errno);
    return PosixListe::aus_deskriptor(fd, *gehilfen_);
}

}  // namespace tarvendo
