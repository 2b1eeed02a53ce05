#include "hilfe/chmdatei.h"

#include <chm_lib.h>

#include <cstddef>
#include <cstdint>

namespace tarvendo {
namespace {

// Entries of the "#SYSTEM" record that name the start page and the title.
constexpr std::uint16_t system_standardthema = 2;
constexpr std::uint16_t system_titel = 3;

std::uint16_t lies_wort(std::string_view daten, std::size_t stelle) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(daten[stelle]) |
                                      static_cast<unsigned char>(daten[stelle + 1]) << 8);
}

// The text of a NUL-terminated entry.
std::string ohne_nullzeichen(std::string_view daten) {
    return std::string(daten.substr(0, daten.find('\0')));
}

}  // namespace

void Chmdatei::Schliesser::operator()(chmFile* datei) const {
    chm_close(datei);
}

Chmdatei::Chmdatei(chmFile* datei) : datei_(datei) {}

std::optional<Chmdatei> Chmdatei::öffne(const std::string& pfad) {
    chmFile* datei = chm_open(pfad.c_str());
    if (datei == nullptr) return std::nullopt;
    Chmdatei chm(datei);
    if (const auto system = chm.lies("/#SYSTEM")) chm.angaben_ = lies_systemangaben(*system);
    return chm;
}

std::optional<std::string> Chmdatei::lies(std::string_view pfad) const {
    chmUnitInfo eintrag{};
    const std::string name(pfad);
    if (chm_resolve_object(datei_.get(), name.c_str(), &eintrag) != CHM_RESOLVE_SUCCESS) {
        return std::nullopt;
    }
    std::string inhalt(eintrag.length, '\0');
    const auto gelesen =
        chm_retrieve_object(datei_.get(), &eintrag, reinterpret_cast<unsigned char*>(inhalt.data()),
                            0, static_cast<LONGINT64>(eintrag.length));
    if (gelesen < 0 || static_cast<LONGUINT64>(gelesen) != eintrag.length) return std::nullopt;
    return inhalt;
}

// "#SYSTEM": a 4-byte version, then records of a 16-bit code, a 16-bit
// length and that many bytes, all little-endian.
Systemangaben lies_systemangaben(std::string_view system) {
    Systemangaben angaben;
    std::size_t stelle = 4;
    while (stelle + 4 <= system.size()) {
        const std::uint16_t code = lies_wort(system, stelle);
        const std::uint16_t länge = lies_wort(system, stelle + 2);
        stelle += 4;
        if (stelle + länge > system.size()) break;
        const std::string_view daten = system.substr(stelle, länge);
        if (code == system_standardthema) {
            angaben.standardthema = ohne_nullzeichen(daten);
            if (!angaben.standardthema.empty() && angaben.standardthema.front() != '/') {
                angaben.standardthema.insert(0, 1, '/');
            }
        } else if (code == system_titel) {
            angaben.titel = ohne_nullzeichen(daten);
        }
        stelle += länge;
    }
    return angaben;
}

}  // namespace tarvendo
