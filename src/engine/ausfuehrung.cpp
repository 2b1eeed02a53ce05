#include "engine/ausfuehrung.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/aufgabensumme.h"
#include "engine/rechte.h"
#include "engine/systemfehlertext.h"
#include "engine/zwillinge.h"

namespace tarvendo {

namespace {

using Knoten = Erledigtbaum::Knoten;

constexpr int verzeichnis_flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
constexpr std::string_view art_verzeichnis = "Verzeichnis ";
constexpr std::string_view art_datei = "Datei ";
constexpr std::string_view andere_grenze =
    "Der Pfad führt in ein anderes Dateisystem; dort wird nichts gelöscht.";
constexpr std::string_view verändert = "Die Datei wurde während des Kopierens verändert.";

// Per mille of teil in ganzes, halves to the even neighbour.
std::int32_t promille(std::int64_t teil, std::int64_t ganzes) {
    const double wert = static_cast<double>(teil) / static_cast<double>(ganzes) * 1000.0;
    return static_cast<std::int32_t>(std::nearbyint(wert));
}

std::string ohne_erstes(std::string_view s) {
    return s.empty() ? std::string() : std::string(s.substr(1));
}

std::string verbinde(const std::string& basis, std::string_view relativ) {
    // "/" as the base must not give "//a".
    if (!basis.empty() && basis.back() == '/' && !relativ.empty() && relativ.front() == '/')
        relativ.remove_prefix(1);
    std::string pfad = basis;
    pfad += relativ;
    return pfad;
}

}  // namespace

// One directory of the walk with its descriptors on both sides. Every call
// works relative to the parent's descriptor, so a path is looked up once
// and a link on the way is seen; only the top level goes by full path.
struct Aufgabenausführung::Ebene {
    Ebene* eltern = nullptr;
    std::string relativ;   // relpfad & pfadname: the path below the base
    std::string ziel_ort;  // the name in the parent, or the full path at the top
    std::string quell_ort;
    Dateigriff ziel;
    std::shared_ptr<Dateigriff> stapelgriff;  // ziel for the copies that wait
    int ziel_fehler = 0;      // why ziel is not open
    std::uint64_t gerät = 0;  // of ziel
    struct stat zielstatus {};  // of ziel when it was opened
    bool rechte_vermerkt = false;  // its rights before the run are in the record
    bool erstellt = false;    // the run created the target directory
    bool geschützt = false;   // on another file system than the base: delete nothing
    Knoten knoten = Erledigtbaum::kein_knoten;
    // File deletions done early, to make room for a directory of the same name.
    std::vector<const Dateiklasse*> vorgezogen;
    Dateigriff quelle;
    int quell_fehler = 0;
    bool quelle_versucht = false;
    struct stat quellstatus {};
    bool quellstatus_versucht = false;
    bool quellstatus_da = false;

