#pragma once
// Listing directories and reading the data of their entries. Everything below
// an open directory is reached relative to its descriptor, so no call resolves
// a whole path and the depth of a tree is not bounded by PATH_MAX. Tests put a
// decorator in between to make chosen directories fail.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/dateiklasse.h"
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
    bool link = false;         // the data are a symbolic link's own
    bool durch_link = false;   // the entry is a symbolic link; the data are its target's
    bool sonderdatei = false;  // a FIFO, socket or device: never opened
    std::int64_t größe = 0;
    std::int64_t sekunden = 0;  // last write, whole seconds since 1970 UTC
    std::uint32_t modus = 0;    // st_mode
    std::uint32_t benutzer = 0;
    std::uint32_t gruppe = 0;
};

// One entry of a batch of data requests.
struct Datenabfrage {
    const char* name = nullptr;
    Eintragsdaten daten;
    int fehler = 0;  // errno of the request; 0: daten are valid
};

// Device and inode: the identity of a directory, whatever the path to it.
struct Verzeichniskennung {
    std::uint64_t gerät = 0;
    std::uint64_t inode = 0;
    bool operator==(const Verzeichniskennung&) const = default;
    struct Hash {
        std::size_t operator()(const Verzeichniskennung& k) const noexcept {
            return static_cast<std::size_t>((k.inode * 0x9E3779B97F4A7C15ull) ^ k.gerät);
        }
    };
};

// One open directory.
class Verzeichnisliste {
public:
    virtual ~Verzeichnisliste() = default;
    [[nodiscard]] virtual Verzeichniskennung kennung() const = 0;
    // Permission bits, owner and group of the directory itself.
    [[nodiscard]] virtual Rechte rechte() const { return {}; }
    // Whether it belongs to a file system of the kernel's (proc, sysfs, ...),
    // whose contents are no data to back up and may not even end.
    [[nodiscard]] virtual bool pseudodateisystem() const { return false; }
    // The next entry in listing order ("." and ".." included); a read error
    // is an errno code, which tells it apart from the end.
    [[nodiscard]] virtual Ergebnis<Listeneintrag> nächster() = 0;
    // The data of an entry of this directory; folgen: of what a symbolic
    // link points to rather than of the link.
    [[nodiscard]] virtual Ergebnis<Eintragsdaten> daten(const char* name, bool folgen) = 0;
    // The data of several entries, in any order; the default asks daten()
    // one by one.
    virtual void daten_mehrere(std::span<Datenabfrage> abfragen, bool folgen);
    // Opens a sub-directory; folgen: also what a link of that name points to.
    [[nodiscard]] virtual Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(const char* name,
                                                                            bool folgen) = 0;
};

class Verzeichnisquelle {
public:
    virtual ~Verzeichnisquelle() = default;
    [[nodiscard]] virtual Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(
        const std::string& pfad) = 0;
};

class Statgehilfen;

// The real file system through openat, fdopendir/readdir and fstatat. The
// stats of a batch are shared with helper threads, one per further processor
// (at most three): a scan spends nearly all its time in them. The helpers
// touch nothing but the kernel and the batch's own slots.
class PosixVerzeichnisquelle final : public Verzeichnisquelle {
public:
    PosixVerzeichnisquelle();
    explicit PosixVerzeichnisquelle(unsigned gehilfen);
    ~PosixVerzeichnisquelle() override;
    PosixVerzeichnisquelle(const PosixVerzeichnisquelle&) = delete;
    PosixVerzeichnisquelle& operator=(const PosixVerzeichnisquelle&) = delete;

    [[nodiscard]] Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(
        const std::string& pfad) override;

private:
    std::unique_ptr<Statgehilfen> gehilfen_;
};

}  // namespace tarvendo
