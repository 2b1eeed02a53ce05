#pragma once
// Where the window's elements go for a given inner size. Everything is in
// twips (1/1440 inch), so the arrangement does not depend on the screen.

namespace tarvendo {

struct Rechteck {
    float links = 0;
    float oben = 0;
    float breite = 0;
    float höhe = 0;
    bool operator==(const Rechteck&) const = default;
};

// The elements that the arrangement moves or sizes, each relative to its
// container, plus the picture buttons that only keep their place.
struct Anordnung {
    Rechteck Rahmen_Quellverzeichnis{90, 135, 3800, 645};
    Rechteck Quellverzeichnis_Festlegen{135, 235, 375, 330};
    Rechteck Basisverzeichnis{585, 315, 1005, 195};
    Rechteck Rahmen_Zielverzeichnis{3960, 135, 3800, 645};
    Rechteck Zielverzeichnis_Festlegen{135, 235, 375, 330};
    Rechteck Zielbasisverzeichnis{585, 315, 1005, 195};
    Rechteck Rahmen_Aufgaben{90, 945, 3800, 2800};
    Rechteck Arbeitsbaum{90, 270, 3585, 2430};
    Rechteck Rahmen_Erledigt{3960, 945, 3800, 2800};
    Rechteck Aufgaben_erledigt{90, 270, 3585, 2430};
    Rechteck Inforahmen{90, 3780, 7665, 1320};
    Rechteck CompareButton{45, 135, 1500, 375};
    Rechteck SyncButton{6120, 135, 1500, 375};
    Rechteck Arbeitsschritt{0, 675, 3795, 285};
    Rechteck Arbeitsverzeichnis{3825, 675, 3795, 285};
    Rechteck Arbeitsinfo{0, 990, 3795, 285};
    Rechteck Arbeitsdatei{3825, 990, 3810, 285};
    bool operator==(const Anordnung&) const = default;
};

// The inner size of the window as designed.
inline constexpr float entwurfsbreite = 7845;
inline constexpr float entwurfshöhe = 5190;

// Lays out a for the inner size breite × höhe. Each step reads what the
// steps before it left; widths and heights that would turn negative on a
// very small window become 0.
[[nodiscard]] Anordnung ordne_an(Anordnung a, float breite, float höhe);

struct Pixelrechteck {
    int links = 0;
    int oben = 0;
    int breite = 0;
    int höhe = 0;
    bool operator==(const Pixelrechteck&) const = default;
};

// r in pixels at tx, ty twips per pixel. The right and bottom edges are
// rounded, not the width and height, so that neighbours meet without a gap.
[[nodiscard]] Pixelrechteck in_pixeln(const Rechteck& r, double tx, double ty);

}  // namespace tarvendo
