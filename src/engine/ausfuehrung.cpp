#include "engine/ausfuehrung.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

#include "engine/aufgabensumme.h"
#include "engine/ausfuehrung_ebene.h"
#include "engine/rechte.h"
#include "engine/systemfehlertext.h"
#include "engine/zwillinge.h"
#include "support/pfad.h"

namespace tarvendo {

namespace {

using Knoten = Erledigtbaum::Knoten;

constexpr std::string_view verändert = "Die Datei wurde während des Kopierens verändert.";

}  // namespace

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
    aufgaben_durchführen(aufgabenbaum, Erledigtbaum::kein_knoten);
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

void Aufgabenausführung::aufgaben_durchführen(const Pfadklasse& wpfad, Knoten wpnodx) {
    if (!wpfad.checked) return;
    Ebene ebene;
    ebene.eltern = aktuelle_;
    ebene.relativ = aktuelle_ ? verbinde(aktuelle_->relativ, wpfad.pfadname) : wpfad.pfadname;
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
    for (const Pfadklasse& unter : wpfad.pfade) {
        if (unter.checked) {
            const Knoten knoten = d_.erledigt.füge_hinzu(wpnodx, unter.pfadname);
            aufgaben_durchführen(unter, knoten);
        }
        nachgeben();
        if (zustand.abbruch) return;
    }

    // A directory in progress shows with its closing "/"; the base as "".
    d_.anzeigen.Arbeitsverzeichnis.textpfad(ohne_erstes(ebene.relativ + '/'));
    for (const Dateiklasse& f : wpfad.dateien) {
        if (f.checked) {
            if (f.aufgabe == aufgabe_kopieren || f.aufgabe == aufgabe_rechte) {
                if (const std::string* alt = wpfad.gib_zielname(f.Name))
                    schreibweise_angleichen(ebene.ziel.fd(), ebene.relativ, *alt, f.Name);
                kopiere(f, wpfad.gib_zwilling(f.Name), ebene, wpnodx);
            } else if (f.aufgabe == aufgabe_löschen &&
                       std::find(ebene.vorgezogen.begin(), ebene.vorgezogen.end(), &f) ==
                           ebene.vorgezogen.end()) {
                lösche(f, ebene, wpnodx);
            }
        }
        if (zustand.abbruch) return;
    }

    if (wpfad.aufgabe == aufgabe_löschen)
        entferne_verzeichnis(ebene, wpnodx);
    else
        schließe_ab(ebene);
}

void Aufgabenausführung::kopiere(const Dateiklasse& f, const std::string* vorrang, Ebene& ebene,
                                 Knoten wpnodx) {
    Programmzustand& zustand = d_.zustand;
    Statusanzeige& datei = d_.anzeigen.Arbeitsdatei;
    datei.text("kopiere " + f.Name);
    zustand.kopierabbruch = 0;
    dateibalken_sichtbar_ = false;
    d_.stoppuhr.Reset();
    verändert_ = true;

    const std::string relativ = verbinde(ebene.relativ, f.Name);
    const bool verknüpft = (f.attr & attr_über_verknüpfung) != 0;
    const bool nur_rechte = f.aufgabe == aufgabe_rechte;  // the data are in place
    int code = vorrang ? EEXIST : ebene.ziel_status();
    if (code == 0 && nur_rechte) {
        if (auto vorher = d_.ops.status_ohne_folgen(ebene.ziel.fd(), f.Name))
            vermerke_rechte(vorher.wert(), relativ);
        code = gleiche_rechte_an(d_.ops, ebene.ziel.fd(), f.Name, f.rechte, systemkopie_.als_root(),
                                 verknüpft)
                   .fehlercode();
    } else if (code == 0) {
        const int quellverzeichnis = quelle(ebene);
        if (quellverzeichnis < 0) {
            code = ebene.quell_fehler;
        } else {
            Ersetzungsstapel::Eintrag eintrag{nullptr, ebene.gerät,       f.Name, {}, &f,
                                              wpnodx,  quellpfad(relativ)};
            eintrag.kopie.relativ = relativ;
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
                      am_ziel ? zielpfad(relativ) : quellpfad(relativ),
                      nur_rechte ? "konnte nicht angepasst werden" : "konnte nicht kopiert werden",
                      vorrang                    ? zwillingstext(*vorrang, f.Name)
                      : code == name_abgelehnt   ? std::string(name_abgelehnt_text)
                      : code == quelle_verändert ? std::string(verändert)
                                                 : systemfehlertext(code));
}

void Aufgabenausführung::lösche(const Dateiklasse& f, Ebene& ebene, Knoten wpnodx) {
    d_.anzeigen.Arbeitsdatei.text("lösche " + f.Name);
    verändert_ = true;

    int code = ebene.ziel_status();
    std::string grund;
    if (code == 0 && ebene.geschützt) {
        code = EXDEV;
        grund = andere_grenze;
    }
    const std::string relativ = verbinde(ebene.relativ, f.Name);
    if (code == 0) code = entferne_eintrag(ebene.ziel.fd(), f.Name, relativ).fehlercode();

    if (zähle_erledigt(arbeit_von(f), code)) return;
    melde_dateifehler(f, wpnodx, Bild::Datei_löschen_fehler, zielpfad(relativ),
                      "konnte nicht gelöscht werden",
                      grund.empty() ? systemfehlertext(code) : grund);
}

std::string Aufgabenausführung::zielpfad(std::string_view relativ) const {
    return verbinde(zielbasis_, relativ);
}

std::string Aufgabenausführung::quellpfad(std::string_view relativ) const {
    return verbinde(quellbasis_, relativ);
}

}  // namespace tarvendo
