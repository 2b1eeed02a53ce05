#include "mainwindow/fenstergroesse.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace tarvendo {
namespace {

int ganz(double x) {
    return static_cast<int>(std::nearbyint(x));
}

std::int32_t minimum(std::initializer_list<double> liste) {
    double kleinstes = 2147483647.0;
    for (const double x : liste) kleinstes = std::min(kleinstes, x);
    return static_cast<std::int32_t>(std::nearbyint(kleinstes));
}

}  // namespace

Größenwahl wähle_größe(const QRect& fläche, const QRect& außen_jetzt, double tx, double ty,
                       std::optional<std::int32_t> gespeichert_breite,
                       std::optional<std::int32_t> gespeichert_höhe) {
    const double bx = fläche.width() * tx;
    const double bh = fläche.height() * ty;
    const double breite_jetzt = außen_jetzt.width() * tx;
    const double höhe_jetzt = außen_jetzt.height() * ty;
    const double oben_jetzt = (außen_jetzt.top() - fläche.top()) * ty;

    Größenwahl wahl;
    std::int32_t breite = gespeichert_breite.value_or(ganz(breite_jetzt));
    wahl.mindestbreite = minimum({bx, breite_jetzt});
    if (bx < breite) breite = ganz(bx);
    std::int32_t höhe = gespeichert_höhe.value_or(ganz(höhe_jetzt + oben_jetzt));
    wahl.mindesthöhe = minimum({bh, höhe_jetzt});
    if (bh < höhe) höhe = ganz(bh);

    if (breite == ganz(bx) && höhe == ganz(bh)) {
        wahl.maximiert = true;
        return wahl;
    }
    const QSize größe(std::min(ganz(breite / tx), fläche.width()),
                      std::min(ganz(höhe / ty), fläche.height()));
    const int links = ganz((bx / 2 - breite_jetzt / 2) / tx);
    const int oben = ganz((bh / 2 - höhe_jetzt / 2) / ty);
    // A stored size larger than the design size would reach past the
    // screen's edge from there, hiding the buttons and displays.
    wahl.außen = QRect(fläche.left() + std::clamp(links, 0, fläche.width() - größe.width()),
                       fläche.top() + std::clamp(oben, 0, fläche.height() - größe.height()),
                       größe.width(), größe.height());
    return wahl;
}

QSize zu_speichernde_größe(QSize außen, bool maximiert, const QSize& fläche, double tx, double ty) {
    if (maximiert) außen = außen.expandedTo(fläche);
    return {ganz(außen.width() * tx), ganz(außen.height() * ty)};
}

}  // namespace tarvendo
