#include "engine/aufgabenermittlung.h"

#include <cmath>

#include "engine/zielmedium.h"
#include "engine/zwillinge.h"

namespace tarvendo {

std::string summentext(std::int32_t kopieren, std::int32_t löschen) {
    return std::to_string(kopieren) + " kopieren / " + std::to_string(löschen) + " löschen";
}

bool ist_geändert(const Dateiklasse& quelle, const Dateiklasse& ziel) {
    // A link, FIFO or device in the target is replaced by the real file,
    // whatever its data.
    if (quelle.größe != ziel.größe || (ziel.attr & (attr_verknüpfung | attr_sonderdatei)) != 0)
        return true;
    // The values hold whole seconds; rounding removes the representation's
    // error so that a stored 2-second difference is exactly 2.
    const auto weiter_als_2_sekunden = [](double a, double b) {
        return std::fabs(std::nearbyint((a - b) * 86400.0)) > 2.0;
    };
    if (!weiter_als_2_sekunden(quelle.datum, ziel.datum)) return false;
    // A medium that keeps no such time got it moved into its range.
    const double im_medium = datum_im_medium(quelle.datum);
    return im_medium == quelle.datum || weiter_als_2_sekunden(im_medium, ziel.datum);
}

namespace {

// The target entry that matches a source entry by key, unless another entry
// of the same source directory bears its name byte for byte: on a
// case-sensitive file system "a" and "A" may both exist, and each should meet
// its own counterpart rather than whichever comes first. Where the target
// ignores letter case it holds one spelling at most, whichever it is.
template <class T>
T* gegenstück(const T& eintrag, const Schlüsselsammlung<T>& quellen,
              const Schlüsselsammlung<T>& ziele, bool ignoriert_schreibweise) {
    const std::string& name = NameVon<T>::von(eintrag);
    T* ziel = ziele.gib(name);
    if (ziel && !ignoriert_schreibweise && NameVon<T>::von(*ziel) != name &&
        quellen.gib(NameVon<T>::von(*ziel)) != &eintrag)
        return nullptr;
    return ziel;
}

}  // namespace

Aufgabenermittlung::Aufgabenermittlung(Anzeigen& anzeigen, Ereignisschleife& schleife,
                                       Programmzustand& zustand)
    : anzeigen_(anzeigen), schleife_(schleife), zustand_(zustand) {}

bool Aufgabenermittlung::aufgaben_ermitteln(const Pfadklasse& qpfad, Pfadklasse& zpfad,
                                            Pfadklasse& apfad) {
    bool gefunden = ermittle(qpfad, zpfad, apfad, true, true);
    // The target base as well gets the source base's rights.
    if (!zustand_.abbruch && verzeichnisrechte_weichen_ab(qpfad, zpfad)) {
        apfad.aufgabe = aufgabe_rechte;
        gefunden = true;
    }
    return gefunden;
}

bool Aufgabenermittlung::verzeichnisrechte_weichen_ab(const Pfadklasse& qpfad,
                                                      const Pfadklasse& zpfad) const {
    // A directory that could not be opened has no rights to go by.
    return !qpfad.nicht_gelesen && !zpfad.nicht_gelesen &&
           rechte_weichen_ab(qpfad.rechte, zpfad.rechte, rechtepflege, false);
}

void Aufgabenermittlung::zeige_summe() {
    anzeigen_.Arbeitsinfo.text(summentext(zustand_.anzahl_kopieren, zustand_.anzahl_löschen));
}

void Aufgabenermittlung::zähle(std::int32_t& zähler) {
    ++zähler;
    if (zähler % 100 == 0) {
        zeige_summe();
        schleife_.ereignisse_verarbeiten();
    }
}

bool Aufgabenermittlung::ermittle(const Pfadklasse& qpfad, Pfadklasse& zpfad, Pfadklasse& apfad,
                                  bool löschen_erlaubt, bool rechte_erlaubt) {
    bool gefunden = false;
    anzeigen_.Arbeitsverzeichnis.text(qpfad.fullpath());
    // What the target holds below a source directory that could not be read
    // completely may well exist in the source: never delete it.
    löschen_erlaubt = löschen_erlaubt && !qpfad.nicht_gelesen;

    const Zwillinge zwillinge = ignoriert_schreibweise_ ? Zwillinge(qpfad) : Zwillinge();
    for (const Pfadklasse& qp : qpfad.pfade) {
        const std::string* vorrang = zwillinge.vorrang(qp.pfadname);
        if (vorrang) apfad.setze_zwilling(qp.pfadname, *vorrang);
        if (Pfadklasse* zp =
                vorrang ? nullptr
                        : gegenstück(qp, qpfad.pfade, zpfad.pfade, ignoriert_schreibweise_)) {
            Pfadklasse& ap = apfad.setze_pfad(qp.pfadname);
            const bool rechte = rechte_erlaubt && !zp->geschützt;
            // Below a mount point in the target nothing is deleted.
            const bool darunter = ermittle(qp, *zp, ap, löschen_erlaubt && !zp->geschützt, rechte);
            if (rechte && verzeichnisrechte_weichen_ab(qp, *zp)) ap.aufgabe = aufgabe_rechte;
            if (darunter || ap.aufgabe != aufgabe_keine) {
                gefunden = true;
                // The run enters it: under the source's spelling.
                if (zp->pfadname != qp.pfadname) apfad.setze_zielname(qp.pfadname, zp->pfadname);
            } else {
                apfad.lösche_pfad(qp.pfadname);
            }
            if (zustand_.abbruch) return gefunden;
            zpfad.lösche_pfad(zp->pfadname);
        } else {
            qp.pfad_kopieren(apfad, aufgabe_kopieren);
            zustand_.anzahl_kopieren += qp.gib_dateianzahl();
            zeige_summe();
            gefunden = true;
        }
    }
    schleife_.ereignisse_verarbeiten();
    if (zustand_.abbruch) return gefunden;

    if (löschen_erlaubt)
        for (const Pfadklasse& zp : zpfad.pfade) {
            if (zp.geschützt || qpfad.ist_ungelesen(zp.pfadname)) continue;
            zustand_.anzahl_löschen += zp.pfad_kopieren(apfad, aufgabe_löschen).gib_dateianzahl();
            gefunden = true;
        }
    schleife_.ereignisse_verarbeiten();
    if (zustand_.abbruch) return gefunden;

    for (const Dateiklasse& qf : qpfad.dateien) {
        const std::string* vorrang = zwillinge.vorrang(qf.Name);
        if (vorrang) apfad.setze_zwilling(qf.Name, *vorrang);
        if (const Dateiklasse* zf =
                vorrang ? nullptr
                        : gegenstück(qf, qpfad.dateien, zpfad.dateien, ignoriert_schreibweise_)) {
            const std::uint32_t verknüpft = qf.attr & attr_über_verknüpfung;
            const bool geändert = ist_geändert(qf, *zf);
            if (geändert ||
                rechte_weichen_ab(qf.rechte, zf->rechte, rechtepflege, verknüpft != 0)) {
                // The attributes of the file that will be overwritten.
                Dateiklasse& a =
                    apfad.setze_datei(qf.Name, qf.datum, qf.größe, zf->attr | verknüpft);
                a.aufgabe = geändert ? aufgabe_kopieren : aufgabe_rechte;
                a.rechte = qf.rechte;
                if (zf->Name != qf.Name) apfad.setze_zielname(qf.Name, zf->Name);
                if (geändert) zähle(zustand_.anzahl_kopieren);
                if (zustand_.abbruch) return gefunden;
                gefunden = true;
            }
            zpfad.lösche_datei(zf->Name);
        } else {
            apfad.setze_datei(qf.Name, qf.datum, qf.größe, qf.attr).aufgabe = aufgabe_kopieren;
            zähle(zustand_.anzahl_kopieren);
            if (zustand_.abbruch) return gefunden;
            gefunden = true;
        }
    }

    if (löschen_erlaubt)
        for (const Dateiklasse& zf : zpfad.dateien) {
            if (qpfad.ist_ungelesen(zf.Name)) continue;
            apfad.setze_datei(zf.Name, zf.datum, zf.größe, zf.attr).aufgabe = aufgabe_löschen;
            zähle(zustand_.anzahl_löschen);
            if (zustand_.abbruch) return gefunden;
            gefunden = true;
        }

    // Where the run works, it removes what a killed run left behind.
    if (const auto* reste = zpfad.gib_reste(); reste && gefunden)
        for (const std::string& r : *reste) apfad.setze_rest(r);
    zeige_summe();
    return gefunden;
}

}  // namespace tarvendo
