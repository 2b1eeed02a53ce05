#pragma once

#include <cstdint>
#include <string>

namespace tarvendo {

// Task codes of the field aufgabe.
inline constexpr std::int32_t aufgabe_keine = 0;
inline constexpr std::int32_t aufgabe_kopieren = 2;
inline constexpr std::int32_t aufgabe_löschen = 3;
// Only the permission bits (as root also owner and group) differ: the data
// are not copied again.
inline constexpr std::int32_t aufgabe_rechte = 4;

// Attribute bits as the model knows them.
inline constexpr std::uint32_t attr_schreibgeschützt = 1;
inline constexpr std::uint32_t attr_versteckt = 2;
inline constexpr std::uint32_t attr_verzeichnis = 16;
// A symbolic link in the target, recorded as itself: never equal to a file.
inline constexpr std::uint32_t attr_verknüpfung = 1024;
// A source file reached through a symbolic link (its own or a directory's on
// the way): its copy never carries setuid, setgid or a capability.
inline constexpr std::uint32_t attr_über_verknüpfung = 2048;
// A FIFO, socket or device node in the target, recorded so that it can be
// deleted or replaced (never opened): never equal to a file.
inline constexpr std::uint32_t attr_sonderdatei = 4096;

// Permission bits (st_mode & 07777), owner and group of an entry.
struct Rechte {
    std::uint32_t modus = 0;
    std::uint32_t benutzer = 0;
    std::uint32_t gruppe = 0;
    bool operator==(const Rechte&) const = default;
};

// One file: a plain record.
struct Dateiklasse {
    std::string Name;  // bytes exactly as the file system gives them
    std::int64_t größe = 0;
    double datum = 0.0;  // local time, days since 1899-12-30, whole seconds
    std::uint32_t attr = 0;
    std::int32_t aufgabe = aufgabe_keine;
    Rechte rechte{};
    bool checked = false;
};

}  // namespace tarvendo
