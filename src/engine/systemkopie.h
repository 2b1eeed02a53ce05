#pragma once
// The fail-safe copy of one file: written beside the target under a hidden
// temporary name and renamed over the target only when it is complete.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"
#include "engine/versionsablage.h"

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

// The hidden name a copy is written under first: ".tarvendo-" and a suffix
// of lower-case letters and digits. Short and of fixed length, so that every
// name the target can hold can be copied, and recognisable, so that what a
// killed run left behind is found and removed by the next one.
[[nodiscard]] std::string temporärer_name(const std::string& suffix);
inline constexpr std::size_t temporäre_suffixlänge = 12;
[[nodiscard]] bool ist_temporärer_name(std::string_view name);
// A seed for temporäres_suffix, different for every process and call.
[[nodiscard]] std::uint64_t zufallsstart();
// The next suffix of the sequence that zufall holds.
[[nodiscard]] std::string temporäres_suffix(std::uint64_t& zufall);

// A copy written in full under its temporary name, not yet in place.
struct Zwischenkopie {
    std::string temp_name;
    timespec zeiten[2]{};  // the source's access and modification time
    std::int64_t größe = 0;
    // An existing file with data is replaced: its copy must be on the drive
    // before the rename, or a power cut could leave neither.
    bool ersetzt_daten = false;
    // The target's path below the base ("/a/name"), for its version; empty: none.
    std::string relativ;
};

class Systemkopie {
public:
    explicit Systemkopie(Dateioperationen& ops);

    // Copies the file quellname in the directory quellverzeichnis to zielname
    // in zielverzeichnis (both open directory descriptors), replacing an
    // existing target. The copy gets the source's owner and bits as far as
    // the medium takes them (übernimm_rechte), its extended attributes
    // (übernimm_attribute), holes where the source has them, and its access
    // and modification times, which a medium may refuse as well. With
    // ohne_vorrechte (a file reached through a link) it gets no setuid,
    // setgid or file capability. On failure, on cancel (a nonzero
    // abbruchflag, tested after every chunk: ECANCELED) and when the
    // source's size or modification time changed during the copy
    // (quelle_verändert) the temporary file is removed and an existing
    // target is left as it was. Returns the errno of the failing step, or
    // name_abgelehnt when the medium cannot hold zielname.
    [[nodiscard]] Ausgang kopiere(int quellverzeichnis, const std::string& quellname,
                                  int zielverzeichnis, const std::string& zielname,
                                  Kopierbeobachter& beobachter, const std::int32_t& abbruchflag,
                                  bool ohne_vorrechte = false);

    // kopiere in two steps: schreibe writes the complete temporary file and
    // leaves it beside the target (removed again on failure); setze_ein
    // renames it over zielname (removing it on failure) and sets its times.
    // With a Versionsablage (setze_ablage) and the copy's path below the
    // target base in kopie.relativ, setze_ein first moves the entry it
    // replaces into the version folder and records the copy; a failed move
    // fails the copy and leaves the old entry in place.
    [[nodiscard]] Ausgang schreibe(int quellverzeichnis, const std::string& quellname,
                                   int zielverzeichnis, const std::string& zielname,
                                   Kopierbeobachter& beobachter, const std::int32_t& abbruchflag,
                                   bool ohne_vorrechte, Zwischenkopie& kopie);
    [[nodiscard]] Ausgang setze_ein(int zielverzeichnis, const std::string& zielname,
                                    const Zwischenkopie& kopie);

    void setze_ablage(Versionsablage* ablage) noexcept { ablage_ = ablage; }

    // A target whose medium keeps no times before 1980 or after 2107 gets
    // them moved into that range (zeit_im_medium with this offset from UTC),
    // so that the comparison can tell them apart from a wrapped-around one.
    void begrenze_zeiten(std::int64_t utc_versatz) {
        zeiten_begrenzt_ = true;
        utc_versatz_ = utc_versatz;
    }

    // Whether copies get the source's owner: only root can give them one.
    [[nodiscard]] bool als_root() const noexcept { return als_root_; }

    static constexpr std::size_t kleinstes_stück = std::size_t{1} << 20;
    static constexpr std::size_t größtes_stück = std::size_t{16} << 20;

private:
    Ergebnis<int> erstelle_temporär(int zielverzeichnis, std::string& name);
    Ausgang übertrage(int quelle, int ziel, const struct stat& st, Kopierbeobachter& beobachter,
                      const std::int32_t& abbruchflag);
    Ausgang übertrage_bereich(int quelle, int ziel, std::int64_t beginn, std::int64_t ende,
                              std::int64_t größe, Kopierbeobachter& beobachter,
                              const std::int32_t& abbruchflag);
    Ausgang übertrage_lückenhaft(int quelle, int ziel, std::int64_t größe,
                                 Kopierbeobachter& beobachter, const std::int32_t& abbruchflag);
    // Moves the entry zielname away into the versions before a copy replaces it.
    Ausgang lege_ersetztes_ab(int zielverzeichnis, const std::string& zielname,
                              std::string_view relativ, bool& abgelegt);

    Dateioperationen& ops_;
    Versionsablage* ablage_ = nullptr;
    std::uint64_t zufall_;
    bool als_root_;
    bool zeiten_begrenzt_ = false;
    std::int64_t utc_versatz_ = 0;
};

}  // namespace tarvendo
