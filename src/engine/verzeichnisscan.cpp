#include "engine/verzeichnisscan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>

#include "engine/systemkopie.h"
#include "engine/versionsordner.h"
#include "support/pfad.h"

namespace tarvendo {

namespace {

constexpr std::int64_t sekunden_je_tag = 86400;
constexpr double tage_1899_bis_1970 = 25569.0;

bool ist_punkt_oder_punktpunkt(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

double datum_aus_sekunden(std::int64_t lokale_sekunden) {
    std::int64_t tage = lokale_sekunden / sekunden_je_tag;
    std::int64_t rest = lokale_sekunden % sekunden_je_tag;
    if (rest < 0) {  // before 1970: whole days down, time of day stays positive
        rest += sekunden_je_tag;
        --tage;
    }
    return tage_1899_bis_1970 + static_cast<double>(tage) +
           static_cast<double>(rest) / static_cast<double>(sekunden_je_tag);
}

std::int64_t utc_versatz_jetzt() {
    ::tzset();  // the zone in force now, even if TZ changed since the last scan
    const std::time_t jetzt = std::time(nullptr);
    std::tm lokal{};
    if (!::localtime_r(&jetzt, &lokal)) return 0;
    return lokal.tm_gmtoff;
}

Verzeichnisscan::Verzeichnisscan(Anzeigen& anzeigen, Ereignisschleife& schleife,
                                 const Programmzustand& zustand, Verzeichnisquelle& quelle)
    : anzeigen_(anzeigen),
      schleife_(schleife),
      zustand_(zustand),
      quelle_(quelle),
      versatz_(utc_versatz_jetzt()) {}

std::string Verzeichnisscan::fortschrittstext() const {
    return std::to_string(anzahl_verzeichnisse) + " Verzeichnisse / " +
           std::to_string(anzahl_dateien) + " Dateien";
}

void Verzeichnisscan::verzeichnis_auslesen(const std::string& pfad, Pfadklasse& knoten, bool ziel) {
    ziel_ = ziel;
    weg_.clear();
    gelesen_.clear();
    anfang_.clear();
    über_verknüpfung_ = false;
    // The chosen base itself may be a link.
    Geöffnet geöffnet = quelle_.öffne(pfad);
    if (!ziel && geöffnet) {
        anfang_.push_back(geöffnet.wert()->kennung());
        for (Geöffnet oben = geöffnet.wert()->öffne("..", false);
             oben && oben.wert()->kennung() != anfang_.back();  // the root is its own parent
             oben = oben.wert()->öffne("..", false))
            anfang_.push_back(oben.wert()->kennung());
    }
    lies_verzeichnis(pfad, knoten, std::move(geöffnet));
}

bool Verzeichnisscan::führt_zurück(Verzeichnisliste& verzeichnis) {
    const auto ist_anfang = [&](const Verzeichniskennung& k) {
        return std::find(anfang_.begin(), anfang_.end(), k) != anfang_.end();
    };
    if (ist_anfang(verzeichnis.kennung())) return true;
    Verzeichniskennung unten = verzeichnis.kennung();
    for (Geöffnet oben = verzeichnis.öffne("..", false); oben;
         oben = oben.wert()->öffne("..", false)) {
        const Verzeichniskennung k = oben.wert()->kennung();
        if (k == unten) return false;  // the root: it lies elsewhere
        // The first of the start's directories met decides: the start
        // itself, or an ancestor beside which it lies.
        if (ist_anfang(k)) return k == anfang_.front();
        unten = k;
    }
    return false;  // a way up that cannot be read: the read-once rule still ends the walk
}

bool Verzeichnisscan::übergehen(Verzeichnisliste& verzeichnis, bool durch_link) {
    const Verzeichniskennung kennung = verzeichnis.kennung();
    if (gelesen_.contains(kennung)) return true;
    // Only a mount point can begin another file system.
    if (!weg_.empty() && weg_.back().gerät != kennung.gerät && verzeichnis.pseudodateisystem())
        return true;
    // A link into the tree must not take the place of the directory itself,
    // which is read where it lies, whether before or after the link.
    return durch_link && führt_zurück(verzeichnis);
}

void Verzeichnisscan::lies_verzeichnis(const std::string& pfad, Pfadklasse& knoten,
                                       Geöffnet geöffnet) {
    anzeigen_.Arbeitsverzeichnis.textpfad(pfad);
    anzeigen_.Arbeitsinfo.text(fortschrittstext());
    ++anzahl_verzeichnisse;

    if (!geöffnet) {
        markiere(pfad, knoten);
        return;
    }
    const std::unique_ptr<Verzeichnisliste> liste = std::move(geöffnet).wert();
    const Verzeichniskennung kennung = liste->kennung();
    if (!ziel_) {
        if (weg_.empty() && liste->pseudodateisystem()) {  // the start: delete nothing
            markiere(pfad, knoten);
            return;
        }
        gelesen_.insert(kennung);
    }
    knoten.rechte = liste->rechte();
    for (const Verzeichniskennung& k : weg_)
        if (k == kennung) {  // a link back up the path: entering it would never end
            markiere(pfad, knoten);
            return;
        }
    if (ziel_ && !weg_.empty() && weg_.back().gerät != kennung.gerät) {
        knoten.geschützt = true;
        grenzen.push_back(pfad);
    }
    weg_.push_back(kennung);
    lies_einträge(*liste, pfad, knoten);
    weg_.pop_back();
}

void Verzeichnisscan::lies_einträge(Verzeichnisliste& liste, const std::string& pfad,
                                    Pfadklasse& knoten) {
    // The whole listing first, so that the data of its entries can be
    // fetched in one batch; then the entries in listing order.
    struct Eintrag {
        std::string name;
        Eintragsart art;  // a directory known from the listing needs no stat
    };
    std::vector<Eintrag> einträge;
    bool vollständig = true;
    for (;;) {
        const Ergebnis<Listeneintrag> nächster = liste.nächster();
        if (!nächster) {  // what was read stays; the rest is unknown
            vollständig = false;
            break;
        }
        const Listeneintrag eintrag = nächster.wert();
        if (!eintrag.name) break;
        if (ist_punkt_oder_punktpunkt(eintrag.name)) continue;
        // The target base's version folder is the program's, not the backup's.
        if (weg_.size() == 1 && std::string_view(eintrag.name) == reservierter_ordner) {
            if (!ziel_) reserviert = verbinde(pfad, eintrag.name);
            continue;
        }
        einträge.push_back({eintrag.name, eintrag.art});
    }

    std::vector<Datenabfrage> abfragen;
    abfragen.reserve(einträge.size());
    for (const Eintrag& e : einträge)
        if (e.art != Eintragsart::verzeichnis) abfragen.push_back({e.name.c_str(), {}, 0});
    liste.daten_mehrere(abfragen, !ziel_);

    std::size_t abfrage = 0;
    for (Eintrag& e : einträge) {
        if (e.art == Eintragsart::verzeichnis) {
            unterverzeichnis(liste, e.name, pfad, knoten, false);
        } else {
            const Datenabfrage& a = abfragen[abfrage++];
            if (a.fehler != 0)
                nicht_lesbar(liste, std::move(e.name), a.fehler, pfad, knoten);
            else if (a.daten.verzeichnis)
                unterverzeichnis(liste, e.name, pfad, knoten, a.daten.durch_link);
            else if (a.daten.sonderdatei) {
                // Never opened: a FIFO would block, a device may act. In the
                // target it is a file to delete or replace.
                if (ziel_) {
                    datei(std::move(e.name), a.daten, knoten);
                } else {
                    sonderdateien.push_back(verbinde(pfad, e.name));
                    knoten.setze_ungelesen(std::move(e.name));
                }
            } else
                datei(std::move(e.name), a.daten, knoten);
        }
        if (zustand_.abbruch) break;
    }
    if (!vollständig) markiere(pfad, knoten);
}

void Verzeichnisscan::nicht_lesbar(Verzeichnisliste& liste, std::string name, int fehler,
                                   const std::string& pfad, Pfadklasse& knoten) {
    if (!ziel_) {
        // A link whose target is missing (an unplugged drive), refused or a
        // loop: what it stands for is unknown, so its name is protected.
        const Ergebnis<Eintragsdaten> eigene = liste.daten(name.c_str(), false);
        if (eigene && eigene.wert().link) {
            nicht_gelesen.push_back(verbinde(pfad, name));
            knoten.setze_ungelesen(std::move(name));
            return;
        }
        if (eigene.fehlercode() == ENOENT) return;  // gone since the listing
    }
    if (fehler != ENOENT) markiere(pfad, knoten);
}

void Verzeichnisscan::unterverzeichnis(Verzeichnisliste& liste, const std::string& name,
                                       const std::string& pfad, Pfadklasse& knoten,
                                       bool durch_link) {
    Geöffnet geöffnet = weg_.size() < größte_tiefe ? liste.öffne(name.c_str(), !ziel_)
                                                   : Geöffnet::fehler(ENAMETOOLONG);
    if (geöffnet && ausgenommen && geöffnet.wert()->kennung() == *ausgenommen) return;
    if (!ziel_ && geöffnet && übergehen(*geöffnet.wert(), durch_link)) {
        // Nothing is made of it in the target, and nothing of its name deleted.
        übergangen.push_back(verbinde(pfad, name));
        knoten.setze_ungelesen(name);
        return;
    }
    Pfadklasse& kind = knoten.setze_pfad(name);
    const bool vorher = über_verknüpfung_;
    über_verknüpfung_ = vorher || durch_link;
    lies_verzeichnis(verbinde(pfad, name), kind, std::move(geöffnet));
    über_verknüpfung_ = vorher;
    zeige_fortschritt_und_warte();
}

void Verzeichnisscan::datei(std::string name, const Eintragsdaten& daten, Pfadklasse& knoten) {
    // A copy of a killed run is no file of the user's: never a task, and
    // removed by the next run that works in its directory.
    if (ist_temporärer_name(name)) {
        if (ziel_ && !daten.link) knoten.setze_rest(std::move(name));
        return;
    }
    std::uint32_t attr = 0;
    if ((daten.modus & S_IWUSR) == 0) attr |= attr_schreibgeschützt;
    if (name.starts_with('.')) attr |= attr_versteckt;
    if (daten.link) attr |= attr_verknüpfung;
    if (daten.durch_link || über_verknüpfung_) attr |= attr_über_verknüpfung;
    if (daten.sonderdatei) attr |= attr_sonderdatei;
    knoten
        .setze_datei(std::move(name), datum_aus_sekunden(daten.sekunden + versatz_), daten.größe,
                     attr)
        .rechte = {daten.modus & 07777, daten.benutzer, daten.gruppe};
    ++anzahl_dateien;
    if (anzahl_dateien % 100 == 0) zeige_fortschritt_und_warte();
}

void Verzeichnisscan::markiere(const std::string& pfad, Pfadklasse& knoten) {
    if (knoten.nicht_gelesen) return;
    knoten.nicht_gelesen = true;
    nicht_gelesen.push_back(pfad);
}

void Verzeichnisscan::zeige_fortschritt_und_warte() {
    anzeigen_.Arbeitsinfo.text(fortschrittstext());
    schleife_.ereignisse_verarbeiten();
}

}  // namespace tarvendo
