#include "mainwindow/bildliste.h"

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

// The pictures are compiled into this static library, which must register them.
static void lade_ressourcen() {
    Q_INIT_RESOURCE(tarvendo);
}

namespace tarvendo {
namespace {

// Resource names in list order: plain ASCII, unlike some keys.
constexpr const char* dateien[] = {
    "desktop",
    "arbeitsplatz",
    "diskette",
    "festplatte",
    "ramdisk",
    "verzeichnis",
    "verzeichnis_kopieren",
    "verzeichnis_loeschen",
    "verzeichnis_diesdas",
    "cd",
    "netzwerkumgebung",
    "gesamtesnetzwerk",
    "netzwerk",
    "arbeitsgruppe",
    "netzlaufwerk",
    "netzlaufwerk_getrennt",
    "datei",
    "datei_diesdas",
    "datei_kopieren",
    "datei_loeschen",
    "tarvendo",
    "verzeichnis_kopieren_fehler",
    "verzeichnis_diesdas_fehler",
    "verzeichnis_loeschen_fehler",
    "datei_kopieren_fehler",
    "datei_loeschen_fehler",
    "suche",
};
static_assert(std::size(dateien) == Bildliste::anzahl);

QPixmap zeichne(QSvgRenderer& zeichner, int pixel) {
    QPixmap bild(pixel, pixel);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    zeichner.render(&maler);
    return bild;
}

// Drawn at 16 pixels and at twice that for screens with finer pixels.
QIcon lade(const QString& resource, std::initializer_list<int> größen) {
    QSvgRenderer zeichner(resource);
    QIcon icon;
    for (const int pixel : größen) icon.addPixmap(zeichne(zeichner, pixel));
    return icon;
}

}  // namespace

Bildliste::Bildliste() {
    lade_ressourcen();
    for (int i = 0; i < anzahl; ++i)
        bilder_[i] =
            lade(QStringLiteral(":/bilder/%1.svg").arg(QLatin1String(dateien[i])), {16, 32});
}

const QIcon& Bildliste::bild(int i) const {
    return i >= 0 && i < anzahl ? bilder_[i] : kein_bild_;
}

const QIcon& Bildliste::bild(std::string_view key) const {
    return bild(index(key));
}

int Bildliste::index(std::string_view key) {
    if (key.empty()) return -1;
    for (int i = 0; i < anzahl; ++i)
        if (schlüssel[i] == key) return i;
    return -1;
}

QIcon Bildliste::programmsymbol() {
    lade_ressourcen();
    return lade(QStringLiteral(":/tarvendo.svg"), {16, 32, 48});
}

}  // namespace tarvendo
