#pragma once
// The window's pictures: the 16 × 16 images of the tree views and picture
// buttons, addressed by key, and the program icon.

#include <QIcon>

#include <string_view>

namespace tarvendo {

class Bildliste {
public:
    // The keys in list order; one image has no key.
    static constexpr std::string_view schlüssel[] = {
        "Desktop",
        "Arbeitsplatz",
        "Diskette",
        "Festplatte",
        "Ramdisj",
        "Verzeichnis",
        "Verzeichnis_kopieren",
        "Verzeichnis_löschen",
        "Verzeichnis_diesdas",
        "CD",
        "Netzwerkumgebung",
        "gesamtesNetzwerk",
        "Netzwerk",
        "Arbeitsgruppe",
        "Netzlaufwerk",
        "",
        "Datei",
        "Datei_diesdas",
        "Datei_kopieren",
        "Datei_löschen",
        "Tarvendo",
        "Verzeichnis_kopieren_fehler",
        "Verzeichnis_diesdas_fehler",
        "Verzeichnis_löschen_fehler",
        "Datei_kopieren_fehler",
        "Datei_löschen_fehler",
        "Suche",
    };
    static constexpr int anzahl = static_cast<int>(std::size(schlüssel));

    Bildliste();

    // The image by its list position (0-based); a null icon outside the list.
    [[nodiscard]] const QIcon& bild(int index) const;
    // The image by key; a null icon for an unknown key.
    [[nodiscard]] const QIcon& bild(std::string_view key) const;
    // The list position of a key, -1 when there is none.
    [[nodiscard]] static int index(std::string_view key);

    // The program's icon at 16, 32 and 48 pixels.
    [[nodiscard]] static QIcon programmsymbol();

private:
    QIcon bilder_[anzahl];
    QIcon kein_bild_;
};

}  // namespace tarvendo
