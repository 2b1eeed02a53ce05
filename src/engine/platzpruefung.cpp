#include "engine/platzpruefung.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdio>

#include "engine/versionsordner.h"
#include "support/pfad.h"

namespace tarvendo {

namespace {

// Ticked copies' bytes and ticked deletions' bytes below p.
void summiere(const Pfadklasse& p, std::int64_t& kopieren, std::int64_t& löschen) {
    if (!p.checked) return;
    for (const Dateiklasse& d : p.dateien) {
        if (!d.checked) continue;
        if (d.aufgabe == aufgabe_kopieren) kopieren += d.größe;
        if (d.aufgabe == aufgabe_löschen) löschen += d.größe;
    }
    for (const Pfadklasse& u : p.pfade) summiere(u, kopieren, löschen);
}

// What the leftovers of a killed run take where the run removes them: in
// every directory it works in, except one that goes whole.
std::int64_t belegung_der_reste(const Pfadklasse& p, const std::string& pfad) {
    if (!p.checked || p.aufgabe == aufgabe_löschen) return 0;
    std::int64_t summe = 0;
    if (const auto* reste = p.gib_reste())
        for (const std::string& rest : *reste) {
            struct stat st {};
            if (::lstat(verbinde(pfad, rest).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                summe += static_cast<std::int64_t>(st.st_blocks) * 512;
        }
    for (const Pfadklasse& u : p.pfade) summe += belegung_der_reste(u, verbinde(pfad, u.pfadname));
    return summe;
}

std::string menge(std::int64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    std::string s = text;
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

}  // namespace

std::optional<Platzbedarf> ermittle_platz(const Pfadklasse& aufgabenbaum, const std::string& ziel,
                                          int versionen_tage) {
    struct statvfs fs {};
    if (::statvfs(ziel.c_str(), &fs) != 0) return std::nullopt;
    Platzbedarf platz;
    std::int64_t löschen = 0;
    summiere(aufgabenbaum, platz.benötigt, löschen);
    platz.verfügbar =
        static_cast<std::int64_t>(fs.f_bavail) * static_cast<std::int64_t>(fs.f_frsize) +
        belegung_der_reste(aufgabenbaum, ziel);
    if (versionen_tage <= 0) {
        platz.verfügbar += löschen;
        return platz;
    }
    const int basis = ::open(ziel.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (basis < 0) return platz;
    PosixDateioperationen ops;
    if (auto versionen = öffne_versionen(ops, basis, false)) {
        for (const std::string& name : versionsordner(versionen.wert()))
            platz.verfügbar += belegung(versionen.wert(), name);
        ::close(versionen.wert());
    }
    ::close(basis);
    return platz;
}

std::optional<std::string> platzwarnung(const Platzbedarf& platz) {
    if (platz.benötigt <= platz.verfügbar) return std::nullopt;
    return "Im Zielverzeichnis ist zu wenig Platz.\nDie Kopien brauchen " + menge(platz.benötigt) +
           ", verfügbar sind höchstens " + menge(platz.verfügbar) + ".";
}

}  // namespace tarvendo
