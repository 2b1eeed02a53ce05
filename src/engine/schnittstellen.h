#pragma once
// What the engine needs from its host (the window, the command-line tool or a
// test): progress displays, the event loop, questions to the user and the
// record of a run. Texts are UTF-8 where they are ours and raw bytes where
// they carry file names; a host converts them for display, lossily if need be.

#include <cstdint>
#include <string_view>

namespace tarvendo {

// One progress display: a bar fed in per mille plus a line of text.
class Statusanzeige {
public:
    virtual ~Statusanzeige() = default;
    virtual void text(std::string_view s) = 0;
    virtual void textpfad(std::string_view s) = 0;  // a path, shortened to fit
    virtual void setze_maxwert(std::int32_t wert) = 0;
    virtual void setze_aktwert(std::int32_t wert) = 0;
    virtual void erhöhe_aktwert(std::int32_t wert) = 0;
    virtual void Reset() = 0;
    virtual void mit_prozentzahl(bool schalter) = 0;
    virtual void setze_ausrichtung(std::int32_t ausrichtung) = 0;  // 0 left, 1 right, 2 centre
};

// The four displays of the main window.
struct Anzeigen {
    Statusanzeige& Arbeitsschritt;
    Statusanzeige& Arbeitsverzeichnis;
    Statusanzeige& Arbeitsdatei;
    Statusanzeige& Arbeitsinfo;
};

// Lets the host process pending events; a cancel request arrives here.
class Ereignisschleife {
public:
    virtual ~Ereignisschleife() = default;
    virtual void ereignisse_verarbeiten() = 0;
};

enum class Knöpfe { OK, OKAbbrechen };
enum class Antwort { OK, Abbrechen };

// A modal message about a failed operation (title "Tarvendo", critical icon).
// Lines are separated by "\n".
class Rückfrage {
public:
    virtual ~Rückfrage() = default;
    virtual Antwort melde_fehler(std::string_view text, Knöpfe knöpfe) = 0;
};

// The images of the done tree, by their keys in the window's image list. Only
// these can be named, so a misspelt key does not compile.
class Bild {
public:
    static const Bild Verzeichnis_diesdas;
    static const Bild Verzeichnis_kopieren;
    static const Bild Verzeichnis_kopieren_fehler;
    static const Bild Verzeichnis_löschen;
    static const Bild Verzeichnis_löschen_fehler;
    static const Bild Datei_kopieren_fehler;
    static const Bild Datei_löschen_fehler;

    [[nodiscard]] constexpr std::string_view schlüssel() const noexcept { return schlüssel_; }
    constexpr bool operator==(const Bild&) const = default;

private:
    constexpr explicit Bild(std::string_view schlüssel) : schlüssel_(schlüssel) {}
    std::string_view schlüssel_;
};

inline constexpr Bild Bild::Verzeichnis_diesdas{"Verzeichnis_diesdas"};
inline constexpr Bild Bild::Verzeichnis_kopieren{"Verzeichnis_kopieren"};
inline constexpr Bild Bild::Verzeichnis_kopieren_fehler{"Verzeichnis_kopieren_fehler"};
inline constexpr Bild Bild::Verzeichnis_löschen{"Verzeichnis_löschen"};
inline constexpr Bild Bild::Verzeichnis_löschen_fehler{"Verzeichnis_löschen_fehler"};
inline constexpr Bild Bild::Datei_kopieren_fehler{"Datei_kopieren_fehler"};
inline constexpr Bild Bild::Datei_löschen_fehler{"Datei_löschen_fehler"};

// The tree of what a run did: directories entered and failures.
class Erledigtbaum {
public:
    using Knoten = std::intptr_t;
    static constexpr Knoten kein_knoten = 0;

    virtual ~Erledigtbaum() = default;
    // Adds a node without an image below eltern (kein_knoten: top level).
    virtual Knoten füge_hinzu(Knoten eltern, std::string_view text) = 0;
    // Sets a node's image by its key in the image list; kein_knoten is ignored.
    virtual void setze_bild(Knoten knoten, Bild bild) = 0;
};

// The cancel flags and run totals that the commands share.
struct Programmzustand {
    bool abbruch = false;              // stop the running command
    std::int32_t kopierabbruch = 0;    // 1: stop the file copy in progress
    std::int32_t anzahl_kopieren = 0;  // file copies found or ticked
    std::int32_t anzahl_löschen = 0;   // file deletions found or ticked
    std::int64_t summe_gesamt = 0;     // work of a run: bytes to copy + 1 per deletion
    std::int64_t summe_erledigt = 0;   // work done so far
    bool läuft = false;                // a command runs (see Laufsperre)
};

}  // namespace tarvendo
