#include "engine/systemkopie.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "engine/attributkopie.h"
#include "engine/zielmedium.h"

namespace tarvendo {

namespace {

constexpr std::int64_t block = 4096;
constexpr std::int64_t mib = std::int64_t{1} << 20;
constexpr std::string_view kennung = ".tarvendo-";
// One copy_file_range call should take about this long: long enough that
// the calls cost nothing, short enough that a cancel is noticed at once.
constexpr auto ziel_dauer = std::chrono::milliseconds(30);
// Below this size a reflink saves next to nothing (file systems keep such
// files inline or in one extent), so the attempt is not worth its call.
constexpr std::int64_t klonen_ab = 64 * 1024;

// copy_file_range refuses these pairs of files; a plain copy still serves.
bool kopierbereich_abgelehnt(int code) {
    return code == EXDEV || code == EINVAL || code == ENOSYS || code == EOPNOTSUPP;
}

// A medium that cannot keep an owner, a mode or a time says so with these.
bool abgelehnt(int code) {
    return code == EPERM || code == EACCES || code == ENOSYS || code == EOPNOTSUPP ||
           code == EINVAL;
}

Ausgang außer_abgelehnt(Ausgang s) {
    return s || abgelehnt(s.fehlercode()) ? erfolg() : s;
}

bool gleiche_zeit(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

Ausgang lies_voll(Dateioperationen& ops, int fd, char* puffer, std::size_t länge,
                  std::size_t& gelesen) {
    gelesen = 0;
    while (gelesen < länge) {
        auto n = ops.lies(fd, puffer + gelesen, länge - gelesen);
        if (!n) return Ausgang::fehler(n.fehlercode());
        if (n.wert() == 0) break;  // end of file
        gelesen += n.wert();
    }
    return erfolg();
}

Ausgang schreibe_voll(Dateioperationen& ops, int fd, const char* daten, std::size_t länge) {
    while (länge > 0) {
        auto n = ops.schreibe(fd, daten, länge);
        if (!n) return Ausgang::fehler(n.fehlercode());
        if (n.wert() == 0) return Ausgang::fehler(EIO);
        daten += n.wert();
        länge -= n.wert();
    }
    return erfolg();
}

}  // namespace

Ausgang kopiere_blockweise(Dateioperationen& ops, int quelle, int ziel, std::int64_t länge,
                           Kopierbeobachter& beobachter, const std::int32_t& abbruchflag) {
    char puffer[block];
    std::int64_t position = 0;
    while (position < länge) {
        const auto stück = static_cast<std::size_t>(std::min(block, länge - position));
        std::size_t gelesen = 0;
        if (auto s = lies_voll(ops, quelle, puffer, stück, gelesen); !s) return s;
        if (gelesen == 0) break;  // the source became shorter
        if (auto s = schreibe_voll(ops, ziel, puffer, gelesen); !s) return s;
        position += static_cast<std::int64_t>(gelesen);
        if (position % mib == 0) {
            beobachter.kopierfortschritt(länge, position);
            if (abbruchflag != 0) return Ausgang::fehler(ECANCELED);
        }
        if (gelesen < stück) break;
    }
    return erfolg();
}

Ausgang übernimm_rechte(Dateioperationen& ops, int fd, const struct stat& quelle, bool als_root) {
    mode_t modus = quelle.st_mode & 07777;
    bool eigentum_übernommen = false;
    if (als_root) {
        // Before the mode: a change of owner clears setuid and setgid.
        Ausgang s = ops.setze_eigentümer(fd, quelle.st_uid, quelle.st_gid);
        if (!s && !abgelehnt(s.fehlercode())) return s;
        eigentum_übernommen = s.ok();
    }
    // A file of an ordinary user must not become a setuid program of another.
    if ((modus & (S_ISUID | S_ISGID)) != 0 && !eigentum_übernommen) {
        auto st = ops.status(fd);
        if (!st) return Ausgang::fehler(st.fehlercode());
        if (st.wert().st_uid != quelle.st_uid) modus &= ~mode_t{S_ISUID};
        if (st.wert().st_gid != quelle.st_gid) modus &= ~mode_t{S_ISGID};
    }
    return außer_abgelehnt(ops.setze_rechte(fd, modus));
}

std::string temporärer_name(const std::string& suffix) {
    std::string name(kennung);
    name += suffix;
    return name;
}

bool ist_temporärer_name(std::string_view name) {
    if (name.size() != kennung.size() + temporäre_suffixlänge || !name.starts_with(kennung))
        return false;
    for (const char c : name.substr(kennung.size()))
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

std::uint64_t zufallsstart() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           (static_cast<std::uint64_t>(::getpid()) << 32);
}

Systemkopie::Systemkopie(Dateioperationen& ops)
    : ops_(ops), zufall_(zufallsstart()), als_root_(::geteuid() == 0) {}

std::string temporäres_suffix(std::uint64_t& zufall) {
    // Lower case only: on a target that ignores letter case the name is
    // then still one of a kind, and its upper-case spelling serves as probe.
    static constexpr char zeichen[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // splitmix64: the names need only differ, not be unpredictable, because
    // the exclusive create refuses any name that exists.
    zufall += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = zufall;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    std::string suffix(temporäre_suffixlänge, ' ');
    for (char& c : suffix) {
        c = zeichen[z % (sizeof zeichen - 1)];
        z /= sizeof zeichen - 1;
    }
    return suffix;
}

Ergebnis<int> Systemkopie::erstelle_temporär(int zielverzeichnis, std::string& name) {
    for (int versuch = 0; versuch < 100; ++versuch) {
        name = temporärer_name(temporäres_suffix(zufall_));
        auto fd = ops_.öffne(zielverzeichnis, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                             S_IRUSR | S_IWUSR);
        if (fd || fd.fehlercode() != EEXIST) return fd;
    }
    return Ergebnis<int>::fehler(EEXIST);
}

Ausgang Systemkopie::übertrage(int quelle, int ziel, const struct stat& st,
                               Kopierbeobachter& beobachter, const std::int32_t& abbruchflag) {
    const std::int64_t größe = st.st_size;
    if (größe <= 0) return erfolg();
    if (größe >= klonen_ab && ops_.klone(ziel, quelle)) {
        beobachter.kopierfortschritt(größe, größe);
        return abbruchflag != 0 ? Ausgang::fehler(ECANCELED) : erfolg();
    }
    // Fewer blocks than bytes: holes, which the kernel's copy would fill with zeros.
    if (static_cast<std::int64_t>(st.st_blocks) * 512 < größe)
        return übertrage_lückenhaft(quelle, ziel, größe, beobachter, abbruchflag);
    return übertrage_bereich(quelle, ziel, 0, größe, größe, beobachter, abbruchflag);
}

Ausgang Systemkopie::übertrage_lückenhaft(int quelle, int ziel, std::int64_t größe,
                                          Kopierbeobachter& beobachter,
                                          const std::int32_t& abbruchflag) {
    std::int64_t position = 0;
    std::int64_t geschrieben = 0;  // the end of the last data range
    while (position < größe) {
        auto daten = ops_.suche(quelle, position, SEEK_DATA);
        if (!daten) {
            if (daten.fehlercode() == ENXIO) break;  // nothing but a hole to the end
            // A file system that cannot tell holes: everything is data.
            if (position == 0 && kopierbereich_abgelehnt(daten.fehlercode()))
                return übertrage_bereich(quelle, ziel, 0, größe, größe, beobachter, abbruchflag);
            return Ausgang::fehler(daten.fehlercode());
        }
        if (daten.wert() >= größe) break;
        auto loch = ops_.suche(quelle, daten.wert(), SEEK_HOLE);
        if (!loch) return Ausgang::fehler(loch.fehlercode());
        const std::int64_t ende = std::min(loch.wert(), größe);
        if (auto s =
                übertrage_bereich(quelle, ziel, daten.wert(), ende, größe, beobachter, abbruchflag);
            !s)
            return s;
        position = geschrieben = ende;
    }
    // A hole at the end leaves the copy short until it gets its length.
    if (geschrieben == größe) return erfolg();
    const Ausgang gekürzt = ops_.kürze(ziel, größe);
    if (gekürzt || !abgelehnt(gekürzt.fehlercode())) return gekürzt;
    // fusefat refuses to lengthen a file, but takes a write beyond its end.
    auto ende = ops_.suche(ziel, größe - 1, SEEK_SET);
    if (!ende) return Ausgang::fehler(ende.fehlercode());
    return schreibe_voll(ops_, ziel, "", 1);
}

Ausgang Systemkopie::übertrage_bereich(int quelle, int ziel, std::int64_t beginn, std::int64_t ende,
                                       std::int64_t größe, Kopierbeobachter& beobachter,
                                       const std::int32_t& abbruchflag) {
    std::size_t stück = kleinstes_stück;
    std::int64_t qpos = beginn, zpos = beginn;
    while (zpos < ende) {
        const auto rest = static_cast<std::size_t>(ende - zpos);
        const auto start = std::chrono::steady_clock::now();
        auto n = ops_.kopiere_bereich(quelle, qpos, ziel, zpos, std::min(stück, rest));
        if (!n) {
            if (zpos != beginn || !kopierbereich_abgelehnt(n.fehlercode()))
                return Ausgang::fehler(n.fehlercode());
            if (beginn != 0) {
                if (auto q = ops_.suche(quelle, beginn, SEEK_SET); !q)
                    return Ausgang::fehler(q.fehlercode());
                if (auto z = ops_.suche(ziel, beginn, SEEK_SET); !z)
                    return Ausgang::fehler(z.fehlercode());
            }
            return kopiere_blockweise(ops_, quelle, ziel, ende - beginn, beobachter, abbruchflag);
        }
        if (n.wert() == 0) break;  // the source became shorter
        const auto dauer = std::chrono::steady_clock::now() - start;
        if (n.wert() == stück) {
            if (dauer < ziel_dauer / 2 && stück < größtes_stück)
                stück *= 2;
            else if (dauer > ziel_dauer * 2 && stück > kleinstes_stück)
                stück /= 2;
        }
        beobachter.kopierfortschritt(größe, zpos);
        if (abbruchflag != 0) return Ausgang::fehler(ECANCELED);
    }
    return erfolg();
}

Ausgang Systemkopie::kopiere(int quellverzeichnis, const std::string& quellname,
                             int zielverzeichnis, const std::string& zielname,
                             Kopierbeobachter& beobachter, const std::int32_t& abbruchflag,
                             bool ohne_vorrechte) {
    Zwischenkopie kopie;
    if (auto s = schreibe(quellverzeichnis, quellname, zielverzeichnis, zielname, beobachter,
                          abbruchflag, ohne_vorrechte, kopie);
        !s)
        return s;
    return setze_ein(zielverzeichnis, zielname, kopie);
}

Ausgang Systemkopie::schreibe(int quellverzeichnis, const std::string& quellname,
                              int zielverzeichnis, const std::string& zielname,
                              Kopierbeobachter& beobachter, const std::int32_t& abbruchflag,
                              bool ohne_vorrechte, Zwischenkopie& kopie) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below.
    auto quelle_fd =
        ops_.öffne(quellverzeichnis, quellname, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
    if (!quelle_fd) return Ausgang::fehler(quelle_fd.fehlercode());
    Dateigriff quelle(ops_, quelle_fd.wert());
    auto quellstatus = ops_.status(quelle.fd());
    if (!quellstatus) return Ausgang::fehler(quellstatus.fehlercode());
    const struct stat& st = quellstatus.wert();
    if (!S_ISREG(st.st_mode)) return Ausgang::fehler(ENOTSUP);

    auto temp_fd = erstelle_temporär(zielverzeichnis, kopie.temp_name);
    if (!temp_fd) return Ausgang::fehler(temp_fd.fehlercode());
    Dateigriff temp(ops_, temp_fd.wert());

    Ausgang s = übertrage(quelle.fd(), temp.fd(), st, beobachter, abbruchflag);
    if (s) {
        // A torn copy with the old time would look up to date to every later run.
        auto danach = ops_.status(quelle.fd());
        if (!danach)
            s = Ausgang::fehler(danach.fehlercode());
        else if (danach.wert().st_size != st.st_size ||
                 !gleiche_zeit(danach.wert().st_mtim, st.st_mtim))
            s = Ausgang::fehler(quelle_verändert);
    }
    if (s) {
        struct stat rechte = st;
        // A user's link to a setuid program of another must not make one.
        if (ohne_vorrechte) rechte.st_mode &= ~mode_t{S_ISUID | S_ISGID};
        s = übernimm_rechte(ops_, temp.fd(), rechte, als_root_);
    }
    if (s) s = übernimm_attribute(ops_, quelle.fd(), temp.fd(), st, als_root_, ohne_vorrechte);
    // close reports a write error that some file systems only notice then.
    if (Ausgang zu = temp.schließe(); s && !zu) s = zu;
    if (!s) {
        (void)ops_.entferne_datei(zielverzeichnis, kopie.temp_name);
        return s;
    }
    kopie.zeiten[0] = st.st_atim;
    kopie.zeiten[1] = st.st_mtim;
    kopie.größe = st.st_size;
    auto alt = ops_.status_ohne_folgen(zielverzeichnis, zielname);
    kopie.ersetzt_daten = alt && S_ISREG(alt.wert().st_mode) && alt.wert().st_size > 0;
    return erfolg();
}

Ausgang Systemkopie::setze_ein(int zielverzeichnis, const std::string& zielname,
                               const Zwischenkopie& kopie) {
    bool abgelegt = false;
    Ausgang s = lege_ersetztes_ab(zielverzeichnis, zielname, kopie.relativ, abgelegt);
    if (s) s = ops_.benenne_um(zielverzeichnis, kopie.temp_name, zielverzeichnis, zielname);
    if (!s) {
        (void)ops_.entferne_datei(zielverzeichnis, kopie.temp_name);
        if (abgelegt) ablage_->hole_zurück(zielverzeichnis, zielname, kopie.relativ);
        // The copy was complete and its name taken: only the name can be at fault.
        if (ist_namensablehnung(s.fehlercode(), zielname) &&
            ops_.status_ohne_folgen(zielverzeichnis, zielname).fehlercode() == ENOENT)
            return Ausgang::fehler(name_abgelehnt);
        return s;
    }
    // The times come last, because some file systems (fusefat among them)
    // give a renamed file the current time. The data are in place by now: a
    // time that does not take costs no more than a second copy next run.
    timespec zeiten[2] = {kopie.zeiten[0], kopie.zeiten[1]};
    if (zeiten_begrenzt_)
        for (timespec& z : zeiten) z = zeit_im_medium(z, utc_versatz_);
    (void)ops_.setze_zeiten_von(zielverzeichnis, zielname, zeiten);
    if (ablage_ && ablage_->aktiv() && !kopie.relativ.empty())
        ablage_->vermerke_erstellt(zielverzeichnis, zielname, kopie.relativ, abgelegt);
    return erfolg();
}

Ausgang Systemkopie::lege_ersetztes_ab(int zielverzeichnis, const std::string& zielname,
                                       std::string_view relativ, bool& abgelegt) {
    if (!ablage_ || !ablage_->aktiv() || relativ.empty()) return erfolg();
    auto alt = ops_.status_ohne_folgen(zielverzeichnis, zielname);
    // A directory in the way fails the rename, as without versions.
    if (!alt || S_ISDIR(alt.wert().st_mode)) return erfolg();
    Ausgang s = ablage_->lege_ab(zielverzeichnis, zielname, relativ, Protokollart::ersetzt);
    abgelegt = s.ok();
    // Gone since it was looked at (fusefat forgets a renamed directory's
    // entries): there is nothing left to keep.
    if (s.fehlercode() == ENOENT &&
        ops_.status_ohne_folgen(zielverzeichnis, zielname).fehlercode() == ENOENT)
        return erfolg();
    return s;
}

}  // namespace tarvendo
