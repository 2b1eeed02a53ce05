#pragma once
// Copies that replace a file with data must be on the drive before they are
// renamed over it, or a power cut just after the rename could leave neither
// the old file nor the new one. A flush per file would cost a journal commit
// each; instead such copies wait here, complete under their temporary names,
// until one syncfs per file system has written them all, and are then renamed
// in the order they were written. New files need no wait: nothing old is at
// stake, and the run's final flush covers them.
//
// A directory's attributes are set after the renames into it (a rename
// changes its time, and bits set early could take its write permission), so
// while copies wait, finished directories wait as well, in order.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/dateiklasse.h"
#include "engine/dateioperationen.h"
#include "engine/schnittstellen.h"
#include "engine/systemkopie.h"

namespace tarvendo {

// Gives the open directory ziel the attributes of the open directory quelle
// (status q): owner, bits, extended attributes and times. Failures are not
// reported, like those of any attribute of a directory. Without mit_zeiten
// its times stay as they are.
void schließe_verzeichnis_ab(Dateioperationen& ops, int ziel, int quelle, const struct stat& q,
                             bool als_root, bool mit_zeiten = true);

class Ersetzungsstapel {
public:
    // A waiting copy, with what a failure message about it needs.
    struct Eintrag {
        std::shared_ptr<Dateigriff> verzeichnis;  // the target directory, readable
        std::uint64_t gerät = 0;
        std::string zielname;
        Zwischenkopie kopie;
        const Dateiklasse* datei = nullptr;
        Erledigtbaum::Knoten knoten = Erledigtbaum::kein_knoten;
        std::string quellpfad;
    };
    using Fehlermelder = std::function<void(const Eintrag&, int code)>;

    // At most this many copies, bytes of copies and held directories wait.
    static constexpr std::size_t größte_anzahl = 1000;
    static constexpr std::int64_t größte_menge = std::int64_t{256} << 20;
    static constexpr std::size_t größte_verzeichnisse = 200;

    Ersetzungsstapel(Dateioperationen& ops, Systemkopie& systemkopie)
        : ops_(ops), systemkopie_(systemkopie) {}

    [[nodiscard]] bool leer() const noexcept { return einträge_.empty() && abschlüsse_.empty(); }
    // Time to flush: the next copy would make the wait too long.
    [[nodiscard]] bool voll() const noexcept;

    // Copies like Systemkopie::kopiere; a copy replacing a file with data
    // joins the batch instead of being renamed now (eintrag gives the target
    // directory's descriptor, device and message data; verzeichnis is the
    // directory's shared handle, made here when first needed).
    [[nodiscard]] Ausgang kopiere(int quellverzeichnis, int zielverzeichnis,
                                  std::shared_ptr<Dateigriff>& verzeichnis, Eintrag eintrag,
                                  Kopierbeobachter& beobachter, const std::int32_t& abbruchflag,
                                  bool ohne_vorrechte);

    // Holds the finish of a directory (both descriptors opened for reading)
    // until the copies before it are in place; at once when none wait.
    void schließe_ab(Dateigriff ziel, Dateigriff quelle, const struct stat& q, bool als_root,
                     bool mit_zeiten = true);

    // One syncfs per file system, then the renames and directory finishes
    // in order. A copy whose flush or rename failed is removed, its target
    // stays as it was, and melde hears of it.
    void leere(const Fehlermelder& melde);
    // A cancelled run: the waiting copies are removed, their targets stay;
    // the finished directories still get their attributes.
    void verwirf();

private:
    struct Abschluss {
        std::size_t nach;  // finished after this many copies of the batch
        Dateigriff ziel;
        Dateigriff quelle;
        struct stat q {};
        bool als_root = false;
        bool mit_zeiten = true;
    };

    Dateioperationen& ops_;
    Systemkopie& systemkopie_;
    std::vector<Eintrag> einträge_;
    std::vector<Abschluss> abschlüsse_;
    std::int64_t menge_ = 0;
    std::size_t verzeichnisse_ = 0;
};

}  // namespace tarvendo
