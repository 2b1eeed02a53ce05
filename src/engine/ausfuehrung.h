#pragma once
// Carries out the ticked tasks of a task tree: creates directories, copies
// files fail-safe, deletes files and removes directories in the target.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/dateioperationen.h"
#include "engine/ergebnis.h"
#include "engine/ersetzungsstapel.h"
#include "engine/laufinfo.h"
#include "engine/pfadklasse.h"
#include "engine/schnittstellen.h"
#include "engine/systemkopie.h"
#include "engine/versionsablage.h"
#include "engine/zielmedium.h"
#include "support/stopwatch.h"

namespace tarvendo {

class Aufgabenausführung final : private Kopierbeobachter {
public:
    struct Dienste {
        Anzeigen& anzeigen;
        Ereignisschleife& schleife;
        Rückfrage& rückfrage;
        Erledigtbaum& erledigt;
        Programmzustand& zustand;
        Dateioperationen& ops;
        CStopWatch& stoppuhr;
    };

    // The base paths are the chosen source and target directories.
    Aufgabenausführung(Dienste dienste, std::string quellbasis, std::string zielbasis);
    Aufgabenausführung(const Aufgabenausführung&) = delete;
    Aufgabenausführung& operator=(const Aufgabenausführung&) = delete;
    ~Aufgabenausführung() override;

    // What the target's medium holds (prüfe_ziel); a case-sensitive medium
    // with the full range of times when not set.
    void setze_zieleigenschaften(const Zieleigenschaften& eigenschaften);
    // Where deleted and replaced entries go instead of being lost; none: a pure mirror.
    void setze_versionsablage(Versionsablage* ablage);

    // One run over a task tree, then (finished or cancelled) a flush of the
    // target's file system when the run changed anything, so that what it
    // wrote survives an unplugged drive. Returns the flush's outcome.
    [[nodiscard]] Ausgang führe_aus(const Pfadklasse& aufgabenbaum);

    // The walk of one directory of the task tree; wpnodx is its node in the
    // done tree (kein_knoten for the root). Its path below the base is its
    // parent's joined with its name ("" for the root, then "/a", "/a/b").
    void aufgaben_durchführen(const Pfadklasse& wpfad, Erledigtbaum::Knoten wpnodx);

    // Progress of the copy in progress: the per-file bar (shown only for a
    // copy that runs over 250 ms and is projected to take over a second),
    // the overall bar, and a yield to the host.
    void kopierfortschritt(std::int64_t dateigröße, std::int64_t übertragen) override;

    // Failure messages shown so far.
    [[nodiscard]] int anzahl_fehler() const noexcept { return fehler_; }

private:
    struct Ebene;

    // vorrang: the case twin that keeps the place; then nothing is copied.
    void kopiere(const Dateiklasse& f, const std::string* vorrang, Ebene& ebene,
                 Erledigtbaum::Knoten wpnodx);
    void lösche(const Dateiklasse& f, Ebene& ebene, Erledigtbaum::Knoten wpnodx);
    // Counts a file task as done; true (after a yield) when it succeeded.
    bool zähle_erledigt(std::int64_t arbeit, int code);
    // Records a failed file task and asks whether to go on.
    void melde_dateifehler(const Dateiklasse& f, Erledigtbaum::Knoten wpnodx, Bild fehlerbild,
                           const std::string& pfad, std::string_view was,
                           const std::string& fehlertext);
    // Creates, checks or opens the directory itself; false: skip its contents.
    bool betrete(const Pfadklasse& wpfad, Ebene& ebene, Erledigtbaum::Knoten wpnodx);
    void entferne_verzeichnis(Ebene& ebene, Erledigtbaum::Knoten wpnodx);
    void öffne_ziel(Ebene& ebene);
    // Removes the temporary files a killed run left in the target directory fd.
    void entferne_reste(const Pfadklasse& wpfad, int fd);
    // Whether the target entries a and b (status of two spellings) are one.
    [[nodiscard]] bool gleicher_eintrag(const struct stat& a, const struct stat& b) const;
    // Renames the target entry alt in the directory fd (verzeichnispfad:
    // its path below the base) to the source's spelling neu.
    void schreibweise_angleichen(int fd, const std::string& verzeichnispfad, const std::string& alt,
                                 const std::string& neu);
    // The same for a directory entered as ort, which then names it as it is.
    void verzeichnisschreibweise_angleichen(int fd, const std::string& verzeichnispfad,
                                            const std::string& alt, std::string& ort);
    // Deletes a file in the way of the directory wpfad early, if ticked.
    void platz_schaffen(const Pfadklasse& wpfad, Ebene& ebene);
    // A matched directory gets the owner's rwx while the run fills it.
    void mache_beschreibbar(Ebene& ebene);
    // Gives a directory whose contents are done the source's attributes.
    void schließe_ab(Ebene& ebene);
    int quelle(Ebene& ebene);
    // The source directory's status; nullptr when it cannot be had.
    const struct stat* quellstatus(Ebene& ebene);

    // Puts the waiting copies in place; before any message, so that the
    // failures of earlier files come first.
    void leere_stapel();
    [[nodiscard]] bool mit_versionen() const noexcept;
    // Deletes a file or link, or moves it (or a whole directory) into the versions.
    Ausgang entferne_eintrag(int verzeichnis, const std::string& name, const std::string& relativ);
    // Whether the directory to delete goes into the versions in one move.
    [[nodiscard]] bool verschiebe_ganz(const Pfadklasse& wpfad) const;
    void vermerke(Protokollart art, const std::string& relativ, std::string_view neu = {});
    // Records the rights an entry had (vorher) before the run changes them.
    void vermerke_rechte(const struct stat& vorher, const std::string& relativ);
    // A copy (its errno); when the medium is full, older versions make room first.
    int mit_platz(const std::function<int()>& kopiere);

    Antwort melde(std::string_view art, const std::string& pfad, std::string_view was,
                  const std::string& fehlertext, Knöpfe knöpfe);
    void zeige_gesamtfortschritt(std::int64_t erledigt);
    void nachgeben() { d_.schleife.ereignisse_verarbeiten(); }
    [[nodiscard]] std::string zielpfad(std::string_view relativ) const;
    [[nodiscard]] std::string quellpfad(std::string_view relativ) const;

    Dienste d_;
    std::string quellbasis_;
    std::string zielbasis_;
    Systemkopie systemkopie_;
    Zieleigenschaften medium_;
    Versionsablage* ablage_ = nullptr;
    Laufinfo laufinfo_;
    Ersetzungsstapel stapel_;
    Ebene* aktuelle_ = nullptr;
    bool dateibalken_sichtbar_ = false;
    bool verändert_ = false;
    int fehler_ = 0;
};

}  // namespace tarvendo
