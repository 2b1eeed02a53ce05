#pragma once
// The arithmetic of a progress display, free of any drawing: column colours,
// the bar's end, the percentage and the checked sums of its values.

#include <cstdint>

namespace tarvendo {

struct Farbe {
    int rot = 0;
    int grün = 0;
    int blau = 0;
    friend bool operator==(const Farbe&, const Farbe&) = default;
};

// To the nearest whole number, halves to the even neighbour (42.5 -> 42).
[[nodiscard]] double runde_gerade(double wert);

// The colour of column x on a bar of the given width (> 0): red at the left
// edge, yellow in the middle, green towards the right edge.
[[nodiscard]] Farbe spaltenfarbe(int x, int breite);

// Where the bar ends for aktwert out of maxwert, in pixels; 0 when maxwert is 0.
[[nodiscard]] float balkenende(int breite, std::int32_t aktwert, std::int32_t maxwert);

// aktwert in whole percent of maxwert, halves to even; 0 when maxwert is 0.
// Values far outside the scale are held at the 32-bit limits.
[[nodiscard]] std::int32_t prozentzahl(std::int32_t aktwert, std::int32_t maxwert);

// a + b and a - b in 32 bits; a result outside that range throws
// std::overflow_error instead of wrapping.
[[nodiscard]] std::int32_t summe32(std::int32_t a, std::int32_t b);
[[nodiscard]] std::int32_t differenz32(std::int32_t a, std::int32_t b);

}  // namespace tarvendo
