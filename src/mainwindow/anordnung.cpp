#include "mainwindow/anordnung.h"

#include <algorithm>
#include <cmath>

namespace tarvendo {
namespace {

// Halves go to the even neighbour (the default rounding mode).
float ganz(float x) {
    return std::nearbyint(x);
}

float positiv(float x) {
    return std::max(x, 0.0f);
}

}  // namespace

Anordnung ordne_an(Anordnung a, float breite, float höhe) {
    const float spalte = positiv(ganz((breite - 45) / 2));
    const float baumhöhe =
        positiv(ganz(höhe - a.Inforahmen.höhe - a.Rahmen_Quellverzeichnis.höhe - 45));

    // Two columns with 15 twips at the left, between them and at the right.
    a.Rahmen_Quellverzeichnis.links = 15;
    a.Rahmen_Quellverzeichnis.oben = 15;
    a.Rahmen_Quellverzeichnis.breite = spalte;
    a.Basisverzeichnis.breite =
        positiv(a.Rahmen_Quellverzeichnis.breite - a.Basisverzeichnis.links - 90);

    a.Rahmen_Zielverzeichnis.links =
        a.Rahmen_Quellverzeichnis.links + a.Rahmen_Quellverzeichnis.breite + 15;
    a.Rahmen_Zielverzeichnis.oben = a.Rahmen_Quellverzeichnis.oben;
    a.Rahmen_Zielverzeichnis.breite = spalte;
    a.Zielbasisverzeichnis.breite =
        positiv(a.Rahmen_Zielverzeichnis.breite - a.Zielbasisverzeichnis.links - 90);

    a.Rahmen_Aufgaben.links = a.Rahmen_Quellverzeichnis.links;
    a.Rahmen_Aufgaben.oben = a.Rahmen_Quellverzeichnis.oben + a.Rahmen_Quellverzeichnis.höhe + 15;
    a.Rahmen_Aufgaben.breite = spalte;
    a.Rahmen_Aufgaben.höhe = baumhöhe;

    a.Rahmen_Erledigt.links = a.Rahmen_Aufgaben.links + a.Rahmen_Aufgaben.breite + 15;
    a.Rahmen_Erledigt.oben = a.Rahmen_Aufgaben.oben;
    a.Rahmen_Erledigt.breite = spalte;
    a.Rahmen_Erledigt.höhe = baumhöhe;

    // A tree repeats its left inset at its right and at its bottom.
    for (Rechteck* baum : {&a.Arbeitsbaum, &a.Aufgaben_erledigt}) {
        baum->breite = positiv(spalte - 2 * baum->links);
        baum->höhe = positiv(baumhöhe - baum->oben - baum->links);
    }

    a.Inforahmen.links = 0;
    a.Inforahmen.oben = höhe - a.Inforahmen.höhe;
    a.Inforahmen.breite = positiv(breite - 30);

    a.CompareButton.links = (a.Arbeitsbaum.breite - a.CompareButton.breite) / 2 + 15;
    a.SyncButton.links =
        a.Inforahmen.breite - (a.Aufgaben_erledigt.breite + a.SyncButton.breite) / 2 - 15;
    a.SyncButton.oben = a.CompareButton.oben;

    const float hälfte = a.Inforahmen.breite / 2;
    a.Arbeitsschritt.links = 0;
    a.Arbeitsschritt.breite = hälfte;
    a.Arbeitsinfo.links = 0;
    a.Arbeitsinfo.breite = hälfte;
    a.Arbeitsverzeichnis.links = a.Arbeitsschritt.breite;
    a.Arbeitsverzeichnis.breite = hälfte;
    a.Arbeitsverzeichnis.höhe = a.Arbeitsschritt.höhe;
    a.Arbeitsdatei.links = a.Arbeitsinfo.breite;
    a.Arbeitsdatei.breite = hälfte;
    a.Arbeitsdatei.höhe = a.Arbeitsschritt.höhe;
    return a;
}

Pixelrechteck in_pixeln(const Rechteck& r, double tx, double ty) {
    const auto px = [](double twips, double je_pixel) {
        return static_cast<int>(std::nearbyint(twips / je_pixel));
    };
    const int links = px(r.links, tx);
    const int oben = px(r.oben, ty);
    return {links, oben, px(r.links + r.breite, tx) - links, px(r.oben + r.höhe, ty) - oben};
}

}  // namespace tarvendo
