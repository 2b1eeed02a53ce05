#pragma once
// Per-user settings: string values in named sections, kept in the user's
// configuration directory ($XDG_CONFIG_HOME/Morvanhalder/Tarvendo.conf).
// Nothing is cached: every call opens the store afresh and writes it back
// before it returns, so two running copies see each other's last write.
//
// Texts are bytes: UTF-8 is stored as readable text, anything else (a file
// name in another encoding) is stored as bytes so that it reads back
// unchanged.

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvendo {

// The stored text, or vorgabe when the value is missing or cannot be read
// (damaged entry, unreadable file). A stored empty text reads back as "".
[[nodiscard]] std::string gib_einstellung(std::string_view abschnitt, std::string_view name,
                                          std::string_view vorgabe);

// Writes wert as the text value name of the section abschnitt, creating both
// as needed. 0 on success, else the store's error status (1: the file cannot
// be read or written, 2: it was damaged; it is rewritten with what could be
// read). A store that cannot be written is left as it is.
std::int32_t setze_einstellung(std::string_view abschnitt, std::string_view name,
                               std::string_view wert);

// Removes the section with all its values; a missing section is no error.
// An empty section name removes nothing. 0 on success, else as above.
std::int32_t lösche_abschnitt(std::string_view abschnitt);

// Numbers are stored and defaulted as plain decimal text.
template <std::integral Zahl>
requires(!std::same_as<Zahl, bool>) [[nodiscard]] std::string
    gib_einstellung(std::string_view abschnitt, std::string_view name, Zahl vorgabe) {
    return gib_einstellung(abschnitt, name, std::to_string(vorgabe));
}

template <std::integral Zahl>
requires(!std::same_as<Zahl, bool>) std::int32_t
    setze_einstellung(std::string_view abschnitt, std::string_view name, Zahl wert) {
    return setze_einstellung(abschnitt, name, std::to_string(wert));
}

}  // namespace tarvendo
