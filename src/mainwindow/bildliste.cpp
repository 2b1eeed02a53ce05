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
        bilder_[i] = lade(
            QStringLiteral(":/bilder/%1.svg").arg(QLatin1String(bildangaben[i].datei)), {16, 32});
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
        if (bildangaben[i].schlüssel == key) return i;
    return -1;
}

QIcon Bildliste::programmsymbol() {
    lade_ressourcen();
    return lade(QStringLiteral(":/tarvendo.svg"), {16, 32, 48});
}

}  // namespace tarvendo
