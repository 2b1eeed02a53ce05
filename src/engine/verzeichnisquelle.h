#pragma once
// Listing directories and reading the data of their entries. Everything below
// an open directory is reached relative to its descriptor, so no call resolves
// a whole path and the depth of a tree is not bounded by PATH_MAX. Tests put a
// decorator in between to make chosen directories fail.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/ergebnis.h"

namespace tarvendo {

// What the listing tells about an entry's kind without a stat (d_type).
enum class Eintragsart : std::uint8_t { unbekannt, verzeichnis, datei, link };

struct Listeneintrag {
    const char* name = nullptr;  // nullptr: the listing has ended
    Eintragsart art = Eintragsart::unbekannt;
};

// The facts the scan records about one entry.
struct Eintragsdaten {
    bool verzeichnis = false;
    bool link = false;  // the data are a symbolic link's own
    std::int64_t größe = 0;
    std::int64_t sekunden = 0;  // last write, whole seconds since 1970 UTC
    std::uint32_t modus = 0;    // st_mode
};

// Device and inode: the identity of a directory, whatever the path to it.
struct Verzeichniskennung {
    std::uint64_t gerät = 0;
    std::uint64_t inode = 0;
    bool operator==(const Verzeichniskennung&) const = default;
};

// One open directory.
class Verzeichnisliste {
public:
    virtual ~Verzeichnisliste() = default;
    [[nodiscard]] virtual Verzeichniskennung kennung() const = 0;
    // The next entry in listing order ("." and ".." included); a read error
    // is an errno code, which tells it apart from the end.
    [[nodiscard]] virtual Ergebnis<Listeneintrag> nächster() = 0;
    // The data of an entry of this directory; folgen: of what a symbolic
    // link points to rather than of the link.
    [[nodiscard]] virtual Ergebnis<Eintragsdaten> daten(const char* name, bool folgen) = 0;
    // Opens a sub-directory (or what a link of that name points to).
    [[nodiscard]] virtual Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(const char* name) = 0;
};

class Verzeichnisquelle {
public:
    virtual ~Verzeichnisquelle() = default;
    [[nodiscard]] virtual Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(
        const std::string& pfad) = 0;
};

// The real file system through openat, fdopendir/readdir and fstatat.
class PosixVerzeichnisquelle final : public Verzeichnisquelle {
public:
    [[nodiscard]] Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(
        const std::string& pfad) override;
};

}  // namespace tarvendo
