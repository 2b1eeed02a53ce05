#include "support/pfad.h"

namespace tarvendo {

void hänge_an(std::string& pfad, std::string_view relativ) {
    if (relativ.empty()) return;
    const bool endet = !pfad.empty() && pfad.back() == '/';
    const bool beginnt = relativ.front() == '/';
    if (endet && beginnt)
        relativ.remove_prefix(1);
    else if (!endet && !beginnt)
        pfad += '/';
    pfad += relativ;
}

std::string verbinde(std::string_view basis, std::string_view relativ) {
    std::string pfad;
    pfad.reserve(basis.size() + 1 + relativ.size());
    pfad = basis;
    hänge_an(pfad, relativ);
    return pfad;
}

std::string_view elternpfad(std::string_view pfad) {
    const std::size_t strich = pfad.rfind('/');
    return strich == std::string_view::npos ? std::string_view() : pfad.substr(0, strich);
}

std::string_view letzter_name(std::string_view pfad) {
    const std::size_t strich = pfad.rfind('/');
    return strich == std::string_view::npos ? pfad : pfad.substr(strich + 1);
}

}  // namespace tarvendo
