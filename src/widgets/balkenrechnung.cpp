#include "widgets/balkenrechnung.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tarvendo {
namespace {

int kanal(double wert) {
    return static_cast<int>(std::clamp(runde_gerade(wert), 0.0, 255.0));
}

}  // namespace

double runde_gerade(double wert) {
    // nearbyint follows the current rounding mode, which nothing here changes
    // from round-to-nearest-even.
    return std::nearbyint(wert);
}

Farbe spaltenfarbe(int x, int breite) {
    const float t = static_cast<float>(static_cast<double>(x) * 510.0 / breite);
    if (runde_gerade(t) <= 255.0) return {255, kanal(t), 0};
    return {kanal(510.0 - static_cast<double>(t)), 255, 0};
}

float balkenende(int breite, std::int32_t aktwert, std::int32_t maxwert) {
    if (maxwert == 0) return 0.0F;
    return static_cast<float>(static_cast<double>(breite) * aktwert / maxwert);
}

std::int32_t prozentzahl(std::int32_t aktwert, std::int32_t maxwert) {
    if (maxwert == 0) return 0;
    const double p = runde_gerade(static_cast<double>(aktwert) * 100.0 / maxwert);
    constexpr double unten = std::numeric_limits<std::int32_t>::min();
    constexpr double oben = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(p, unten, oben));
}

std::int32_t summe32(std::int32_t a, std::int32_t b) {
    std::int32_t ergebnis = 0;
    if (__builtin_add_overflow(a, b, &ergebnis)) {
        throw std::overflow_error("32-Bit-Überlauf bei der Summe");
    }
    return ergebnis;
}

std::int32_t differenz32(std::int32_t a, std::int32_t b) {
    std::int32_t ergebnis = 0;
    if (__builtin_sub_overflow(a, b, &ergebnis)) {
        throw std::overflow_error("32-Bit-Überlauf bei der Differenz");
    }
    return ergebnis;
}

}  // namespace tarvendo
