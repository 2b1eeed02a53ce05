#include "mainwindow/aufgabengrund.h"

#include <sys/stat.h>

#include <cmath>

#include "engine/verzeichnisscan.h"

namespace tarvendo {
namespace {

// The entry of the other kind with the same name and the opposite task:
// where a name changed its type, one is deleted and the other created.
template <class T>
bool hat_gegenstück(const Schlüsselsammlung<T>& sammlung, const std::string& name,
                    std::int32_t aufgabe) {
    const T* e = sammlung.gib(name);
    return e && NameVon<T>::von(*e) == name && e->aufgabe == aufgabe;
}

std::int32_t gegenteil(std::int32_t aufgabe) {
    return aufgabe == aufgabe_kopieren ? aufgabe_löschen : aufgabe_kopieren;
}

}  // namespace

QString verzeichnisgrund(const Pfadklasse& pfad) {
    const bool typwechsel =
        pfad.parent && hat_gegenstück(pfad.parent->dateien, pfad.pfadname, gegenteil(pfad.aufgabe));
    if (pfad.aufgabe == aufgabe_kopieren)
        return typwechsel ? QStringLiteral("Typ geändert: wird als Verzeichnis angelegt")
                          : QStringLiteral("Neues Verzeichnis");
    if (pfad.aufgabe == aufgabe_löschen)
        return typwechsel ? QStringLiteral("Typ geändert: in der Quelle eine Datei")
                          : QStringLiteral("Nicht in der Quelle: wird gelöscht");
    if (pfad.aufgabe == aufgabe_rechte)
        return pfad.pfade.empty() && pfad.dateien.empty()
                   ? QStringLiteral("Nur die Rechte werden angeglichen")
                   : QStringLiteral("Rechte werden angeglichen; enthält Aufgaben");
    return QStringLiteral("Enthält Aufgaben");
}

QString dateigrund(const Dateiklasse& datei, const Pfadklasse* eltern,
                   const std::string& zielpfad) {
    const bool typwechsel =
        eltern && hat_gegenstück(eltern->pfade, datei.Name, gegenteil(datei.aufgabe));
    if (datei.aufgabe == aufgabe_löschen) {
        if ((datei.attr & attr_verknüpfung) != 0 && typwechsel)
            return QStringLiteral("Verknüpfung wird durch ein Verzeichnis ersetzt");
        return typwechsel ? QStringLiteral("Typ geändert: in der Quelle ein Verzeichnis")
                          : QStringLiteral("Nicht in der Quelle: wird gelöscht");
    }
    if (datei.aufgabe == aufgabe_rechte)
        return QStringLiteral("Nur die Rechte werden angeglichen (%1)")
            .arg(datei.rechte.modus, 4, 8, QLatin1Char('0'));
    if (typwechsel) return QStringLiteral("Typ geändert: wird als Datei angelegt");
    if ((datei.attr & attr_verknüpfung) != 0)
        return QStringLiteral("Verknüpfung wird durch die Datei ersetzt");
    struct stat st {};
    if (::lstat(zielpfad.c_str(), &st) != 0) return QStringLiteral("Neue Datei");
    if (st.st_size != datei.größe)
        return QStringLiteral("Größe %1 → %2 Bytes")
            .arg(static_cast<qint64>(st.st_size))
            .arg(static_cast<qint64>(datei.größe));
    const double ziel = datum_aus_sekunden(st.st_mtim.tv_sec + utc_versatz_jetzt());
    const double sekunden = std::fabs(std::nearbyint((datei.datum - ziel) * 86400.0));
    if (sekunden > 2) {
        if (sekunden < 3600)
            return QStringLiteral("Zeit weicht um %1 s ab").arg(static_cast<qint64>(sekunden));
        return QStringLiteral("Zeit weicht um %1 h ab").arg(std::round(sekunden / 360.0) / 10.0);
    }
    return QStringLiteral("Rechte oder Art geändert");
}

}  // namespace tarvendo
