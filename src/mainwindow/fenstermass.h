#pragma once
// The main window's size while it lives: the stored size brought back, the
// frame fitted once the window manager tells it, the limits the user may
// drag to, and the size to store at the end.

#include <QSize>

#include <cstdint>
#include <optional>

class QMainWindow;

namespace tarvendo {

// Twips per pixel at dpi dots per inch.
[[nodiscard]] double twips_je_pixel(int dpi);

class Fenstermaß {
public:
    explicit Fenstermaß(QMainWindow& fenster) : fenster_(fenster) {}

    // Before the window is first shown; breite and höhe are the stored outer
    // size in twips (none: the design size). May set the window maximised.
    void stelle_wieder_her(std::optional<std::int32_t> breite, std::optional<std::int32_t> höhe);
    // Right after the window is shown.
    void nach_dem_zeigen();
    // The outer size to store, in twips.
    [[nodiscard]] QSize zu_speichern() const;

private:
    void passe_an_rahmen_an();
    void warte_auf_rahmen();
    void setze_grenzen();
    [[nodiscard]] QSize außenmaß() const;  // in pixels; the restored size when minimised
    [[nodiscard]] double tx() const;
    [[nodiscard]] double ty() const;

    QMainWindow& fenster_;
    QSize außen_soll_;     // the restored outer size in pixels
    QSize rand_gemessen_;  // the frame when the sizes were measured
    std::int32_t mindestbreite_ = 0;
    std::int32_t mindesthöhe_ = 0;
};

}  // namespace tarvendo
