#pragma once
// Compares a source tree with a target tree and builds the task tree.

#include <cstdint>
#include <string>

#include "engine/pfadklasse.h"
#include "engine/rechte.h"
#include "engine/schnittstellen.h"

namespace tarvendo {

// "<kopieren> kopieren / <löschen> löschen"
[[nodiscard]] std::string summentext(std::int32_t kopieren, std::int32_t löschen);

// True when two files present on both sides differ: sizes unequal, or last
// write times more than 2 whole seconds apart (whichever is newer).
[[nodiscard]] bool ist_geändert(const Dateiklasse& quelle, const Dateiklasse& ziel);

class Aufgabenermittlung {
public:
    Aufgabenermittlung(Anzeigen& anzeigen, Ereignisschleife& schleife, Programmzustand& zustand);

    // Adds below apfad what makes zpfad equal to qpfad, counting file copies
    // and deletions in the state's anzahl_kopieren and anzahl_löschen, and
    // removes every target entry it matches from zpfad. Below a source
    // directory marked nicht_gelesen nothing in the target is deleted. A
    // matched file or directory (apfad itself included) whose rights differ
    // as rechte_weichen_ab tells, and is not to be copied anyway, carries
    // aufgabe_rechte; these are not counted. True when at least one task was
    // added. Returns early once abbruch is set.
    bool aufgaben_ermitteln(const Pfadklasse& qpfad, Pfadklasse& zpfad, Pfadklasse& apfad);

    // On a target that ignores letter case an entry meets its counterpart in
    // any spelling, and of case twins in the source only the first by byte
    // order does; every other twin becomes a copy task that the run reports
    // as failed (Pfadklasse::setze_zwilling).
    void setze_ziel_ignoriert_schreibweise(bool ja) { ignoriert_schreibweise_ = ja; }

    // What the target keeps (prüfe_rechtepflege).
    Rechtepflege rechtepflege;

private:
    // rechte_erlaubt: directories get no task of their rights (not below a
    // mount point in the target, which keeps what its medium gave it).
    bool ermittle(const Pfadklasse& qpfad, Pfadklasse& zpfad, Pfadklasse& apfad,
                  bool löschen_erlaubt, bool rechte_erlaubt);
    [[nodiscard]] bool verzeichnisrechte_weichen_ab(const Pfadklasse& qpfad,
                                                    const Pfadklasse& zpfad) const;
    void zeige_summe();
    // Raises a counter by one, showing the summary and yielding at every 100th.
    void zähle(std::int32_t& zähler);

    Anzeigen& anzeigen_;
    Ereignisschleife& schleife_;
    Programmzustand& zustand_;
    bool ignoriert_schreibweise_ = false;
};

}  // namespace tarvendo
