#pragma once
// The window's pictures: the 16 × 16 images of the tree views and picture
// buttons, addressed by key, and the program icon.

#include <QIcon>

#include <iterator>
#include <string_view>

#include "engine/schnittstellen.h"

namespace tarvendo {

// Hidden from moc, which cannot read the umlauts of some names.
#ifndef Q_MOC_RUN
// The pictures in list order.
enum class Bildnr {
    Desktop,
    Arbeitsplatz,
    Diskette,
    Festplatte,
    Ramdisk,
    Verzeichnis,
    Verzeichnis_kopieren,
    Verzeichnis_löschen,
    Verzeichnis_diesdas,
    CD,
    Netzwerkumgebung,
    gesamtesNetzwerk,
    Netzwerk,
    Arbeitsgruppe,
    Netzlaufwerk,
    Netzlaufwerk_getrennt,
    Datei,
    Datei_diesdas,
    Datei_kopieren,
    Datei_löschen,
    Tarvendo,
    Verzeichnis_kopieren_fehler,
    Verzeichnis_diesdas_fehler,
    Verzeichnis_löschen_fehler,
    Datei_kopieren_fehler,
    Datei_löschen_fehler,
    Suche,
};

struct Bildangabe {
    Bildnr nr;
    std::string_view schlüssel;  // as the tree views name it; one image has none
    const char* datei;           // :/bilder/<datei>.svg, plain ASCII unlike some keys
    // What the picture says on a node of the done tree; empty for the others.
    std::string_view bedeutung = {};
};

// Every picture once, in the order of Bildnr. The pictures a run sets
// take their keys from the engine, which names them.
inline constexpr Bildangabe bildangaben[] = {
    {Bildnr::Desktop, "Desktop", "desktop"},
    {Bildnr::Arbeitsplatz, "Arbeitsplatz", "arbeitsplatz"},
    {Bildnr::Diskette, "Diskette", "diskette"},
    {Bildnr::Festplatte, "Festplatte", "festplatte"},
    {Bildnr::Ramdisk, "Ramdisj", "ramdisk"},
    {Bildnr::Verzeichnis, "Verzeichnis", "verzeichnis"},
    {Bildnr::Verzeichnis_kopieren, Bild::Verzeichnis_kopieren.schlüssel(), "verzeichnis_kopieren",
     "Verzeichnis erstellt"},
    {Bildnr::Verzeichnis_löschen, Bild::Verzeichnis_löschen.schlüssel(), "verzeichnis_loeschen",
     "Verzeichnis gelöscht"},
    {Bildnr::Verzeichnis_diesdas, Bild::Verzeichnis_diesdas.schlüssel(), "verzeichnis_diesdas",
     "Verzeichnis abgeglichen"},
    {Bildnr::CD, "CD", "cd"},
    {Bildnr::Netzwerkumgebung, "Netzwerkumgebung", "netzwerkumgebung"},
    {Bildnr::gesamtesNetzwerk, "gesamtesNetzwerk", "gesamtesnetzwerk"},
    {Bildnr::Netzwerk, "Netzwerk", "netzwerk"},
    {Bildnr::Arbeitsgruppe, "Arbeitsgruppe", "arbeitsgruppe"},
    {Bildnr::Netzlaufwerk, "Netzlaufwerk", "netzlaufwerk"},
    {Bildnr::Netzlaufwerk_getrennt, "", "netzlaufwerk_getrennt"},
    {Bildnr::Datei, "Datei", "datei"},
    {Bildnr::Datei_diesdas, "Datei_diesdas", "datei_diesdas"},
    {Bildnr::Datei_kopieren, "Datei_kopieren", "datei_kopieren"},
    {Bildnr::Datei_löschen, "Datei_löschen", "datei_loeschen"},
    {Bildnr::Tarvendo, "Tarvendo", "tarvendo"},
    {Bildnr::Verzeichnis_kopieren_fehler, Bild::Verzeichnis_kopieren_fehler.schlüssel(),
     "verzeichnis_kopieren_fehler", "Verzeichnis konnte nicht erstellt werden"},
    {Bildnr::Verzeichnis_diesdas_fehler, "Verzeichnis_diesdas_fehler",
     "verzeichnis_diesdas_fehler"},
    {Bildnr::Verzeichnis_löschen_fehler, Bild::Verzeichnis_löschen_fehler.schlüssel(),
     "verzeichnis_loeschen_fehler", "Verzeichnis konnte nicht gelöscht werden"},
    {Bildnr::Datei_kopieren_fehler, Bild::Datei_kopieren_fehler.schlüssel(),
     "datei_kopieren_fehler", "Datei konnte nicht kopiert werden"},
    {Bildnr::Datei_löschen_fehler, Bild::Datei_löschen_fehler.schlüssel(), "datei_loeschen_fehler",
     "Datei konnte nicht gelöscht werden"},
    {Bildnr::Suche, "Suche", "suche"},
};
static_assert(
    [] {
        for (std::size_t i = 0; i < std::size(bildangaben); ++i)
            if (static_cast<std::size_t>(bildangaben[i].nr) != i) return false;
        return true;
    }(),
    "bildangaben must follow Bildnr");
#endif

class Bildliste {
public:
    static constexpr int anzahl = static_cast<int>(std::size(bildangaben));

    [[nodiscard]] static constexpr std::string_view schlüssel(Bildnr nr) {
        return bildangaben[static_cast<int>(nr)].schlüssel;
    }

    Bildliste();

    // The image by its list position (0-based); a null icon outside the list.
    [[nodiscard]] const QIcon& bild(int index) const;
    // The image by key; a null icon for an unknown key.
    [[nodiscard]] const QIcon& bild(std::string_view key) const;
    [[nodiscard]] const QIcon& bild(Bildnr nr) const { return bild(static_cast<int>(nr)); }
    // The list position of a key, -1 when there is none.
    [[nodiscard]] static int index(std::string_view key);

    // The program's icon at 16, 32 and 48 pixels.
    [[nodiscard]] static QIcon programmsymbol();

private:
    QIcon bilder_[anzahl];
    QIcon kein_bild_;
};

}  // namespace tarvendo
