#include "engine/ruecknahme.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "engine/laufprotokoll.h"
#include "engine/systemfehlertext.h"
#include "engine/versionsordner.h"
#include "engine/zielmedium.h"
#include "support/pfad.h"

namespace tarvendo {

namespace {

constexpr int ordner_flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A path of the record, opened down to its parent without following any
// link: a directory that became a link since is never gone through.
struct Ort {
    Dateigriff eltern;
    std::string name;
    int fehler = 0;
};

Ort finde(Dateioperationen& ops, int basis, const std::string& pfad, bool erstellen) {
    Ort ort;
    std::string_view rest = pfad;
    int fd = basis;
    for (;;) {
        rest.remove_prefix(1);  // the '/'
        const auto ende = rest.find('/');
        const std::string stufe(rest.substr(0, ende));
        if (stufe.empty() || stufe == "." || stufe == "..") {
            ort.fehler = EINVAL;  // no record of ours names such a path
            return ort;
        }
        if (ende == std::string_view::npos) {
            if (!ort.eltern.offen()) {
                auto kopie = ops.öffne(basis, ".", ordner_flags, 0);
                if (!kopie) {
                    ort.fehler = kopie.fehlercode();
                    return ort;
                }
                ort.eltern = Dateigriff(ops, kopie.wert());
            }
            ort.name = stufe;
            return ort;
        }
        rest.remove_prefix(ende);
        if (erstellen) (void)ops.erstelle_verzeichnis(fd, stufe, 0777);
        auto neu = ops.öffne(fd, stufe, ordner_flags, 0);
        if (!neu) {
            ort.fehler = neu.fehlercode();
            return ort;
        }
        ort.eltern = Dateigriff(ops, neu.wert());
        fd = ort.eltern.fd();
    }
}

bool unverändert(const struct stat& st, const Protokollzeile& z) {
    return S_ISREG(st.st_mode) && st.st_size == z.größe && st.st_mtim.tv_sec == z.zeit.tv_sec &&
           st.st_mtim.tv_nsec == z.zeit.tv_nsec;
}

// Moves back without replacing what stands there now.
int bringe_zurück(int von, const std::string& name, int nach, const std::string& ziel) {
    if (::renameat2(von, name.c_str(), nach, ziel.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A medium without RENAME_NOREPLACE (some FUSE drivers).
    struct stat st {};
    if (::fstatat(nach, ziel.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return ::renameat(von, name.c_str(), nach, ziel.c_str()) == 0 ? 0 : errno;
}

// Whether name is found in the directory fd though no entry is spelt so:
// the medium ignores letter case and name is another spelling of one there.
bool nur_andere_schreibweise(int fd, const std::string& name) {
    struct stat st {};
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    const std::vector<std::string> namen = verzeichniseinträge(fd);
    return std::find(namen.begin(), namen.end(), name) == namen.end();
}

// Removes the empty directories below and including name; files stay.
bool entferne_leere(int fd, const std::string& name) {
    const int unter = ::openat(fd, name.c_str(), ordner_flags);
    if (unter < 0) return false;
    struct stat st {};
    bool leer = true;
    if (::fstat(unter, &st) == 0 && (st.st_mode & S_IRWXU) != S_IRWXU)
        (void)::fchmod(unter, (st.st_mode & 07777) | S_IRWXU);
    for (const std::string& n : verzeichniseinträge(unter)) {
        struct stat s {};
        if (::fstatat(unter, n.c_str(), &s, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(s.st_mode) ||
            !entferne_leere(unter, n))
            leer = false;
    }
    ::close(unter);
    return leer && ::unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0;
}

std::string anzahl(int n, std::string_view einzahl, std::string_view mehrzahl) {
    return std::to_string(n) + " " + std::string(n == 1 ? einzahl : mehrzahl);
}

struct Lauf {
    Dateigriff basis;
    Dateigriff versionen;
    Dateigriff ordner;
    std::string name;
    std::vector<Protokollzeile> zeilen;
    int fehler = 0;
};

Lauf öffne_letzten(Dateioperationen& ops, const std::string& zielbasis) {
    Lauf lauf;
    auto basis = ops.öffne(AT_FDCWD, zielbasis, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (!basis) {
        lauf.fehler = basis.fehlercode();
        return lauf;
    }
    lauf.basis = Dateigriff(ops, basis.wert());
    auto versionen = öffne_versionen(ops, lauf.basis.fd(), false);
    if (!versionen) {
        if (versionen.fehlercode() != ENOENT) lauf.fehler = versionen.fehlercode();
        return lauf;
    }
    lauf.versionen = Dateigriff(ops, versionen.wert());
    const std::vector<std::string> namen = versionsordner(lauf.versionen.fd());
    if (namen.empty()) return lauf;
    auto ordner = ops.öffne(lauf.versionen.fd(), namen.back(), ordner_flags, 0);
    if (!ordner) {
        lauf.fehler = ordner.fehlercode();
        return lauf;
    }
    lauf.ordner = Dateigriff(ops, ordner.wert());
    lauf.name = namen.back();
    if (auto inhalt = lies_datei(lauf.ordner.fd(), std::string(protokollname)))
        lauf.zeilen = lies_protokoll(*inhalt);
    return lauf;
}

Laufübersicht übersicht(const Lauf& lauf) {
    Laufübersicht ü;
    ü.name = lauf.name;
    // A replacement is two lines: the old file moved away, the new one put in place.
    std::vector<const std::string*> weggelegt;
    for (const Protokollzeile& z : lauf.zeilen) {
        switch (z.art) {
            case Protokollart::erstellt:
                if (std::find_if(weggelegt.begin(), weggelegt.end(), [&](const std::string* p) {
                        return *p == z.pfad;
                    }) != weggelegt.end())
                    ++ü.ersetzt;
                else
                    ++ü.erstellt;
                break;
            case Protokollart::ersetzt:
                weggelegt.push_back(&z.pfad);
                break;
            case Protokollart::gelöscht:
                ++ü.gelöscht;
                break;
            case Protokollart::verzeichnis:
                ++ü.verzeichnisse;
                break;
            default:
                break;
        }
    }
    return ü;
}

// Writes the lines still to be taken back in place of the record.
void schreibe_rest(Dateioperationen& ops, int ordner, const std::vector<Protokollzeile>& rest) {
    const std::string temp = std::string(protokollname) + ".neu";
    auto fd = ops.öffne(ordner, temp, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (!fd) return;
    Dateigriff griff(ops, fd.wert());
    std::string text;
    for (const Protokollzeile& z : rest) text += protokollzeile(z);
    auto n = ops.schreibe(griff.fd(), text.data(), text.size());
    if (n && n.wert() == text.size() && griff.schließe())
        (void)ops.benenne_um(ordner, temp, ordner, std::string(protokollname));
}

}  // namespace

std::optional<Laufübersicht> letzter_lauf(Dateioperationen& ops, const std::string& zielbasis) {
    const Lauf lauf = öffne_letzten(ops, zielbasis);
    if (lauf.name.empty()) return std::nullopt;
    return übersicht(lauf);
}

std::string laufbeschreibung(const Laufübersicht& lauf) {
    return "Lauf vom " + versionszeit_text(lauf.name) + ": " +
           anzahl(lauf.erstellt, "Datei", "Dateien") + " erstellt, " +
           anzahl(lauf.ersetzt, "Datei", "Dateien") + " ersetzt, " +
           anzahl(lauf.gelöscht, "Eintrag", "Einträge") + " gelöscht, " +
           anzahl(lauf.verzeichnisse, "Verzeichnis", "Verzeichnisse") + " erstellt";
}

Rücknahme nimm_zurück(Dateioperationen& ops, const std::string& zielbasis) {
    Rücknahme r;
    Lauf lauf = öffne_letzten(ops, zielbasis);
    if (lauf.fehler != 0) {
        r.art = Rücknahme::Art::fehler;
        r.text = "Die Versionen im Zielverzeichnis\n" + zielbasis +
                 "\nkönnen nicht gelesen werden.\n\n" + systemfehlertext(lauf.fehler);
        return r;
    }
    if (lauf.name.empty()) {
        r.text = "Im Zielverzeichnis\n" + zielbasis +
                 "\ngibt es keinen Lauf, der rückgängig gemacht werden kann.";
        return r;
    }
    const std::string beschreibung = laufbeschreibung(übersicht(lauf));
    const int basis = lauf.basis.fd();
    const auto vollpfad = [&](const std::string& pfad) { return verbinde(zielbasis, pfad); };

    // First the check, so that a refusal leaves everything as it is.
    for (const Protokollzeile& z : lauf.zeilen) {
        if (z.art != Protokollart::erstellt) continue;
        Ort ort = finde(ops, basis, z.pfad, false);
        if (ort.fehler != 0) continue;
        auto st = ops.status_ohne_folgen(ort.eltern.fd(), ort.name);
        if (st && !unverändert(st.wert(), z)) {
            r.art = Rücknahme::Art::verweigert;
            r.text = beschreibung + "\n\nDer Lauf wird nicht rückgängig gemacht, denn die Datei\n" +
                     vollpfad(z.pfad) +
                     "\nwurde seitdem verändert. Rückgängig machen würde diese Änderung "
                     "verlieren.";
            return r;
        }
    }

    std::vector<Protokollzeile> rest;  // what could not be taken back, in record order
    std::vector<std::string> gescheitert;
    for (auto it = lauf.zeilen.rbegin(); it != lauf.zeilen.rend(); ++it) {
        const Protokollzeile& z = *it;
        int code = 0;
        bool bleibt = false;  // its version stays in the folder
        if (z.art == Protokollart::erstellt) {
            Ort ort = finde(ops, basis, z.pfad, false);
            if (ort.fehler == 0) {
                auto st = ops.status_ohne_folgen(ort.eltern.fd(), ort.name);
                if (st && unverändert(st.wert(), z))
                    code = ops.entferne_datei(ort.eltern.fd(), ort.name).fehlercode();
                else if (st)
                    code = EEXIST;
            }
        } else if (z.art == Protokollart::verzeichnis) {
            Ort ort = finde(ops, basis, z.pfad, false);
            if (ort.fehler == 0) {
                code = ops.entferne_verzeichnis(ort.eltern.fd(), ort.name).fehlercode();
                if (code == ENOENT) code = 0;
            }
        } else if (z.art == Protokollart::gelöscht || z.art == Protokollart::ersetzt) {
            Ort version = finde(ops, lauf.ordner.fd(), z.pfad, false);
            if (version.fehler != 0 || !ops.status_ohne_folgen(version.eltern.fd(), version.name))
                continue;  // never moved: the run ended before
            Ort ziel = finde(ops, basis, z.pfad, true);
            code = ziel.fehler != 0 ? ziel.fehler
                                    : bringe_zurück(version.eltern.fd(), version.name,
                                                    ziel.eltern.fd(), ziel.name);
            bleibt = code != 0;
        } else if (z.art == Protokollart::attribute) {
            Ort ort = finde(ops, basis, z.pfad, false);
            // Owner first: a change of owner clears setuid and setgid.
            if (ort.fehler == 0 && z.mit_eigentümer)
                (void)::fchownat(ort.eltern.fd(), ort.name.c_str(), z.benutzer, z.gruppe,
                                 AT_SYMLINK_NOFOLLOW);
            if (ort.fehler == 0)
                (void)ops.setze_rechte_von(ort.eltern.fd(), ort.name, static_cast<mode_t>(z.modus));
        } else if (z.art == Protokollart::umbenannt) {
            Ort neu = finde(ops, basis, z.neu, false);
            Ort alt = finde(ops, basis, z.pfad, false);
            code = neu.fehler != 0 ? neu.fehler : alt.fehler;
            if (code == 0)
                code = bringe_zurück(neu.eltern.fd(), neu.name, alt.eltern.fd(), alt.name);
            // Where letter case does not count, the old spelling finds the entry itself.
            if (code == EEXIST && nur_andere_schreibweise(alt.eltern.fd(), alt.name))
                code = ändere_schreibweise(ops, neu.eltern.fd(), neu.name, alt.name, true)
                           .fehlercode();
        }
        if (code != 0) gescheitert.push_back(vollpfad(z.pfad) + ": " + systemfehlertext(code));
        if (bleibt) rest.insert(rest.begin(), z);
    }

    if (rest.empty()) {
        (void)ops.entferne_datei(lauf.ordner.fd(), std::string(protokollname));
        lauf.ordner = Dateigriff();
        // What no line names stays (a record cut by a power cut), and is said.
        if (!entferne_leere(lauf.versionen.fd(), lauf.name))
            gescheitert.push_back(versionspfad(zielbasis, lauf.name) +
                                  ": enthält noch Einträge, die nicht im Protokoll stehen");
    } else {
        schreibe_rest(ops, lauf.ordner.fd(), rest);
    }
    // What came back must survive an unplugged drive, as a run's copies do.
    (void)ops.synchronisiere(basis);
    if (gescheitert.empty()) {
        r.art = Rücknahme::Art::zurückgenommen;
        r.text = beschreibung + "\n\nDer Lauf wurde rückgängig gemacht.";
        return r;
    }
    r.art = Rücknahme::Art::unvollständig;
    r.text = beschreibung + "\n\nDer Lauf wurde nur teilweise rückgängig gemacht:";
    for (const std::string& g : gescheitert) r.text += "\n" + g;
    if (!rest.empty())
        r.text += "\n\nWas nicht zurückgebracht werden konnte, bleibt im Versionsordner\n" +
                  versionspfad(zielbasis, lauf.name);
    return r;
}

}  // namespace tarvendo
