// Random pairs of small trees against a short model of the comparison and of
// the target after one run; a second comparison after the run finds nothing.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <utility>

#include "testhilfe/sicherung.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

// fremd: a link or FIFO in the target; geschützt: a dangling link or FIFO in the source,
// which protects its name in any spelling; unlesbar: a source file that cannot be read.
struct Eintrag {
    enum Art { datei, verzeichnis, fremd, geschützt, unlesbar } art = datei;
    std::string inhalt;  // of a fremd entry: where its link points
    long sekunden = 0, nano = 0;
    bool verknüpft = false;  // in the source: a link to a file outside
    std::map<std::string, Eintrag> kinder;
    int gelesen = -1;  // of a source directory: the entries listed before its listing fails
};
using Baum = std::map<std::string, Eintrag>;

// Two spellings at most per name: a name meets its own spelling or the other.
const char* const namen[] = {"a", "A", "b.txt", "B.TXT", "n\xff", "N\xff", "\xc3\xa9", ".v"};

std::string andere_schreibweise(std::string s) {
    for (char& c : s) c = static_cast<char>(std::isalpha(c & 0xff) ? c ^ 0x20 : c);
    return s;
}
bool ist(const Baum& b, const std::string& n, Eintrag::Art art) {
    return b.contains(n) && b.at(n).art == art;
}
bool vollständig(const Eintrag& e) {
    return e.gelesen < 0 && std::none_of(e.kinder.begin(), e.kinder.end(), [](const auto& k) {
               return k.second.art == Eintrag::unlesbar;
           });
}

struct Zufall {
    std::mt19937 folge;
    unsigned w(unsigned n) { return std::uniform_int_distribution(0u, n - 1)(folge); }

    Eintrag mit(Eintrag::Art art, Baum kinder = {}) {
        std::string inhalt(1 + w(2), "xy"[w(2)]);
        const long sekunden = 1'600'000'000 + 100 * w(2), nano = w(2) ? 999'999'999 : 0;
        return {art, std::move(inhalt), sekunden, nano, false, std::move(kinder)};
    }
    // No twin beside a protected name; twins of one kind (a file cannot make way for a directory).
    Baum quelle(int tiefe) {
        Baum b;
        for (const char* n : namen) {
            const unsigned wahl = w(9);
            if (wahl < 4 || (wahl >= 6 && wahl < 8 && tiefe == 0)) continue;
            Eintrag e = wahl < 6   ? mit(Eintrag::datei)
                        : wahl < 8 ? mit(Eintrag::verzeichnis, quelle(tiefe - 1))
                                   : mit(w(2) ? Eintrag::geschützt : Eintrag::unlesbar);
            const bool ordner = e.art == Eintrag::verzeichnis;
            if (ordner && w(6) == 0) e.gelesen = static_cast<int>(w(3));
            e.verknüpft = e.art == Eintrag::datei && w(5) == 0;
            const std::string m = andere_schreibweise(n);
            const bool zwilling = m != n && std::ranges::count(namen, m) > 0;
            if (!zwilling || (e.art != Eintrag::geschützt &&
                              (!b.contains(m) || ist(b, m, Eintrag::verzeichnis) == ordner)))
                b[n] = std::move(e);
        }
        return b;
    }
    Eintrag zieleintrag(int tiefe) {
        const unsigned wahl = w(3);
        return wahl == 0   ? mit(Eintrag::datei)
               : wahl == 1 ? mit(Eintrag::fremd)
                           : mit(Eintrag::verzeichnis, tiefe > 0 ? ziel({}, tiefe - 1) : Baum{});
    }
    // The target's counterpart of a source entry: equal, a little or wholly different.
    Eintrag abwandlung(const Eintrag& q, int tiefe, bool löschen) {
        const bool anders = q.art >= Eintrag::geschützt || w(8) == 0;
        if (anders)
            return q.art == Eintrag::verzeichnis ? mit(w(2) ? Eintrag::datei : Eintrag::fremd)
                                                 : zieleintrag(tiefe);
        Eintrag z = q;
        z.verknüpft = false;
        if (q.art == Eintrag::verzeichnis) {
            z.kinder = ziel(q.kinder, tiefe - 1, löschen && vollständig(q));
            return z;
        }
        const long sekunden[] = {2, -2, 3, -3, 3600};
        const unsigned wahl = w(8);
        if (wahl == 0) z.sekunden += sekunden[w(5)], z.nano = 5 * w(2);
        if (wahl == 1) std::ranges::replace(z.inhalt, 'x', 'y');  // same size
        if (wahl == 2) z.inhalt += 'z';
        if (wahl == 4) z.art = Eintrag::fremd;  // a link as long and as old as the file
        return z;
    }
    // Another spelling only where no two claim one place, an entry of its own only where the
    // source has neither spelling; where nothing is deleted, no type change, which would only
    // block the copy.
    Baum ziel(const Baum& q, int tiefe, bool löschen = true) {
        Baum z;
        for (const auto& [n, e] : q)
            if (const unsigned wahl = w(8); wahl != 0)
                z.emplace(
                    wahl == 1 && !q.contains(andere_schreibweise(n)) ? andere_schreibweise(n) : n,
                    abwandlung(e, tiefe, löschen));
        for (const std::string n : namen)
            if (!z.contains(n) && !z.contains(andere_schreibweise(n)) && !q.contains(n) &&
                !q.contains(andere_schreibweise(n)) && w(5) == 0)
                z.emplace(n, zieleintrag(tiefe));
        std::erase_if(z, [&](const auto& k) {
            return !löschen &&
                   (ist(q, k.first, Eintrag::datei) || ist(q, k.first, Eintrag::verzeichnis)) &&
                   ist(q, k.first, Eintrag::verzeichnis) != (k.second.art == Eintrag::verzeichnis);
        });
        return z;
    }
};

