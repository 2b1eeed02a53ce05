#include "support/dateiversion.h"

#include <sys/stat.h>

#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

#include "support/pfad.h"

namespace tarvendo {
namespace {

constexpr std::string_view keine_version = "NV";

// The real path of an existing regular file, with every link resolved.
std::optional<std::string> echter_pfad(const std::string& pfad) {
    if (pfad.empty()) return std::nullopt;
    const std::unique_ptr<char, decltype(&std::free)> echt(realpath(pfad.c_str(), nullptr),
                                                           &std::free);
    if (!echt) return std::nullopt;
    struct stat info {};
    if (stat(echt.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return std::string(echt.get());
}

std::optional<std::uint16_t> als_teil(std::string_view text) {
    if (text.empty()) return std::nullopt;
    unsigned wert = 0;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
    if (fehler != std::errc{} || ende != text.data() + text.size() || wert > UINT16_MAX) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(wert);
}

// "A.B.C" -> "A.B.C.0"; nullopt when a part is missing, not a number or too large.
std::optional<std::string> vier_teile(std::string_view text) {
    std::array<std::uint16_t, 4> teile{};
    std::size_t anzahl = 0;
    while (true) {
        const std::size_t punkt = text.find('.');
        if (anzahl == teile.size()) return std::nullopt;
        const auto teil = als_teil(text.substr(0, punkt));
        if (!teil) return std::nullopt;
        teile[anzahl++] = *teil;
        if (punkt == std::string_view::npos) break;
        text.remove_prefix(punkt + 1);
    }
    std::string ergebnis;
    for (std::size_t i = 0; i < teile.size(); ++i) {
        if (i > 0) ergebnis += '.';
        ergebnis += std::to_string(teile[i]);
    }
    return ergebnis;
}

}  // namespace

std::string gib_dateiversion(const std::string& pfad) {
    const auto echt = echter_pfad(pfad);
    if (!echt) return std::string(keine_version);
    const std::string_view name = letzter_name(*echt);
    const std::size_t so = name.rfind(".so.");
    if (so == std::string_view::npos) return std::string(keine_version);
    return vier_teile(name.substr(so + 4)).value_or(std::string(keine_version));
}

}  // namespace tarvendo
