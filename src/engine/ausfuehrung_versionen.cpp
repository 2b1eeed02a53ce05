// What the run does to keep versions of what it deletes or replaces.
#include <cerrno>

#include "engine/ausfuehrung.h"

namespace tarvendo {

namespace {

// Whether a directory to delete can move into the versions whole: all that
// it holds is ticked and nothing below lies on another file system.
bool ganz_zu_löschen(const Pfadklasse& p) {
    if (!p.checked || p.hält_grenze || p.geschützt) return false;
    for (const Dateiklasse& d : p.dateien)
        if (!d.checked) return false;
    for (const Pfadklasse& u : p.pfade)
        if (!ganz_zu_löschen(u)) return false;
    return true;
}

}  // namespace

void Aufgabenausführung::setze_versionsablage(Versionsablage* ablage) {
    ablage_ = ablage;
    systemkopie_.setze_ablage(ablage);
}

bool Aufgabenausführung::mit_versionen() const noexcept {
    return ablage_ && ablage_->aktiv();
}

Ausgang Aufgabenausführung::entferne_eintrag(int verzeichnis, const std::string& name,
                                             const std::string& relativ) {
    if (mit_versionen())
        return ablage_->lege_ab(verzeichnis, name, relativ, Protokollart::gelöscht);
    // unlink never follows a link and needs no write permission on the
    // file itself; a chmod would change every other hard link as well.
    return d_.ops.entferne_datei(verzeichnis, name);
}

bool Aufgabenausführung::verschiebe_ganz(const Pfadklasse& wpfad) const {
    // Where a renamed directory loses what it holds, its entries go one by one.
    return mit_versionen() && medium_.verschiebt_verzeichnisse && ganz_zu_löschen(wpfad);
}

void Aufgabenausführung::vermerke(Protokollart art, const std::string& relativ,
                                  std::string_view neu) {
    if (mit_versionen()) ablage_->vermerke(art, relativ, neu);
}

void Aufgabenausführung::vermerke_rechte(const struct stat& vorher, const std::string& relativ) {
    // The base has no path of its own in the record; its rights stay as the run left them.
    if (mit_versionen() && !relativ.empty())
        ablage_->vermerke_rechte(vorher, relativ, systemkopie_.als_root());
}

int Aufgabenausführung::mit_platz(const std::function<int()>& kopiere) {
    for (;;) {
        const int code = kopiere();
        // Older versions make room before the medium is called full.
        if ((code != ENOSPC && code != EDQUOT) || !ablage_ || !ablage_->gib_platz_frei())
            return code;
    }
}

}  // namespace tarvendo
