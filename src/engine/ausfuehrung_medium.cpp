// What the run does differently for the target's medium.
#include "engine/ausfuehrung.h"

#include <cerrno>

#include "engine/verzeichnisscan.h"
#include "support/pfad.h"

namespace tarvendo {

void Aufgabenausführung::setze_zieleigenschaften(const Zieleigenschaften& eigenschaften) {
    medium_ = eigenschaften;
    if (medium_.zeiten_begrenzt) systemkopie_.begrenze_zeiten(utc_versatz_jetzt());
}

bool Aufgabenausführung::gleicher_eintrag(const struct stat& a, const struct stat& b) const {
    // Where letter case does not count, two spellings the comparison paired
    // name one entry, though FUSE drivers give each its own inode. Elsewhere
    // a second spelling is an entry of its own and must not be overwritten.
    return medium_.ignoriert_schreibweise || (a.st_dev == b.st_dev && a.st_ino == b.st_ino);
}

void Aufgabenausführung::schreibweise_angleichen(int fd, const std::string& verzeichnispfad,
                                                 const std::string& alt, const std::string& neu) {
    Dateioperationen& ops = d_.ops;
    auto a = ops.status_ohne_folgen(fd, alt);
    if (!a) return;
    // Where both spellings exist as different entries (a case-sensitive
    // file system), neither is touched; on a case-insensitive one they are
    // the same entry and the rename changes its case.
    auto n = ops.status_ohne_folgen(fd, neu);
    if (n ? !gleicher_eintrag(n.wert(), a.wert()) : n.fehlercode() != ENOENT) return;
    verändert_ = true;
    if (ändere_schreibweise(ops, fd, alt, neu, medium_.ignoriert_schreibweise))
        vermerke(Protokollart::umbenannt, verbinde(verzeichnispfad, alt),
                 verbinde(verzeichnispfad, neu));
}

void Aufgabenausführung::verzeichnisschreibweise_angleichen(int fd,
                                                            const std::string& verzeichnispfad,
                                                            const std::string& alt,
                                                            std::string& ort) {
    // Where a rename would empty the directory, it keeps its spelling.
    if (medium_.verschiebt_verzeichnisse)
        schreibweise_angleichen(fd, verzeichnispfad, alt, ort);
    else
        ort = alt;
}

void Aufgabenausführung::entferne_reste(const Pfadklasse& wpfad, int fd) {
    const auto* reste = wpfad.gib_reste();
    if (!reste) return;
    verändert_ = true;
    // Like a failed attribute change, a leftover that stays is not reported:
    // it is no task, and the next run tries again.
    for (const std::string& name : *reste) (void)d_.ops.entferne_datei(fd, name);
}

}  // namespace tarvendo
