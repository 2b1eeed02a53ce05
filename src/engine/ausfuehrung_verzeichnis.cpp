// The directories of the run: creating, entering and opening them in the
// target, opening their source, and finishing or removing them.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "engine/ausfuehrung_ebene.h"
#include "engine/rechte.h"
#include "engine/systemfehlertext.h"
#include "engine/zwillinge.h"

namespace tarvendo {

namespace {

using Knoten = Erledigtbaum::Knoten;

constexpr std::string_view art_verzeichnis = "Verzeichnis ";

}  // namespace

bool Aufgabenausführung::betrete(const Pfadklasse& wpfad, Ebene& ebene, Knoten wpnodx) {
    Erledigtbaum& erledigt = d_.erledigt;
    Dateioperationen& ops = d_.ops;
    if (wpfad.aufgabe == aufgabe_kopieren) {
        d_.anzeigen.Arbeitsverzeichnis.text("erstelle " + ohne_erstes(ebene.relativ));
        verändert_ = true;
        int code = ebene.eltern_fehler();
        std::string grund;
        const std::string* vorrang =
            wpfad.parent ? wpfad.parent->gib_zwilling(wpfad.pfadname) : nullptr;
        if (code == 0 && vorrang) {
            code = EEXIST;
            grund = zwillingstext(*vorrang, wpfad.pfadname);
        } else if (code == 0) {
            platz_schaffen(wpfad, ebene);
            // Never more open than the source, even for a moment; the owner
            // fills it, and schließe_ab sets the exact bits.
            const struct stat* q = quellstatus(ebene);
            const mode_t modus = (q ? q->st_mode & 0777 : 0) | S_IRWXU;
            code = ops.erstelle_verzeichnis(ebene.eltern_fd(), ebene.ziel_ort, modus).fehlercode();
            if (ebene.eltern && ist_namensablehnung(code, ebene.ziel_ort))
                grund = name_abgelehnt_text;
        }
        if (code != 0) {
            erledigt.setze_bild(wpnodx, Bild::Verzeichnis_kopieren_fehler);
            nachgeben();
            (void)melde(art_verzeichnis, zielpfad(ebene.relativ), "konnte nicht erstellt werden",
                        grund.empty() ? systemfehlertext(code) : grund, Knöpfe::OK);
            return false;
        }
        erledigt.setze_bild(wpnodx, Bild::Verzeichnis_kopieren);
        nachgeben();
        ebene.erstellt = true;
        vermerke(Protokollart::verzeichnis, ebene.relativ);
        öffne_ziel(ebene);
        return true;
    }
    if (wpfad.aufgabe != aufgabe_löschen) {
        erledigt.setze_bild(wpnodx, Bild::Verzeichnis_diesdas);
        if (ebene.eltern && ebene.eltern_fehler() == 0)
            if (const std::string* alt =
                    wpfad.parent ? wpfad.parent->gib_zielname(wpfad.pfadname) : nullptr)
                verzeichnisschreibweise_angleichen(ebene.eltern_fd(), ebene.eltern->relativ, *alt,
                                                   ebene.ziel_ort);
        öffne_ziel(ebene);
        mache_beschreibbar(ebene);
        return true;
    }

    // A directory to remove. Should it have become a link since the
    // comparison, only the link goes; nothing is ever deleted through one.
    erledigt.setze_bild(wpnodx, Bild::Verzeichnis_löschen);
    int code = ebene.eltern_fehler();
    std::string grund;
    bool ganz = false;  // a link or a directory that moves into the versions whole
    if (code == 0 && ebene.eltern && ebene.eltern->geschützt) {
        code = EXDEV;
        grund = andere_grenze;
    }
    if (code == 0) {
        auto st = ops.status_ohne_folgen(ebene.eltern_fd(), ebene.ziel_ort);
        const mode_t modus = st ? st.wert().st_mode : 0;
        if (!st) {
            code = st.fehlercode();
        } else if (S_ISDIR(modus) && (modus & S_IWUSR) == 0) {
            // Its entries can only be deleted, and it can only move, when it is writable.
            verändert_ = true;
            vermerke_rechte(st.wert(), ebene.relativ);
            (void)ops.setze_rechte_von(ebene.eltern_fd(), ebene.ziel_ort,
                                       (modus & 07777) | S_IWUSR);
        }
        if (st && (S_ISLNK(modus) || (S_ISDIR(modus) && verschiebe_ganz(wpfad)))) {
            ganz = true;
            d_.anzeigen.Arbeitsverzeichnis.text("lösche " + ohne_erstes(ebene.relativ));
            verändert_ = true;
            code = entferne_eintrag(ebene.eltern_fd(), ebene.ziel_ort, ebene.relativ).fehlercode();
        }
    }
    if (code != 0) {
        erledigt.setze_bild(wpnodx, Bild::Verzeichnis_löschen_fehler);
        nachgeben();
        if (melde(art_verzeichnis, zielpfad(ebene.relativ), "konnte nicht gelöscht werden",
                  grund.empty() ? systemfehlertext(code) : grund,
                  Knöpfe::OKAbbrechen) == Antwort::Abbrechen)
            d_.zustand.abbruch = true;
        return false;
    }
    if (ganz) {
        nachgeben();
        return false;
    }
    öffne_ziel(ebene);
    return true;
}

void Aufgabenausführung::öffne_ziel(Ebene& ebene) {
    Dateioperationen& ops = d_.ops;
    ebene.geschützt = ebene.eltern && ebene.eltern->geschützt;
    if (const int code = ebene.eltern_fehler(); code != 0) {
        ebene.ziel_fehler = code;
        return;
    }
    // The chosen base may lie behind a link; below it no link is followed,
    // so nothing is ever written or deleted outside the target.
    const int flags = verzeichnis_flags | (ebene.eltern ? O_NOFOLLOW : 0);
    auto fd = ops.öffne(ebene.eltern_fd(), ebene.ziel_ort, flags, 0);
    if (!fd) {
        ebene.ziel_fehler = fd.fehlercode();
        return;
    }
    ebene.ziel = Dateigriff(ops, fd.wert());
    // A mount point below the base: its contents belong to another medium.
    if (auto st = ops.status(ebene.ziel.fd())) {
        ebene.gerät = static_cast<std::uint64_t>(st.wert().st_dev);
        ebene.zielstatus = st.wert();
        if (ebene.eltern && ebene.gerät != ebene.eltern->gerät) ebene.geschützt = true;
    }
}

void Aufgabenausführung::platz_schaffen(const Pfadklasse& wpfad, Ebene& ebene) {
    // A file or link of the directory's name whose deletion is ticked goes
    // first; otherwise the creation fails and says why.
    Ebene* eltern = ebene.eltern;
    if (!eltern || !wpfad.parent) return;
    const Dateiklasse* f = wpfad.parent->gib_datei(wpfad.pfadname);
    if (!f || !f->checked || f->aufgabe != aufgabe_löschen) return;
    auto im_weg = d_.ops.status_ohne_folgen(eltern->ziel.fd(), wpfad.pfadname);
    auto datei = d_.ops.status_ohne_folgen(eltern->ziel.fd(), f->Name);
    if (!im_weg || !datei || S_ISDIR(im_weg.wert().st_mode) ||
        !gleicher_eintrag(im_weg.wert(), datei.wert()))
        return;
    eltern->vorgezogen.push_back(f);
    lösche(*f, *eltern, eltern->knoten);
}

void Aufgabenausführung::mache_beschreibbar(Ebene& ebene) {
    // Another medium keeps what it has.
    if (!ebene.ziel.offen() || ebene.geschützt) return;
    const mode_t modus = ebene.zielstatus.st_mode;
    if ((modus & S_IRWXU) == S_IRWXU) return;
    verändert_ = true;
    vermerke_rechte(ebene.zielstatus, ebene.relativ);
    ebene.rechte_vermerkt = true;
    (void)d_.ops.setze_rechte_von(ebene.eltern_fd(), ebene.ziel_ort, (modus & 07777) | S_IRWXU);
}

void Aufgabenausführung::schließe_ab(Ebene& ebene) {
    // The base as well: a private source must not become a readable backup.
    if (!ebene.ziel.offen() || ebene.geschützt) return;
    const struct stat* q = quellstatus(ebene);
    if (!q) return;
    Dateioperationen& ops = d_.ops;
    const bool als_root = systemkopie_.als_root();
    if (!ebene.erstellt) {
        // A matched directory that already has it all is left alone.
        auto z = ops.status(ebene.ziel.fd());
        if (z && (z.wert().st_mode & 07777) == (q->st_mode & 07777) &&
            ((z.wert().st_mtim.tv_sec == q->st_mtim.tv_sec &&
              z.wert().st_mtim.tv_nsec == q->st_mtim.tv_nsec) ||
             !ebene.eltern) &&
            (!als_root || (z.wert().st_uid == q->st_uid && z.wert().st_gid == q->st_gid)))
            return;
        if (!ebene.rechte_vermerkt) vermerke_rechte(ebene.zielstatus, ebene.relativ);
    }
    // The walk holds the directory as a path only; changing it needs it open.
    constexpr int lesend = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    auto fd = ops.öffne(ebene.ziel.fd(), ".", lesend, 0);
    if (!fd) return;
    Dateigriff verzeichnis(ops, fd.wert());
    auto qfd = ops.öffne(quelle(ebene), ".", lesend, 0);  // for its extended attributes
    verändert_ = true;
    // The base keeps its times: a medium's root may not take them (fusefat
    // even dies of it), and nothing compares them.
    stapel_.schließe_ab(std::move(verzeichnis), qfd ? Dateigriff(ops, qfd.wert()) : Dateigriff(),
                        *q, als_root, ebene.eltern != nullptr);
}

const struct stat* Aufgabenausführung::quellstatus(Ebene& ebene) {
    if (!ebene.quellstatus_versucht) {
        ebene.quellstatus_versucht = true;
        if (const int fd = quelle(ebene); fd >= 0) {
            auto st = d_.ops.status(fd);
            if (st) {
                ebene.quellstatus = st.wert();
                ebene.quellstatus_da = true;
            }
        }
    }
    return ebene.quellstatus_da ? &ebene.quellstatus : nullptr;
}

int Aufgabenausführung::quelle(Ebene& ebene) {
    if (!ebene.quelle_versucht) {
        ebene.quelle_versucht = true;
        int basis = AT_FDCWD;
        if (ebene.eltern) {
            basis = quelle(*ebene.eltern);
            if (basis < 0) {
                ebene.quell_fehler = ebene.eltern->quell_fehler;
                return -1;
            }
        }
        // The scan followed links in the source; so does the copy.
        auto fd = d_.ops.öffne(basis, ebene.quell_ort, verzeichnis_flags, 0);
        if (fd)
            ebene.quelle = Dateigriff(d_.ops, fd.wert());
        else
            ebene.quell_fehler = fd.fehlercode();
    }
    return ebene.quelle.offen() ? ebene.quelle.fd() : -1;
}

void Aufgabenausführung::entferne_verzeichnis(Ebene& ebene, Knoten wpnodx) {
    Dateioperationen& ops = d_.ops;
    d_.anzeigen.Arbeitsverzeichnis.text("lösche " + ohne_erstes(ebene.relativ));
    verändert_ = true;
    (void)ebene.ziel.schließe();
    int code = ebene.eltern_fehler();
    if (code == 0) {
        auto st = ops.status_ohne_folgen(ebene.eltern_fd(), ebene.ziel_ort);
        if (!st)
            code = st.fehlercode();
        else if (S_ISLNK(st.wert().st_mode))
            code = entferne_eintrag(ebene.eltern_fd(), ebene.ziel_ort, ebene.relativ).fehlercode();
        else
            code = ops.entferne_verzeichnis(ebene.eltern_fd(), ebene.ziel_ort).fehlercode();
    }
    if (code == 0) {
        nachgeben();
        return;
    }
    d_.erledigt.setze_bild(wpnodx, Bild::Verzeichnis_löschen_fehler);
    nachgeben();
    if (melde(art_verzeichnis, zielpfad(ebene.relativ), "konnte nicht gelöscht werden",
              systemfehlertext(code), Knöpfe::OKAbbrechen) == Antwort::Abbrechen)
        d_.zustand.abbruch = true;
}

}  // namespace tarvendo
