// Random pairs of small trees against a short model of the comparison and of
// the target after one run: type changes, times near the tolerance, equal
// sizes with other data, modes, case twins, names that are not UTF-8, links
// and FIFOs on either side.

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "testhilfe/sicherung.h"
#include "testhilfe/verzeichnisinhalt.h"

namespace tarvendo::test {
namespace {

// An entry as the test made it. fremd: a link or FIFO in the target, never
// equal to a file; geschützt: a dangling link or FIFO in the source, whose
// name protects the target's entries of that name in any spelling.
struct Eintrag {
    enum Art { datei, verzeichnis, fremd, geschützt } art = datei;
    std::string inhalt;
    long sekunden = 0, nano = 0;
    mode_t modus = 0;
    bool verknüpft = false;  // in the source: a link to a file outside
    std::map<std::string, Eintrag> kinder;
};
using Baum = std::map<std::string, Eintrag>;

Eintrag nur(Eintrag::Art art) {
    Eintrag e;
    e.art = art;
    return e;
}

// Two spellings at most per name, so that a name meets its own spelling or the other.
const char* const namen[] = {"a", "A", "b.txt", "B.TXT", "n\xff", "N\xff", "\xc3\xa9", ".v"};

std::string schlüssel(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string andere_schreibweise(std::string s) {
    for (char& c : s) {
        const auto b = static_cast<unsigned char>(c);
        c = static_cast<char>(std::isupper(b) ? std::tolower(b) : std::toupper(b));
    }
    return s;
}

struct Zufall {
    std::mt19937 folge;
    unsigned operator()(unsigned n) {
        return std::uniform_int_distribution<unsigned>(0, n - 1)(folge);
    }

    Eintrag datei() {
        return {Eintrag::datei,
                std::string((*this)(3), "xy"[(*this)(2)]),
                1'600'000'000 + 100 * (*this)(2),
                (*this)(2) ? 999'999'999 : 0,
                (*this)(4) ? 0644u : 0600u,
                (*this)(5) == 0,
                {}};
    }
    Eintrag verzeichnis(Baum kinder) {
        return {Eintrag::verzeichnis, "", 0, 0, (*this)(4) ? 0755u : 0700u, false,
                std::move(kinder)};
    }
    // No twin beside a protected name, which holds its place in the target,
    // and twins of one kind: a file cannot make way for its directory twin.
    Baum quelle(int tiefe) {
        Baum b;
        for (const char* n : namen) {
            const unsigned wahl = (*this)(9);
            if (wahl < 4 || (wahl >= 6 && wahl < 8 && tiefe == 0)) continue;
            Eintrag e = wahl < 6   ? datei()
                        : wahl < 8 ? verzeichnis(quelle(tiefe - 1))
                                   : nur(Eintrag::geschützt);
            const std::string m = andere_schreibweise(n);
            const bool verzeichnis = e.art == Eintrag::verzeichnis;
            if (m != n && std::find(std::begin(namen), std::end(namen), m) != std::end(namen) &&
                (e.art == Eintrag::geschützt ||
                 (b.contains(m) && (b[m].art == Eintrag::verzeichnis) != verzeichnis)))
                continue;
            b[n] = std::move(e);
        }
        return b;
    }
    Eintrag zieleintrag(int tiefe) {
        switch ((*this)(3)) {
            case 0: {
                Eintrag e = datei();
                e.verknüpft = false;
                return e;
            }
            case 1:
                return nur(Eintrag::fremd);
            default:
                return verzeichnis(tiefe > 0 ? ziel({}, tiefe - 1) : Baum{});
        }
    }
    // The target's counterpart of a source entry: equal, a little or wholly different.
    Eintrag abwandlung(const Eintrag& q, int tiefe) {
        Eintrag z = q;
        z.verknüpft = false;
        if (q.art == Eintrag::geschützt || (*this)(8) == 0) return zieleintrag(tiefe);
        if (q.art == Eintrag::verzeichnis) {
            z.kinder = ziel(q.kinder, tiefe - 1);
            if ((*this)(4) == 0) z.modus ^= 0055;
            return z;
        }
        const long sekunden[] = {2, -2, 3, -3, 3600};
        switch ((*this)(8)) {
            case 0:
                z.sekunden += sekunden[(*this)(5)];
                z.nano = (*this)(2) ? 0 : 5;
                break;
            case 1:
                std::replace(z.inhalt.begin(), z.inhalt.end(), 'x', 'y');
                break;  // same size
            case 2:
                z.inhalt += 'z';
                break;
            case 3:
                z.modus ^= 0044;
                break;
        }
        return z;
    }
    Baum ziel(const Baum& q, int tiefe) {
        Baum z;
        for (const auto& [n, e] : q) {
            const unsigned wahl = (*this)(8);
            // Another spelling only where the source has none, or both
            // spellings would claim one place.
            const std::string name =
                wahl == 1 && !q.contains(andere_schreibweise(n)) ? andere_schreibweise(n) : n;
            if (wahl != 0) z.emplace(name, abwandlung(e, tiefe));
        }
        for (const char* n : namen)
            if (!z.contains(n) && !z.contains(andere_schreibweise(n)) &&
                (q.contains(n) || !q.contains(andere_schreibweise(n))) && (*this)(5) == 0)
                z.emplace(n, zieleintrag(tiefe));
        return z;
    }
};

void schreibe(const std::string& pfad, const Baum& b, const std::string& außen, int& nummer) {
    for (const auto& [n, e] : b) {
        const std::string p = pfad + "/" + n, fremd = außen + "/" + std::to_string(++nummer);
        const char* ziele[] = {"datei", "ordner", "fehlt"};
        switch (e.art) {
            case Eintrag::datei:
                schreibe_datei(e.verknüpft ? fremd : p, e.inhalt);
                if (e.verknüpft) {
                    ASSERT_EQ(::symlink(fremd.c_str(), p.c_str()), 0);
                }
                ASSERT_EQ(::chmod(p.c_str(), e.modus), 0);
                setze_zeit(e.verknüpft ? fremd : p, e.sekunden, e.nano);
                break;
            case Eintrag::verzeichnis:
                erstelle_verzeichnis(p);
                schreibe(p, e.kinder, außen, nummer);
                ASSERT_EQ(::chmod(p.c_str(), e.modus), 0);
                break;
            default:  // what the source cannot read: a dangling link or a FIFO
                if (nummer % 4 == 0) {
                    ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
                } else {
                    ASSERT_EQ(::symlink((außen + "/" +
                                         ziele[e.art == Eintrag::fremd ? nummer % 4 - 1 : 2])
                                            .c_str(),
                                        p.c_str()),
                              0);
                }
        }
    }
}

// A tree as it is on disk; directories without their times, links and FIFOs as fremd.
Baum lies(const std::string& pfad, bool basis = false) {
    Baum b;
    for (const std::string& n : namen_in(pfad)) {
        if (basis && n == ".tarvendo") continue;
        const std::string p = pfad + "/" + n;
        const struct stat st = lstat_von(p);
        Eintrag& e = b[n];
        e.modus = st.st_mode & 07777;
        if (S_ISDIR(st.st_mode)) {
            e = {Eintrag::verzeichnis, "", 0, 0, e.modus, false, lies(p)};
        } else if (S_ISREG(st.st_mode)) {
            e = {Eintrag::datei,
                 lies_datei(p),
                 st.st_mtim.tv_sec,
                 st.st_mtim.tv_nsec,
                 e.modus,
                 false,
                 {}};
        } else {
            e = nur(Eintrag::fremd);
        }
    }
    return b;
}

void unterschiede(const Baum& soll, const Baum& ist, const std::string& pfad, Zeilen& aus) {
    for (const auto& [n, e] : soll) {
        const auto it = ist.find(n);
        const Eintrag& i = it == ist.end() ? Eintrag{} : it->second;
        if (it == ist.end() || e.art != i.art || e.inhalt != i.inhalt || e.sekunden != i.sekunden ||
            e.nano != i.nano || e.modus != i.modus) {
            aus.push_back(pfad + "/" + n + (it == ist.end() ? " fehlt" : " anders"));
        } else {
            unterschiede(e.kinder, i.kinder, pfad + "/" + n, aus);
        }
    }
    for (const auto& [n, e] : ist)
        if (!soll.contains(n)) aus.push_back(pfad + "/" + n + " zu viel");
}

// What a comparison must find, and the target after the run.
struct Modell {
    Zeilen aufgaben;

    // What a copy of a source entry gives: no link, nothing of what was not read.
    static Eintrag kopie(Eintrag e) {
        e.verknüpft = false;
        std::erase_if(e.kinder, [](const auto& k) { return k.second.art == Eintrag::geschützt; });
        for (auto& [n, k] : e.kinder) k = kopie(k);
        return e;
    }
    void alles(const std::string& code, const Baum& b, const std::string& pfad) {
        for (const auto& [n, e] : b) {
            if (e.art == Eintrag::geschützt) continue;
            aufgaben.push_back(code + " " + pfad + "/" + n +
                               (e.art == Eintrag::verzeichnis ? "/" : ""));
            alles(code, e.kinder, pfad + "/" + n);
        }
    }
    // Names meet by letter case only where a name has no equal of its kind
    // on the other side; a directory never meets a file.
    static const std::string* gegenstück(const Baum& q, const Baum& z, const std::string& n) {
        const auto art = [](const Baum& b, const std::string& name) {
            const auto it = b.find(name);
            if (it == b.end() || it->second.art == Eintrag::geschützt) return -1;
            return it->second.art == Eintrag::verzeichnis ? 1 : 0;
        };
        const int soll = art(q, n);
        if (art(z, n) == soll) return &z.find(n)->first;
        const std::string m = andere_schreibweise(n);
        return m != n && art(z, m) == soll && art(q, m) != soll ? &z.find(m)->first : nullptr;
    }

    bool vergleiche(const Baum& q, const Baum& z, const std::string& pfad, Baum& nachher) {
        const std::size_t vorher = aufgaben.size();
        std::map<std::string, const Eintrag*> übrig;
        for (const auto& [n, e] : z) übrig[n] = &e;
        for (const auto& [n, e] : q) {
            if (e.art == Eintrag::geschützt) continue;
            const std::string* t = gegenstück(q, z, n);
            const bool verzeichnis = e.art == Eintrag::verzeichnis;
            const std::string zeile = " " + pfad + "/" + n + (verzeichnis ? "/" : "");
            if (!t) {
                alles("2", {{n, e}}, pfad);
                nachher[n] = kopie(e);
                continue;
            }
            const Eintrag& ze = *übrig[*t];
            übrig.erase(*t);
            const bool rechte = e.modus != ze.modus;
            if (verzeichnis) {
                Eintrag d = e;
                d.kinder.clear();
                const bool unten = vergleiche(e.kinder, ze.kinder, pfad + "/" + n, d.kinder);
                if (unten || rechte) aufgaben.push_back((rechte ? "4" : "0") + zeile);
                nachher[unten || rechte ? n : *t] = d;
            } else if (ze.art == Eintrag::fremd || e.inhalt.size() != ze.inhalt.size() ||
                       std::abs(e.sekunden - ze.sekunden) > 2) {
                aufgaben.push_back("2" + zeile);
                nachher[n] = kopie(e);
            } else {
                if (rechte) aufgaben.push_back("4" + zeile);
                nachher[rechte ? n : *t] = ze;
                nachher[rechte ? n : *t].modus = e.modus;
            }
        }
        for (const auto& [n, e] : übrig) {
            if (std::any_of(q.begin(), q.end(), [&](const auto& k) {
                    return k.second.art == Eintrag::geschützt && schlüssel(k.first) == schlüssel(n);
                }))
                nachher[n] = *e;
            else
                alles("3", {{n, *e}}, pfad);
        }
        return aufgaben.size() > vorher;
    }
};

std::string liste(const Zeilen& z) {
    std::string s;
    for (const std::string& zeile : z) s += "\n  " + zeile;
    return s;
}

TEST(Zufallspaare, VergleichUndLaufWieImModell) {
    // On a tmpfs of its own (as root) the flushes of 200 runs cost nothing.
    const TempVerzeichnis platz;
    const char* vorher = std::getenv("TMPDIR");
    const std::string tmpdir = vorher ? vorher : "";
    if (::mount("tarvendo-test", platz.pfad().c_str(), "tmpfs", 0, "size=64m") == 0)
        ::setenv("TMPDIR", platz.pfad().c_str(), 1);
    struct Aushängen {
        std::string pfad, tmpdir;
        bool gesetzt;
        ~Aushängen() {
            gesetzt ? ::setenv("TMPDIR", tmpdir.c_str(), 1) : ::unsetenv("TMPDIR");
            ::umount(pfad.c_str());
        }
    } aushängen{platz.pfad(), tmpdir, vorher != nullptr};
    for (unsigned saat = 1; saat <= 200; ++saat) {
        Sicherung s;
        Zufall w{std::mt19937(saat)};
        const Baum quelle = w.quelle(2 + saat % 2), ziel = w.ziel(quelle, 2 + saat % 2);
        const std::string außen = s.tmp / "außen";
        erstelle_verzeichnis(außen);
        erstelle_verzeichnis(außen + "/ordner");
        schreibe_datei(außen + "/datei", "draußen");
        int nummer = 0;
        schreibe(s.quelle, quelle, außen, nummer);
        schreibe(s.ziel, ziel, außen, nummer);
        const Baum außen_vorher = lies(außen);
        Modell m;
        Baum nachher;
        (void)m.vergleiche(quelle, ziel, "", nachher);
        std::sort(m.aufgaben.begin(), m.aufgaben.end());

        Zeilen aufgaben = s.vergleiche();
        std::sort(aufgaben.begin(), aufgaben.end());
        Zeilen nur_modell, nur_lauf;
        std::set_difference(m.aufgaben.begin(), m.aufgaben.end(), aufgaben.begin(), aufgaben.end(),
                            std::back_inserter(nur_modell));
        std::set_difference(aufgaben.begin(), aufgaben.end(), m.aufgaben.begin(), m.aufgaben.end(),
                            std::back_inserter(nur_lauf));
        ASSERT_TRUE(nur_modell.empty() && nur_lauf.empty())
            << "Saat " << saat << "\nnur im Modell:" << liste(nur_modell)
            << "\nnur gefunden:" << liste(nur_lauf);
        const auto anzahl = [&](char code) {
            return std::count_if(aufgaben.begin(), aufgaben.end(), [&](const std::string& z) {
                return z[0] == code && !z.ends_with('/');
            });
        };
        EXPECT_EQ(s.zustand.anzahl_kopieren, anzahl('2')) << "Saat " << saat;
        EXPECT_EQ(s.zustand.anzahl_löschen, anzahl('3')) << "Saat " << saat;

        const Synchronisationsbericht b = s.synchronisiere(saat % 2 ? standard_versionen_tage : 0);
        EXPECT_EQ(b.fehler, 0) << "Saat " << saat << ": "
                               << (s.rückfrage.meldungen.empty() ? ""
                                                                 : s.rückfrage.meldungen[0].text);
        Zeilen anders;
        unterschiede(nachher, lies(s.ziel, true), "", anders);
        unterschiede(außen_vorher, lies(außen), "außen", anders);
        ASSERT_TRUE(anders.empty()) << "Saat " << saat << liste(anders);
        ASSERT_EQ(s.vergleiche(), Zeilen{}) << "Saat " << saat;
    }
}

}  // namespace
}  // namespace tarvendo::test
