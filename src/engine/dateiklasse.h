#pragma once

#include <cstdint>
#include <string>

namespace tarvendo {

// Task codes of the field aufgabe.
inline constexpr std::int32_t aufgabe_keine = 0;
inline constexpr std::int32_t aufgabe_kopieren = 2;
inline constexpr std::int32_t aufgabe_löschen = 3;

// Attribute bits as the model knows them.
inline constexpr std::uint32_t attr_schreibgeschützt = 1;
inline constexpr std::uint32_t attr_versteckt = 2;
inline constexpr std::uint32_t attr_verzeichnis = 16;
// A symbolic link in the target, recorded as itself: never equal to a file.
inline constexpr std::uint32_t attr_verknüpfung = 1024;

// One file: a plain record.
struct Dateiklasse {
    std::string Name;      // bytes exactly as the file system gives them
    std::int64_t größe = 0;
    double datum = 0.0;    // local time, days since 1899-12-30, whole seconds
    std::uint32_t attr = 0;
    std::int32_t aufgabe = aufgabe_keine;
    bool checked = false;
};

}  // namespace tarvendo
