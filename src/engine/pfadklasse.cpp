#include "engine/pfadklasse.h"

#include <vector>

#include "support/pfad.h"

namespace tarvendo {

namespace {

// The value paired with exactly Name; nullptr when there is none.
const std::string* suche(const std::vector<std::pair<std::string, std::string>>& paare,
                         std::string_view Name) {
    for (const auto& [name, wert] : paare)
        if (name == Name) return &wert;
    return nullptr;
}

}  // namespace

Pfadklasse::~Pfadklasse() = default;

Pfadklasse& Pfadklasse::setze_pfad(std::string Name) {
    auto knoten = std::make_unique<Pfadklasse>(std::move(Name));
    knoten->parent = this;
    return pfade.füge_hinzu(std::move(knoten));
}

bool Pfadklasse::lösche_pfad(std::string_view Name) {
    return pfade.lösche(Name);
}

Dateiklasse& Pfadklasse::setze_datei(std::string Name, double datum, std::int64_t größe,
                                     std::uint32_t attr) {
    auto datei = std::make_unique<Dateiklasse>();
    datei->Name = std::move(Name);
    datei->datum = datum;
    datei->größe = größe;
    datei->attr = attr;
    return dateien.füge_hinzu(std::move(datei));
}

void Pfadklasse::setze_ungelesen(std::string Name) {
    if (!zusatz) zusatz = std::make_unique<Pfadzusatz>();
    zusatz->ungelesen.push_back(std::move(Name));
}

bool Pfadklasse::ist_ungelesen(std::string_view Name) const {
    if (!zusatz) return false;
    for (const std::string& n : zusatz->ungelesen)
        if (schlüssel_gleich(n, Name)) return true;
    return false;
}

void Pfadklasse::setze_zielname(std::string Name, std::string zielname) {
    if (!zusatz) zusatz = std::make_unique<Pfadzusatz>();
    zusatz->zielnamen.emplace_back(std::move(Name), std::move(zielname));
}

const std::string* Pfadklasse::gib_zielname(std::string_view Name) const {
    return zusatz ? suche(zusatz->zielnamen, Name) : nullptr;
}

void Pfadklasse::setze_zwilling(std::string Name, std::string vorrang) {
    if (!zusatz) zusatz = std::make_unique<Pfadzusatz>();
    zusatz->zwillinge.emplace_back(std::move(Name), std::move(vorrang));
}

const std::string* Pfadklasse::gib_zwilling(std::string_view Name) const {
    return zusatz ? suche(zusatz->zwillinge, Name) : nullptr;
}

void Pfadklasse::setze_rest(std::string Name) {
    if (!zusatz) zusatz = std::make_unique<Pfadzusatz>();
    zusatz->reste.push_back(std::move(Name));
}

const std::vector<std::string>* Pfadklasse::gib_reste() const {
    return zusatz && !zusatz->reste.empty() ? &zusatz->reste : nullptr;
}

Pfadklasse* Pfadklasse::gib_pfad(std::string_view Name) const {
    const Pfadklasse* knoten = this;
    for (;;) {
        const std::size_t trenner = Name.find('/');
        Pfadklasse* kind = knoten->pfade.gib(Name.substr(0, trenner));
        if (!kind || trenner == std::string_view::npos) return kind;
        knoten = kind;
        Name.remove_prefix(trenner + 1);
    }
}

Dateiklasse* Pfadklasse::gib_datei(std::string_view Name) const {
    return dateien.gib(Name);
}

bool Pfadklasse::lösche_datei(std::string_view Name) {
    return dateien.lösche(Name);
}

void Pfadklasse::setze_aufgaben(std::int32_t ag) {
    for (Pfadklasse& p : pfade) {
        p.aufgabe = ag;
        p.setze_aufgaben(ag);
    }
    for (Dateiklasse& d : dateien) d.aufgabe = ag;
}

Pfadklasse& Pfadklasse::pfad_kopieren(Pfadklasse& wzpfad, std::int32_t ag) const {
    Pfadklasse& kopie = wzpfad.setze_pfad(pfadname);
    kopie.aufgabe = ag;
    // A directory to remove must lose the leftovers the tree does not show.
    if (const auto* reste = gib_reste(); reste && ag == aufgabe_löschen)
        for (const std::string& r : *reste) kopie.setze_rest(r);
    for (const Pfadklasse& p : pfade) {
        // A mount point below a directory to delete keeps what it holds.
        if (ag != aufgabe_löschen || !p.geschützt)
            p.pfad_kopieren(kopie, ag);
        else
            kopie.hält_grenze = true;
    }
    for (const Dateiklasse& d : dateien)
        kopie.setze_datei(d.Name, d.datum, d.größe, d.attr).aufgabe = ag;
    return kopie;
}

std::int32_t Pfadklasse::gib_dateianzahl() const {
    auto anzahl = static_cast<std::int32_t>(dateien.size());
    for (const Pfadklasse& p : pfade) anzahl += p.gib_dateianzahl();
    return anzahl;
}

void Pfadklasse::setze_pfadchecked(bool chk) {
    setze_checked(chk);
    if (parent) parent->pflege_checked();
}

void Pfadklasse::setze_dateichecked(std::string_view Name, bool chk) {
    if (Dateiklasse* d = dateien.gib(Name)) d->checked = chk;
    pflege_checked();
}

void Pfadklasse::setze_checked(bool chk) {
    checked = chk;
    for (Pfadklasse& p : pfade) p.setze_checked(chk);
    for (Dateiklasse& d : dateien) d.checked = chk;
}

void Pfadklasse::pflege_checked() {
    for (Pfadklasse* knoten = this; knoten; knoten = knoten->parent) {
        bool ergebnis = false;
        for (const Pfadklasse& p : knoten->pfade)
            if (p.checked) {
                ergebnis = true;
                break;
            }
        if (!ergebnis)
            for (const Dateiklasse& d : knoten->dateien)
                if (d.checked) {
                    ergebnis = true;
                    break;
                }
        knoten->checked = ergebnis;
    }
}

std::string Pfadklasse::fullpath() const {
    std::vector<const std::string*> teile;
    for (const Pfadklasse* k = this; k; k = k->parent) teile.push_back(&k->pfadname);
    std::string ergebnis = *teile.back();
    for (auto it = teile.rbegin() + 1; it != teile.rend(); ++it) hänge_an(ergebnis, **it);
    return ergebnis;
}

}  // namespace tarvendo