// For the source, what cannot be read fails through the file-system seam.
void schreibe(const std::string& pfad, const Baum& b, const std::string& außen,
              GestörteQuelle* störung = nullptr) {
    static int nummer = 0;
    for (const auto& [n, e] : b) {
        const std::string p = pfad + "/" + n, fremd = außen + "/" + std::to_string(++nummer);
        if (störung && e.art == Eintrag::unlesbar) störung->daten_scheitern[p] = EIO;
        if (störung && e.gelesen >= 0)
            störung->lesen_scheitert[p] = {2 + std::size_t(e.gelesen), EIO};
        if (e.art == Eintrag::verzeichnis) {
            erstelle_verzeichnis(p);
            schreibe(p, e.kinder, außen, störung);
        } else if (e.art == Eintrag::datei || e.art == Eintrag::unlesbar) {
            schreibe_datei(e.verknüpft ? fremd : p, e.inhalt);
            ASSERT_EQ(e.verknüpft ? ::symlink(fremd.c_str(), p.c_str()) : 0, 0);
        } else if (e.nano == 0) {
            ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
        } else {  // the target's links lead out of the tree, or nowhere as long as a file's data
            const std::string wohin = e.art == Eintrag::geschützt ? "fehlt"
                                      : e.inhalt.size() > 1       ? e.inhalt
                                      : e.sekunden % 200 == 0     ? außen + "/ordner"
                                                                  : außen + "/datei";
            ASSERT_EQ(::symlink(wohin.c_str(), p.c_str()), 0);
        }
        if (e.art != Eintrag::verzeichnis) setze_zeit(e.verknüpft ? fremd : p, e.sekunden, e.nano);
    }
}

// One line per entry, "path kind data time"; directories without their times.
Zeilen flach(const Baum& b, const std::string& pfad = "") {
    Zeilen aus;
    for (const auto& [n, e] : b) {
        const std::string zeit = std::to_string(e.sekunden) + "." + std::to_string(e.nano);
        aus.push_back(pfad + "/" + n + " " + "fdl"[std::min<int>(e.art, 2)] +
                      (e.art == Eintrag::datei ? " " + e.inhalt + " " + zeit : ""));
        std::ranges::copy(flach(e.kinder, pfad + "/" + n), std::back_inserter(aus));
    }
    return aus;
}
Baum lies(const std::string& pfad) {
    Baum b;
    for (const std::string& n : namen_in(pfad)) {
        const std::string p = pfad + "/" + n;
        const struct stat st = lstat_von(p);
        const bool d = S_ISDIR(st.st_mode), f = S_ISREG(st.st_mode);
        const auto art = d ? Eintrag::verzeichnis : f ? Eintrag::datei : Eintrag::fremd;
        b[n] = {art,   f ? lies_datei(p) : "", st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
                false, d ? lies(p) : Baum{}};
    }
    return b;
}

// What a comparison must find, and the target after the run.
struct Modell {
    Zeilen aufgaben;

