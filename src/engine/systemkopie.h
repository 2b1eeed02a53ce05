#pragma once
// The fail-safe copy of one file: written beside the target under a hidden
// temporary name and renamed over the target only when it is complete.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"

namespace tarvendo {

// Receives the progress of a copy.
class Kopierbeobachter {
public:
    virtual ~Kopierbeobachter() = default;
    // The size of the source and the bytes copied so far; may yield to the
    // host, which may then raise the cancel flag of the copy.
    virtual void kopierfortschritt(std::int64_t dateigröße, std::int64_t übertragen) = 0;
};

// Copies length bytes from offset 0 of quelle to offset 0 of ziel in blocks
// of 4096 bytes, with progress at every full MiB, where a nonzero
// abbruchflag stops it with ECANCELED. Ends early, without error, when the
// source turns out shorter. Returns the errno of the failing read or write.
[[nodiscard]] Ausgang kopiere_blockweise(Dateioperationen& ops, int quelle, int ziel,
                                         std::int64_t länge, Kopierbeobachter& beobachter,
                                         const std::int32_t& abbruchflag);

// The error code of a copy whose source changed while it was read. It is no
// errno value, so that no system text can stand for it.
inline constexpr int quelle_verändert = -2;

// Gives the open file or directory fd quelle's owner and group (as root)
// and permission bits, setuid only where the owner, setgid only where the
// group is quelle's as well. A medium that refuses them (FAT, some FUSE and
// network file systems) is no failure; any other error is returned.
[[nodiscard]] Ausgang übernimm_rechte(Dateioperationen& ops, int fd, const struct stat& quelle,
                                      bool als_root);

// The hidden name a copy of zielname is written under first: a dot, the name
// (cut so that the whole stays within 255 bytes), ".tarvendo-" and suffix.
[[nodiscard]] std::string temporärer_name(const std::string& zielname, const std::string& suffix);

class Systemkopie {
public:
    explicit Systemkopie(Dateioperationen& ops);

    // Copies the file quellname in the directory quellverzeichnis to zielname
    // in zielverzeichnis (both open directory descriptors), replacing an
    // existing target. The copy gets the source's owner and bits as far as
    // the medium takes them (übernimm_rechte), and its access and
    // modification times, which a medium may refuse as well. On failure, on
    // cancel (a nonzero abbruchflag, tested after every chunk: ECANCELED)
    // and when the source's size or modification time changed during the
    // copy (quelle_verändert) the temporary file is removed and an existing
    // target is left as it was. Returns the errno of the failing step.
    [[nodiscard]] Ausgang kopiere(int quellverzeichnis, const std::string& quellname,
                                  int zielverzeichnis, const std::string& zielname,
                                  Kopierbeobachter& beobachter, const std::int32_t& abbruchflag);

    // Whether copies get the source's owner: only root can give them one.
    [[nodiscard]] bool als_root() const noexcept { return als_root_; }

    static constexpr std::size_t kleinstes_stück = std::size_t{1} << 20;
    static constexpr std::size_t größtes_stück = std::size_t{16} << 20;

private:
    Ergebnis<int> erstelle_temporär(int zielverzeichnis, const std::string& zielname,
                                    std::string& name);
    Ausgang übertrage(int quelle, int ziel, std::int64_t größe, Kopierbeobachter& beobachter,
                     const std::int32_t& abbruchflag);
    std::string nächstes_suffix();

    Dateioperationen& ops_;
    std::uint64_t zufall_;
    bool als_root_;
};

}  // namespace tarvendo
