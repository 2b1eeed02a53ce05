#include "engine/vergleich.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/aufgabenermittlung.h"
#include "engine/laufsperre.h"
#include "engine/verzeichnisscan.h"
#include "engine/zielmedium.h"

namespace tarvendo {

namespace {

void leere(Anzeigen& anzeigen) {
    anzeigen.Arbeitsverzeichnis.text("");
    anzeigen.Arbeitsdatei.text("");
    anzeigen.Arbeitsinfo.text("");
}

void schritt(Anzeigen& anzeigen, std::string_view text) {
    anzeigen.Arbeitsschritt.text(text);
    leere(anzeigen);
}

}  // namespace

std::optional<std::string_view> prüfe_verzeichnisse(std::string_view quelle,
                                                    std::string_view ziel) {
    if (quelle.empty()) return "Quellverzeichnis nicht festgelegt";
    if (ziel.empty()) return "Zielverzeichnis nicht festgelegt";
    if (quelle == ziel) return "Quellverzeichnis und Zielverzeichnis müssen unterschiedlich sein";
    if (liegt_in(std::string(quelle), std::string(ziel)))
        return "Das Quellverzeichnis liegt im Zielverzeichnis.";
    return std::nullopt;
}

bool liegt_in(const std::string& innen, const std::string& außen) {
    struct stat a {};
    if (::stat(außen.c_str(), &a) != 0 || !S_ISDIR(a.st_mode)) return false;
    int fd = ::open(innen.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool drin = false;
    while (fd >= 0) {
        struct stat st {
        }, oben_st{};
        if (::fstat(fd, &st) != 0) break;
        if (st.st_dev == a.st_dev && st.st_ino == a.st_ino) {
            drin = true;
            break;
        }
        const int oben = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = oben;
        // At the root ".." is the directory itself.
        if (fd < 0 || ::fstat(fd, &oben_st) != 0 ||
            (oben_st.st_dev == st.st_dev && oben_st.st_ino == st.st_ino))
            break;
    }
    if (fd >= 0) ::close(fd);
    return drin;
}

bool vergleiche(Vergleichsstand& stand, const std::string& quelle, const std::string& ziel,
                Anzeigen& anzeigen, Ereignisschleife& schleife, Programmzustand& zustand,
                Verzeichnisquelle& dateisystem) {
    const Laufsperre sperre(zustand);
    if (!sperre) return false;
    zustand.abbruch = false;
    zustand.anzahl_kopieren = 0;
    zustand.anzahl_löschen = 0;

    schritt(anzeigen, "Speicher freigeben");
    stand.aufgabenbaum.reset();
    stand.zielbaum.reset();
    stand.quellbaum.reset();
    stand.nicht_gelesen.clear();
    stand.grenzen.clear();
    stand.übergangen.clear();
    stand.sonderdateien.clear();
    stand.reserviert.clear();
    stand.ziel_dateien = 0;
    stand.quelle_leer = false;
    stand.abgebrochen = false;
    stand.quellbaum = std::make_unique<Pfadklasse>(quelle);
    stand.zielbaum = std::make_unique<Pfadklasse>(ziel);
    stand.aufgabenbaum = std::make_unique<Pfadklasse>("");

    // One scan for both trees: one offset from UTC for both.
    Verzeichnisscan scan(anzeigen, schleife, zustand, dateisystem);
    // The target, wherever the source's walk meets it (inside the source or
    // through a link), is not part of what it backs up.
    if (struct stat z{}; ::stat(ziel.c_str(), &z) == 0)
        scan.ausgenommen = Verzeichniskennung{static_cast<std::uint64_t>(z.st_dev),
                                              static_cast<std::uint64_t>(z.st_ino)};
    const auto lies = [&](std::string_view text, const std::string& pfad, Pfadklasse& wurzel,
                          bool ist_ziel) {
        if (zustand.abbruch) return;
        scan.anzahl_verzeichnisse = 0;
        scan.anzahl_dateien = 0;
        schritt(anzeigen, text);
        scan.verzeichnis_auslesen(pfad, wurzel, ist_ziel);
        schleife.ereignisse_verarbeiten();
    };
    lies("Quellverzeichnisstruktur auslesen", quelle, *stand.quellbaum, false);
    stand.quelle_leer = stand.quellbaum->pfade.empty() && stand.quellbaum->dateien.empty() &&
                        !stand.quellbaum->nicht_gelesen;
    scan.ausgenommen.reset();
    lies("Zielverzeichnisstruktur auslesen", ziel, *stand.zielbaum, true);
    stand.ziel_dateien = scan.anzahl_dateien;

    if (!zustand.abbruch) {
        schritt(anzeigen, "Aufgaben ermitteln");
        Aufgabenermittlung ermittlung(anzeigen, schleife, zustand);
        PosixDateioperationen ops;
        const Zieleigenschaften medium = prüfe_ziel(ops, ziel);
        ermittlung.setze_ziel_ignoriert_schreibweise(medium.ignoriert_schreibweise);
        ermittlung.rechtepflege = {medium.hält_rechte, medium.hält_eigentümer};
        (void)ermittlung.aufgaben_ermitteln(*stand.quellbaum, *stand.zielbaum, *stand.aufgabenbaum);
    }

    anzeigen.Arbeitsschritt.text("");
    leere(anzeigen);
    stand.nicht_gelesen = std::move(scan.nicht_gelesen);
    stand.grenzen = std::move(scan.grenzen);
    stand.übergangen = std::move(scan.übergangen);
    stand.sonderdateien = std::move(scan.sonderdateien);
    stand.reserviert = std::move(scan.reserviert);
    stand.abgebrochen = zustand.abbruch;
    if (stand.abgebrochen) return true;

    stand.aufgabenbaum->setze_pfadchecked(true);
    anzeigen.Arbeitsinfo.text(summentext(zustand.anzahl_kopieren, zustand.anzahl_löschen));
    return true;
}

namespace {

std::string liste(std::string_view kopf, const std::vector<std::string>& pfade,
                  std::string_view fuß) {
    constexpr std::size_t höchstens = 10;
    std::string text(kopf);
    for (std::size_t i = 0; i < pfade.size() && i < höchstens; ++i) text += "\n" + pfade[i];
    if (pfade.size() > höchstens)
        text += "\n… und " + std::to_string(pfade.size() - höchstens) + " weitere";
    text += "\n\n";
    text += fuß;
    return text;
}

}  // namespace

std::string nicht_gelesen_hinweis(const std::vector<std::string>& pfade) {
    return liste("Folgende Verzeichnisse konnten nicht gelesen werden:", pfade,
                 "Darunter wird im Zielverzeichnis nichts gelöscht.");
}

std::optional<std::string> vergleichshinweis(const Vergleichsstand& stand) {
    if (stand.abgebrochen) return std::nullopt;
    std::string text;
    const auto absatz = [&](const std::vector<std::string>& pfade, std::string_view kopf,
                            std::string_view fuß) {
        if (pfade.empty()) return;
        if (!text.empty()) text += "\n\n";
        text += liste(kopf, pfade, fuß);
    };
    if (!stand.nicht_gelesen.empty()) text = nicht_gelesen_hinweis(stand.nicht_gelesen);
    absatz(stand.grenzen,
           "Folgende Verzeichnisse im Zielverzeichnis liegen auf einem anderen Dateisystem:",
           "Darin wird nichts gelöscht.");
    absatz(stand.übergangen,
           "Folgende Verknüpfungen und Verzeichnisse wurden nicht gelesen, weil sie zum "
           "Quellverzeichnis zurückführen, schon gelesen wurden oder zu einem "
           "Systemdateisystem gehören:",
           "Im Zielverzeichnis bleibt unter diesen Namen alles, wie es ist.");
    absatz(stand.sonderdateien,
           "Folgende Sonderdateien (Pipes, Sockets, Geräte) wurden nicht gesichert:",
           "Im Zielverzeichnis bleibt unter diesen Namen alles, wie es ist.");
    if (!stand.reserviert.empty())
        absatz({stand.reserviert}, "Folgender Eintrag im Quellverzeichnis wird nicht kopiert:",
               "Im Zielverzeichnis ist dieser Name den Versionen vorbehalten.");
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace tarvendo