    // What the scan has of a source directory: what was listed and could be read.
    static Baum gelesen(const Eintrag& e) {
        Baum b;
        int i = 0;
        for (const auto& [n, k] : e.kinder)
            if ((e.gelesen < 0 || i++ < e.gelesen) && k.art != Eintrag::unlesbar) b[n] = k;
        return b;
    }
    static Eintrag kopie(Eintrag e) {  // never a link, nothing that was not read
        e.kinder = gelesen(e);
        std::erase_if(e.kinder, [](const auto& k) { return k.second.art == Eintrag::geschützt; });
        for (auto& [n, k] : e.kinder) k = kopie(k);
        return e;
    }
    void alles(char code, const std::string& pfad, const Eintrag& e) {
        aufgaben.push_back(code + (" " + pfad) + (e.art == Eintrag::verzeichnis ? "/" : ""));
        for (const auto& [n, k] : e.kinder) alles(code, pfad + "/" + n, k);
    }
    // Case twins meet where a name has no equal of its kind; a directory never meets a file.
    static const std::string* gegenstück(const Baum& q, const Baum& z, const std::string& n) {
        const auto art = [](const Baum& b, const std::string& k) {  // -1: none, 1: a directory
            return !b.contains(k) || ist(b, k, Eintrag::geschützt)
                       ? -1
                       : ist(b, k, Eintrag::verzeichnis);
        };
        const std::string m = andere_schreibweise(n);
        if (art(z, n) == art(q, n)) return &z.find(n)->first;
        return art(z, m) == art(q, n) && art(q, m) != art(q, n) ? &z.find(m)->first : nullptr;
    }
    // löschen: whether the source directory was read completely, and every one above it.
    bool vergleiche(const Baum& q, const Baum& z, const std::string& pfad, Baum& nachher,
                    bool löschen) {
        const std::size_t vorher = aufgaben.size();
        Baum übrig = z;
        for (const auto& [n, e] : q) {
            const std::string* t = gegenstück(q, z, n);
            const std::string p = pfad + "/" + n;
            if (e.art == Eintrag::geschützt) continue;
            if (!t) {
                alles('2', p, nachher[n] = kopie(e));
                continue;
            }
            Eintrag ze = übrig.extract(*t).mapped();
            if (e.art == Eintrag::verzeichnis) {
                const Baum unten = std::exchange(ze.kinder, {});
                const bool angepasst =
                    vergleiche(gelesen(e), unten, p, ze.kinder, löschen && vollständig(e));
                if (angepasst) aufgaben.push_back("0 " + p + "/");
                nachher[angepasst ? n : *t] = ze;
            } else if (ze.art == Eintrag::fremd || e.inhalt.size() != ze.inhalt.size() ||
                       std::abs(e.sekunden - ze.sekunden) > 2) {
                aufgaben.push_back("2 " + p);
                nachher[n] = kopie(e);
            } else {
                nachher[*t] = ze;
            }
        }
        for (const auto& [n, e] : übrig)
            if (löschen && !ist(q, n, Eintrag::geschützt) &&
                !ist(q, andere_schreibweise(n), Eintrag::geschützt))
                alles('3', pfad + "/" + n, e);
            else
                nachher[n] = e;
        return aufgaben.size() > vorher;
    }
    long anzahl(char code) const {  // files only
        return std::ranges::count_if(aufgaben,
                                     [code](auto& z) { return z[0] == code && z.back() != '/'; });
    }
};

TEST(Zufallspaare, VergleichUndLaufWieImModell) {
    // On a tmpfs of its own (as root) the flushes of many runs cost nothing.
    const TempVerzeichnis platz;
    const std::string tmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    const std::shared_ptr<void> aushängen(nullptr, [&](void*) {
        tmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", tmpdir.c_str(), 1);
        ::umount(platz.pfad().c_str());
    });
    if (::mount("tarvendo-test", platz.pfad().c_str(), "tmpfs", 0, "size=64m") == 0)
        ::setenv("TMPDIR", platz.pfad().c_str(), 1);
    for (unsigned saat = 1; saat <= 200; ++saat) {
        SCOPED_TRACE("Saat " + std::to_string(saat));
        Sicherung s;
        Zufall w{std::mt19937(saat)};
        Eintrag wurzel;
        wurzel.kinder = w.quelle(2 + saat % 2);
        const Baum& quelle = wurzel.kinder;
        const Baum ziel = w.ziel(quelle, 2 + saat % 2, vollständig(wurzel));
        const std::string außen = s.tmp / "außen";
        s.lege_an({"außen/", "außen/ordner/", "außen/ordner/f", "außen/datei"});
        schreibe(s.quelle, quelle, außen, &s.dateisystem);
        schreibe(s.ziel, ziel, außen);
        const Zeilen außen_vorher = flach(lies(außen));
        Modell m;
        Baum nachher;
        (void)m.vergleiche(Modell::gelesen(wurzel), ziel, "", nachher, vollständig(wurzel));

        Zeilen aufgaben = s.vergleiche();
        std::ranges::sort(aufgaben), std::ranges::sort(m.aufgaben);
        ASSERT_EQ(aufgaben, m.aufgaben);
        EXPECT_EQ(s.zustand.anzahl_kopieren, m.anzahl('2'));
        EXPECT_EQ(s.zustand.anzahl_löschen, m.anzahl('3'));

        const Synchronisationsbericht b = s.synchronisiere(saat % 2 ? standard_versionen_tage : 0);
        EXPECT_EQ(b.fehler, 0) << (s.rückfrage.meldungen.empty() ? ""
                                                                 : s.rückfrage.meldungen[0].text);
        Baum danach = lies(s.ziel);
        danach.erase(".tarvendo");
        ASSERT_EQ(flach(danach), flach(nachher));
        ASSERT_EQ(flach(lies(außen)), außen_vorher);  // nothing outside changed through a link
        ASSERT_EQ(s.vergleiche(), Zeilen{});
    }
}

}  // namespace
}  // namespace tarvendo::test
