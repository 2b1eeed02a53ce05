#pragma once
// What a run deletes or replaces in the target is not lost: it is moved,
// by one rename on the same file system and never by copying, into the
// run's version folder below the target base, and the run's record names
// it, so that the run can be taken back. The folder and the record come
// into being with the run's first change; expired folders of earlier runs
// go when the run starts.

#include <sys/stat.h>

#include <ctime>
#include <string>
#include <string_view>

#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"
#include "engine/laufprotokoll.h"

namespace tarvendo {

class Versionsablage {
public:
    // tage: how long versions are kept; 0 makes none (a pure mirror).
    Versionsablage(Dateioperationen& ops, std::string zielbasis, int tage, std::time_t jetzt);
    Versionsablage(const Versionsablage&) = delete;
    Versionsablage& operator=(const Versionsablage&) = delete;

    // At the run's start: opens (makes) .tarvendo/versionen and drops the
    // version folders older than the days to keep (all of them with 0).
    // Afterwards aktiv() tells whether this run keeps versions.
    void bereite_vor();
    [[nodiscard]] bool aktiv() const noexcept { return versionen_.offen(); }
    // Why a run that should keep versions cannot; empty otherwise. Said once.
    [[nodiscard]] const std::string& hinweis() const noexcept { return hinweis_; }

    // Moves the entry name of the target directory verzeichnis (relativ:
    // its path below the base, "/a/b") into the version folder, the record
    // line (art gelöscht or ersetzt) written first. On failure the entry
    // stays where it is and the errno comes back.
    [[nodiscard]] Ausgang lege_ab(int verzeichnis, const std::string& name,
                                  std::string_view relativ, Protokollart art);
    // Puts an entry that lege_ab took back in its place, when what it made
    // way for failed.
    void hole_zurück(int verzeichnis, const std::string& name, std::string_view relativ);
    // Records a file the run put in place (with its size and time as they
    // are now), a directory it made, or changed attributes. Best effort:
    // a record that cannot be written loses no data. A file that replaced
    // nothing is recorded through a buffer (see leere_puffer): after a kill
    // its line may be missing, and taking the run back then leaves it in
    // place; a replacing file's line is written at once.
    void vermerke_erstellt(int verzeichnis, const std::string& name, std::string_view relativ,
                           bool ersetzt);
    // Writes the buffered lines; before the run's final flush and before
    // any line written at once, so the record keeps the run's order.
    void leere_puffer();
    void vermerke(Protokollart art, std::string_view relativ, std::string_view neu = {});
    // Records an entry's permission bits before they change, with owner
    // and group where the run may change those too (as root).
    void vermerke_rechte(const struct stat& vorher, std::string_view relativ, bool mit_eigentümer);

    // Drops the oldest version folder of an earlier run to make room; false
    // when there is none left.
    bool gib_platz_frei();

    // The full path of this run's version folder; empty when it has none.
    [[nodiscard]] std::string ordnerpfad() const;

private:
    // Makes this run's version folder and record once; the errno otherwise.
    int lege_ordner_an();
    Ergebnis<int> öffne_unterordner(std::string_view relativ);
    Ausgang schreibe(const Protokollzeile& zeile);
    Ausgang schreibe_text(std::string_view text);

    Dateioperationen& ops_;
    std::string zielbasis_;
    int tage_;
    std::time_t jetzt_;
    dev_t gerät_ = 0;
    Dateigriff versionen_;
    Dateigriff lauf_;  // this run's version folder, once made
    Dateigriff protokoll_;
    // Lines of new files, written in one go: a first backup of many small
    // files would otherwise pay a system call for each.
    std::string puffer_;
    static constexpr std::size_t puffergrenze = std::size_t{64} << 10;
    std::string laufname_;
    std::string hinweis_;
    // The last directory inside the run's folder that an entry went to.
    std::string letzter_ordner_;
    Dateigriff letzter_griff_;
};

}  // namespace tarvendo