    [[nodiscard]] int eltern_fd() const { return eltern ? eltern->ziel.fd() : AT_FDCWD; }
    // Why nothing can be done in the parent; 0 when it is open.
    [[nodiscard]] int eltern_fehler() const { return eltern ? eltern->ziel_status() : 0; }
    [[nodiscard]] int ziel_status() const {
        if (ziel.offen()) return 0;
        return ziel_fehler != 0 ? ziel_fehler : EBADF;
    }
};

Aufgabenausführung::Aufgabenausführung(Dienste dienste, std::string quellbasis,
                                       std::string zielbasis)
    : d_(dienste),
      quellbasis_(std::move(quellbasis)),
      zielbasis_(std::move(zielbasis)),
      systemkopie_(dienste.ops),
      laufinfo_(dienste.anzeigen.Arbeitsinfo, dienste.zustand),
      stapel_(dienste.ops, systemkopie_) {}

Aufgabenausführung::~Aufgabenausführung() = default;

Ausgang Aufgabenausführung::führe_aus(const Pfadklasse& aufgabenbaum) {
    verändert_ = false;
    aufgaben_durchführen(aufgabenbaum, Erledigtbaum::kein_knoten, "");
    if (d_.zustand.abbruch)
        stapel_.verwirf();
    else
        leere_stapel();
    if (ablage_) ablage_->leere_puffer();
    if (!verändert_) return erfolg();
    // The flush can take long after the last file; the window must not look hung.
    d_.anzeigen.Arbeitsschritt.text("Auf den Datenträger schreiben");
    nachgeben();
    auto fd = d_.ops.öffne(AT_FDCWD, zielbasis_, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (!fd) return Ausgang::fehler(fd.fehlercode());
    Dateigriff ziel(d_.ops, fd.wert());
    return d_.ops.synchronisiere(ziel.fd());
}

void Aufgabenausführung::aufgaben_durchführen(const Pfadklasse& wpfad, Knoten wpnodx,
                                              const std::string& relpfad) {
    if (!wpfad.checked) return;
    Ebene ebene;
    ebene.eltern = aktuelle_;
    ebene.relativ = relpfad + wpfad.pfadname;
    ebene.knoten = wpnodx;
    if (aktuelle_) {
        ebene.ziel_ort = wpfad.pfadname;
        ebene.quell_ort = wpfad.pfadname;
    } else {
        ebene.ziel_ort = zielpfad(ebene.relativ);
        ebene.quell_ort = quellpfad(ebene.relativ);
    }
    struct Zurück {
        Ebene*& zeiger;
        Ebene* alt;
        ~Zurück() { zeiger = alt; }
    } zurück{aktuelle_, aktuelle_};
    aktuelle_ = &ebene;

    if (!betrete(wpfad, ebene, wpnodx)) {
        zähle_erledigt(arbeit_in(wpfad), 1);  // what it holds cannot be done
        return;
    }
    if (ebene.ziel.offen() && !ebene.geschützt) entferne_reste(wpfad, ebene.ziel.fd());

    Programmzustand& zustand = d_.zustand;
    const std::string aktverzeichnis = ebene.relativ + "/";
    for (const Pfadklasse& unter : wpfad.pfade) {
        if (unter.checked) {
            const Knoten knoten = d_.erledigt.füge_hinzu(wpnodx, unter.pfadname);
            aufgaben_durchführen(unter, knoten, aktverzeichnis);
        }
        nachgeben();
        if (zustand.abbruch) return;
    }

    d_.anzeigen.Arbeitsverzeichnis.textpfad(ohne_erstes(aktverzeichnis));
    for (const Dateiklasse& f : wpfad.dateien) {
        if (f.checked) {
            if (f.aufgabe == aufgabe_kopieren || f.aufgabe == aufgabe_rechte) {
                if (const std::string* alt = wpfad.gib_zielname(f.Name))
                    schreibweise_angleichen(ebene.ziel.fd(), aktverzeichnis, *alt, f.Name);
                kopiere(f, wpfad.gib_zwilling(f.Name), ebene, aktverzeichnis, wpnodx);
            } else if (f.aufgabe == aufgabe_löschen &&
                       std::find(ebene.vorgezogen.begin(), ebene.vorgezogen.end(), &f) ==
                           ebene.vorgezogen.end()) {
                lösche(f, ebene, aktverzeichnis, wpnodx);
            }
        }
        if (zustand.abbruch) return;
    }

    if (wpfad.aufgabe == aufgabe_löschen)
        entferne_verzeichnis(ebene, wpnodx);
    else
        schließe_ab(ebene);
}

bool Aufgabenausführung::betrete(const Pfadklasse& wpfad, Ebene& ebene, Knoten wpnodx) {
    Erledigtbaum& erledigt = d_.erledigt;
    Dateioperationen& ops = d_.ops;
    if (wpfad.aufgabe == aufgabe_kopieren) {
        d_.anzeigen.Arbeitsverzeichnis.text("erstelle " + ohne_erstes(ebene.relativ));
        verändert_ = true;
        int code = ebene.eltern_fehler();
        std::string grund;
        const std::string* vorrang = wpfad.parent ? wpfad.parent->gib_zwilling(wpfad.pfadname)
                                                  : nullptr;
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
            if (const std::string* alt = wpfad.parent ? wpfad.parent->gib_zielname(wpfad.pfadname)
                                                      : nullptr)
                verzeichnisschreibweise_angleichen(ebene.eltern_fd(), ebene.eltern->relativ + "/",
                                                   *alt, ebene.ziel_ort);
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
    lösche(*f, *eltern, eltern->relativ + "/", eltern->knoten);
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

void Aufgabenausführung::kopiere(const Dateiklasse& f, const std::string* vorrang, Ebene& ebene,
                                 const std::string& aktverzeichnis, Knoten wpnodx) {
    Programmzustand& zustand = d_.zustand;
    Statusanzeige& datei = d_.anzeigen.Arbeitsdatei;
    datei.text("kopiere " + f.Name);
    zustand.kopierabbruch = 0;
    dateibalken_sichtbar_ = false;
    d_.stoppuhr.Reset();
    verändert_ = true;

    const bool verknüpft = (f.attr & attr_über_verknüpfung) != 0;
    const bool nur_rechte = f.aufgabe == aufgabe_rechte;  // the data are in place
    int code = vorrang ? EEXIST : ebene.ziel_status();
    if (code == 0 && nur_rechte) {
        if (auto vorher = d_.ops.status_ohne_folgen(ebene.ziel.fd(), f.Name))
            vermerke_rechte(vorher.wert(), aktverzeichnis + f.Name);
        code = gleiche_rechte_an(d_.ops, ebene.ziel.fd(), f.Name, f.rechte,
                                 systemkopie_.als_root(), verknüpft)
                   .fehlercode();
    } else if (code == 0) {
        const int quellverzeichnis = quelle(ebene);
        if (quellverzeichnis < 0) {
            code = ebene.quell_fehler;
        } else {
            Ersetzungsstapel::Eintrag eintrag{nullptr, ebene.gerät, f.Name, {}, &f, wpnodx,
                                             quellpfad(aktverzeichnis + f.Name)};
            eintrag.kopie.relativ = aktverzeichnis + f.Name;
            code = mit_platz([&] {
                return stapel_
                    .kopiere(quellverzeichnis, ebene.ziel.fd(), ebene.stapelgriff, eintrag, *this,
                             zustand.kopierabbruch, verknüpft)
                    .fehlercode();
            });
        }
    }
    datei.text("");
    datei.Reset();
    // A cancelled copy ends the run without a word about this file.
    if (zustand.abbruch) return;

    // A change of rights alone is neither counted nor weighed.
    if (nur_rechte && code == 0) {
        nachgeben();
        return;
    }
    if (!nur_rechte && zähle_erledigt(arbeit_von(f), code)) {
        if (stapel_.voll()) leere_stapel();
        return;
    }
    // What the medium cannot hold is the target's fault: its path is named.
    const bool am_ziel = vorrang || nur_rechte || code == name_abgelehnt;
    melde_dateifehler(f, wpnodx, Bild::Datei_kopieren_fehler,
                      am_ziel ? zielpfad(aktverzeichnis + f.Name)
                              : quellpfad(aktverzeichnis + f.Name),
                      nur_rechte ? "konnte nicht angepasst werden" : "konnte nicht kopiert werden",
                      vorrang                  ? zwillingstext(*vorrang, f.Name)
                      : code == name_abgelehnt ? std::string(name_abgelehnt_text)
                      : code == quelle_verändert ? std::string(verändert)
                                                 : systemfehlertext(code));
}

void Aufgabenausführung::lösche(const Dateiklasse& f, Ebene& ebene,
                                const std::string& aktverzeichnis, Knoten wpnodx) {
    d_.anzeigen.Arbeitsdatei.text("lösche " + f.Name);
    verändert_ = true;

    int code = ebene.ziel_status();
    std::string grund;
    if (code == 0 && ebene.geschützt) {
        code = EXDEV;
        grund = andere_grenze;
    }
    const std::string relativ = aktverzeichnis + f.Name;
    if (code == 0) code = entferne_eintrag(ebene.ziel.fd(), f.Name, relativ).fehlercode();

    if (zähle_erledigt(arbeit_von(f), code)) return;
    melde_dateifehler(f, wpnodx, Bild::Datei_löschen_fehler, zielpfad(aktverzeichnis + f.Name),
                      "konnte nicht gelöscht werden",
                      grund.empty() ? systemfehlertext(code) : grund);
}

bool Aufgabenausführung::zähle_erledigt(std::int64_t arbeit, int code) {
    // A failed task counts as done for the overall bar as well.
    d_.zustand.summe_erledigt += arbeit;
    zeige_gesamtfortschritt(d_.zustand.summe_erledigt);
    laufinfo_.datei_erledigt();
    if (code != 0) return false;
    nachgeben();
    return true;
}

void Aufgabenausführung::melde_dateifehler(const Dateiklasse& f, Knoten wpnodx,
                                           Bild fehlerbild, const std::string& pfad,
                                           std::string_view was, const std::string& fehlertext) {
    leere_stapel();
    d_.erledigt.setze_bild(d_.erledigt.füge_hinzu(wpnodx, f.Name), fehlerbild);
    nachgeben();
    if (melde(art_datei, pfad, was, fehlertext, Knöpfe::OKAbbrechen) == Antwort::Abbrechen)
        d_.zustand.abbruch = true;
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

void Aufgabenausführung::kopierfortschritt(std::int64_t dateigröße, std::int64_t übertragen) {
    if (dateigröße <= 0) {
        nachgeben();
        return;
    }
    Statusanzeige& datei = d_.anzeigen.Arbeitsdatei;
    const std::int32_t p = promille(übertragen, dateigröße);
    if (p > 0) {
        if (dateibalken_sichtbar_) {
            datei.setze_aktwert(p);
        } else {
            const std::int32_t ms = d_.stoppuhr.Elapsed();
            if (ms > 250 && static_cast<double>(ms) * 1000.0 / p > 1000.0) {
                datei.Reset();
                datei.setze_maxwert(1000);
                datei.setze_aktwert(p);
                dateibalken_sichtbar_ = true;
            }
        }
    }
    zeige_gesamtfortschritt(d_.zustand.summe_erledigt + übertragen);
    nachgeben();
}

void Aufgabenausführung::zeige_gesamtfortschritt(std::int64_t erledigt) {
    const std::int64_t gesamt = d_.zustand.summe_gesamt;
    if (gesamt > 0) d_.anzeigen.Arbeitsinfo.setze_aktwert(promille(erledigt, gesamt));
}

Antwort Aufgabenausführung::melde(std::string_view art, const std::string& pfad,
                                  std::string_view was, const std::string& fehlertext,
                                  Knöpfe knöpfe) {
    leere_stapel();
    std::string text;
    text.reserve(art.size() + pfad.size() + was.size() + fehlertext.size() + 4);
    text += art;
    text += '\n';
    text += pfad;
    text += '\n';
    text += was;
    text += "\n\n";
    text += fehlertext;
    ++fehler_;
    return d_.rückfrage.melde_fehler(text, knöpfe);
}

void Aufgabenausführung::leere_stapel() {
    stapel_.leere([this](const Ersetzungsstapel::Eintrag& e, int code) {
        melde_dateifehler(*e.datei, e.knoten, Bild::Datei_kopieren_fehler, e.quellpfad,
                          "konnte nicht kopiert werden", systemfehlertext(code));
    });
}

std::string Aufgabenausführung::zielpfad(std::string_view relativ) const {
    return verbinde(zielbasis_, relativ);
}

std::string Aufgabenausführung::quellpfad(std::string_view relativ) const {
    return verbinde(quellbasis_, relativ);
}

}  // namespace tarvendo
