#pragma once
// The record of one run, kept in its version folder: one line per action,
// fields separated by a tab, paths relative to the target base with control
// bytes and the backslash escaped, so that any name survives. It is written
// as the run goes, so a killed run leaves a record whose last line may be
// cut; reading drops what is not a whole, well-formed line.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvendo {

enum class Protokollart {
    gelöscht,     // moved into the version folder instead of being deleted
    ersetzt,      // moved into the version folder before its new copy came
    erstellt,     // a file the run put in place, with its size and time
    verzeichnis,  // a directory the run created
    attribute,    // the rights of an existing entry changed, with the old ones
    umbenannt,    // a spelling changed: pfad is the old, neu the new path
};

struct Protokollzeile {
    Protokollart art = Protokollart::erstellt;
    std::string pfad;
    std::string neu;          // umbenannt only
    std::int64_t größe = 0;   // erstellt only
    timespec zeit{};          // erstellt only: the modification time
    std::uint32_t modus = 0;  // attribute only: the bits before
    // attribute only: owner and group before, where the run changed them (as root)
    bool mit_eigentümer = false;
    std::uint32_t benutzer = 0;
    std::uint32_t gruppe = 0;
};

inline constexpr std::string_view protokollname = "protokoll";

// "\\" for a backslash, "\xNN" for bytes below 0x20 and 0x7F; all else as is.
[[nodiscard]] std::string maskiere(std::string_view pfad);
[[nodiscard]] std::optional<std::string> entmaskiere(std::string_view text);

// The line with its line break.
[[nodiscard]] std::string protokollzeile(const Protokollzeile& zeile);
// The whole lines of a record that can be read; the rest is dropped.
[[nodiscard]] std::vector<Protokollzeile> lies_protokoll(std::string_view inhalt);

}  // namespace tarvendo
