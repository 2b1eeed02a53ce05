#include "mainwindow/aufgabenansicht.h"

#include <unordered_set>
#include <vector>

#include "engine/aufgabenermittlung.h"
#include "engine/aufgabensumme.h"
#include "mainwindow/bildliste.h"
#include "widgets/anzeigetext.h"

namespace tarvendo {
namespace {

constexpr std::int32_t ungebaut = 2;
constexpr std::int32_t gebaut = 1;

std::string_view verzeichnisbild(std::int32_t aufgabe) {
    if (aufgabe == aufgabe_kopieren) return Bildliste::schlüssel(Bildnr::Verzeichnis_kopieren);
    if (aufgabe == aufgabe_löschen) return Bildliste::schlüssel(Bildnr::Verzeichnis_löschen);
    return Bildliste::schlüssel(Bildnr::Verzeichnis_diesdas);
}

std::string_view dateibild(std::int32_t aufgabe) {
    // Only its rights change.
    if (aufgabe == aufgabe_rechte) return Bildliste::schlüssel(Bildnr::Datei_diesdas);
    return Bildliste::schlüssel(aufgabe == aufgabe_löschen ? Bildnr::Datei_löschen
                                                           : Bildnr::Datei_kopieren);
}

Baumansicht::Neu platzhalter(const std::string& eltern) {
    return {platzhalterschlüssel(eltern),
            QStringLiteral("Dummy"),
            Bildliste::schlüssel(Bildnr::Verzeichnis_diesdas),
            {},
            false};
}

// Gathers the ticked directories below which something is not ticked; true
// when everything at and below pfad is ticked.
bool sammle_teilweise(const Pfadklasse& pfad, std::unordered_set<const Pfadklasse*>& teilweise) {
    if (!pfad.checked) return false;  // then nothing below is ticked either
    bool alles = true;
    for (const Pfadklasse& sub : pfad.pfade)
        if (!sammle_teilweise(sub, teilweise)) alles = false;
    for (const Dateiklasse& f : pfad.dateien)
        if (!f.checked) alles = false;
    if (!alles) teilweise.insert(&pfad);
    return alles;
}

}  // namespace

std::string dateischlüssel(const std::string& verzeichnisschlüssel, const std::string& name) {
    std::string key = verzeichnisschlüssel;
    key += '/';
    key += name;
    key += '\0';
    return key;
}

std::string platzhalterschlüssel(const std::string& verzeichnisschlüssel) {
    std::string key = verzeichnisschlüssel;
    key += '/';
    key += '\0';
    key += "Dummy";
    return key;
}

Aufgabenansicht::Aufgabenansicht(Baumansicht& baum, Statusanzeige& Arbeitsinfo,
                                 Programmzustand& zustand,
                                 const std::unique_ptr<Pfadklasse>& aufgabenbaum,
                                 std::function<void(const std::string&)> schwerer_fehler)
    : baum_(baum),
      info_(Arbeitsinfo),
      zustand_(zustand),
      aufgabenbaum_(aufgabenbaum),
      schwerer_fehler_(std::move(schwerer_fehler)) {
    QObject::connect(&baum_, &Baumansicht::Expand, &baum_,
                     [this](Knoten* k) { Arbeitsbaum_Expand(k); });
    QObject::connect(&baum_, &Baumansicht::NodeCheck, &baum_,
                     [this](Knoten* k) { Arbeitsbaum_NodeCheck(k); });
}

void Aufgabenansicht::zeige(const std::string& zielbasis) {
    teilweise_.clear();
    Pfadklasse& wurzel = *aufgabenbaum_;
    Knoten* k = baum_.füge_hinzu({zielbasis,
                                  anzeigetext(zielbasis),
                                  Bildliste::schlüssel(Bildnr::Tarvendo),
                                  {ungebaut, &wurzel},
                                  wurzel.checked});
    if (!k) return;
    baum_.setze_sortiert(*k, true);
    Arbeitsbaum_Expand(k);
    k->setExpanded(true);
}

void Aufgabenansicht::gibUnterverzeichnisse(Knoten& eltern) {
    auto* const* pfad = std::get_if<Pfadklasse*>(&eltern.Tag.eintrag);
    if (!pfad || !*pfad) return;
    const std::string präfix = eltern.Key() + '/';

    // One batch per level; the placeholders follow once their directories exist.
    std::vector<Baumansicht::Neu> neue;
    std::vector<const std::string*> namen;
    std::vector<Knoten*> mit_inhalt;
    for (Pfadklasse& sub : (*pfad)->pfade) {
        const bool hat_inhalt = !sub.dateien.empty() || !sub.pfade.empty();
        neue.push_back({präfix + sub.pfadname,
                        anzeigetext(sub.pfadname),
                        verzeichnisbild(sub.aufgabe),
                        {hat_inhalt ? ungebaut : gebaut, &sub},
                        sub.checked});
        namen.push_back(&sub.pfadname);
    }
    for (Dateiklasse& f : (*pfad)->dateien) {
        neue.push_back({dateischlüssel(eltern.Key(), f.Name),
                        anzeigetext(f.Name),
                        dateibild(f.aufgabe),
                        {gebaut, &f},
                        f.checked});
        namen.push_back(&f.Name);
    }
    baum_.setze_sortiert(eltern, true);
    if (const auto fehler = baum_.füge_kinder_hinzu(eltern, neue)) {
        schwerer_fehler_("Schwerer Fehler bei Verzeichniseintrag\nEbene 0: <" + eltern.Key() +
                         ">\nEbene 1: <" + eltern.Key() + *namen[*fehler] + ">");
        return;
    }
    // Placeholder keys hold a NUL and cannot collide, so these cannot fail.
    for (int i = 0; i < eltern.Children(); ++i) {
        Knoten* kind = eltern.Child(i);
        if (!kind) continue;
        if (auto* const* sub = std::get_if<Pfadklasse*>(&kind->Tag.eintrag);
            sub && teilweise_.contains(*sub))
            baum_.setze_haken(*kind, true, true);
        if (kind->Tag.zustand != ungebaut) continue;
        Baumansicht::Neu dummy = platzhalter(kind->Key());
        (void)baum_.füge_kinder_hinzu(*kind, std::span(&dummy, 1));
    }
}

void Aufgabenansicht::Arbeitsbaum_Expand(Knoten* knoten) {
    if (!knoten || knoten->Tag.zustand != ungebaut) return;
    while (knoten->Children() > 0) baum_.entferne(knoten->Child(0));
    gibUnterverzeichnisse(*knoten);
    knoten->Tag.zustand = gebaut;
}

void Aufgabenansicht::Arbeitsbaum_NodeCheck(Knoten* knoten) {
    if (!knoten || zustand_.läuft || !aufgabenbaum_) return;
    if (auto* const* pfad = std::get_if<Pfadklasse*>(&knoten->Tag.eintrag)) {
        (*pfad)->setze_pfadchecked(knoten->Checked());
    } else if (auto* const* datei = std::get_if<Dateiklasse*>(&knoten->Tag.eintrag)) {
        Knoten* eltern = knoten->Parent();
        auto* const* verzeichnis =
            eltern ? std::get_if<Pfadklasse*>(&eltern->Tag.eintrag) : nullptr;
        if (verzeichnis) (*verzeichnis)->setze_dateichecked((*datei)->Name, knoten->Checked());
    }
    teilweise_.clear();
    sammle_teilweise(*aufgabenbaum_, teilweise_);
    // One change notice per box would make the view look each node up anew.
    if (Knoten* wurzel = baum_.wurzel())
        baum_.in_einem_zug([&] { aktualisiere_checkboxen(*wurzel); });
    zustand_.anzahl_kopieren = 0;
    zustand_.anzahl_löschen = 0;
    zustand_.summe_gesamt = 0;
    zustand_.summe_erledigt = 0;
    erstelle_aufgabensumme(*aufgabenbaum_, zustand_);
    info_.text(summentext(zustand_.anzahl_kopieren, zustand_.anzahl_löschen));
}

void Aufgabenansicht::aktualisiere_checkboxen(Knoten& knoten) {
    if (auto* const* pfad = std::get_if<Pfadklasse*>(&knoten.Tag.eintrag))
        baum_.setze_haken(knoten, (*pfad)->checked, teilweise_.contains(*pfad));
    else if (auto* const* datei = std::get_if<Dateiklasse*>(&knoten.Tag.eintrag))
        baum_.setze_haken(knoten, (*datei)->checked);
    for (int i = 0; i < knoten.Children(); ++i) aktualisiere_checkboxen(*knoten.Child(i));
}

}  // namespace tarvendo
