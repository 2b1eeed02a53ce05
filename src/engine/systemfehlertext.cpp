#include "engine/systemfehlertext.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace tarvendo {
namespace {

// The errors a backup meets most, in German whatever the machine's locale:
// they appear inside German messages.
const char* deutscher_text(std::int32_t code) {
    static const std::pair<int, const char*> texte[] = {
        {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
        {EACCES, "Keine Berechtigung"},
        {EPERM, "Vorgang nicht zulässig"},
        {ENOSPC, "Auf dem Datenträger ist kein Platz mehr frei"},
        {EDQUOT, "Das Speicherkontingent ist erschöpft"},
        {EROFS, "Das Dateisystem ist nur lesbar"},
        {EIO, "Ein-/Ausgabefehler"},
        {EEXIST, "Die Datei existiert bereits"},
        {ENOTDIR, "Ist kein Verzeichnis"},
        {EISDIR, "Ist ein Verzeichnis"},
        {ENOTEMPTY, "Das Verzeichnis ist nicht leer"},
        {ENAMETOOLONG, "Der Dateiname ist zu lang"},
        {ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen"},
        {EBUSY, "Das Gerät oder die Ressource ist belegt"},
        {EXDEV, "Verknüpfung über Dateisystemgrenzen hinweg nicht möglich"},
        {EINVAL, "Ungültiges Argument"},
        {EFBIG, "Die Datei ist zu groß"},
        {EMFILE, "Zu viele offene Dateien"},
        {ENOMEM, "Nicht genügend Arbeitsspeicher"},
        {ETXTBSY, "Die Programmdatei ist in Benutzung"},
        {ESTALE, "Veralteter Verweis auf eine Netzwerkdatei"},
        {ENOTCONN, "Keine Verbindung zum Netzlaufwerk"},
        {EOPNOTSUPP, "Der Vorgang wird nicht unterstützt"},
        {EILSEQ, "Ungültige Zeichenfolge"},
    };
    for (const auto& [nummer, text] : texte)
        if (nummer == code) return text;
    return nullptr;
}

}  // namespace

std::string systemfehlertext(std::int32_t code) {
    if (const char* text = deutscher_text(code)) return text;
    // strerror_r makes up "Unknown error N" (translated) for codes it does not
    // know; strerrorname_np tells those apart, having no name for them.
    if (code == 0 || ::strerrorname_np(code) != nullptr) {
        char puffer[1024];
        const char* text = ::strerror_r(code, puffer, sizeof puffer);
        if (text && *text) return text;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X",
                  static_cast<unsigned int>(static_cast<std::uint32_t>(code)));
    return std::string("Unbekannter Fehler: &H") + hex;
}

}  // namespace tarvendo
