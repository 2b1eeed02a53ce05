#pragma once
// The window's size across sessions: what comes back at start, what is
// stored at the end. Sizes in the store are outer sizes in twips.

#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

namespace tarvendo {

struct Größenwahl {
    bool maximiert = false;
    QRect außen;                     // outer geometry in pixels, unless maximised
    std::int32_t mindestbreite = 0;  // twips
    std::int32_t mindesthöhe = 0;
};

// fläche: the screen's available area; außen_jetzt: the window as created
// (design size, centred), both in pixels; tx, ty: twips per pixel. A stored
// size that reaches the screen both ways means maximised. Any other size is
// cut to the screen and placed where a window of the design size is
// centred, then moved as far as needed to lie wholly on the screen.
[[nodiscard]] Größenwahl wähle_größe(const QRect& fläche, const QRect& außen_jetzt, double tx,
                                     double ty, std::optional<std::int32_t> breite,
                                     std::optional<std::int32_t> höhe);

// The outer size to store, in twips: a maximised window stores at least the
// screen, so that it comes back maximised.
[[nodiscard]] QSize zu_speichernde_größe(QSize außen, bool maximiert, const QSize& fläche,
                                         double tx, double ty);

}  // namespace tarvendo
