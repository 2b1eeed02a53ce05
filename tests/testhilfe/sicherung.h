#pragma once
// Compare and synchronise runs on real directories, as the window makes them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/synchronisation.h"
#include "engine/vergleich.h"
#include "testhilfe/fakes.h"
#include "testhilfe/fehlerdateioperationen.h"
#include "testhilfe/gestoerte_quelle.h"
#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {

using Zeilen = std::vector<std::string>;

// The task lines "code /path" of a task tree, directories ending in "/".
inline void zeilen(const Pfadklasse& k, const std::string& pfad, Zeilen& aus) {
    for (const Pfadklasse& p : k.pfade) {
        aus.push_back(std::to_string(p.aufgabe) + " " + pfad + "/" + p.pfadname + "/");
        zeilen(p, pfad + "/" + p.pfadname, aus);
    }
    for (const Dateiklasse& d : k.dateien)
        aus.push_back(std::to_string(d.aufgabe) + " " + pfad + "/" + d.Name);
}

struct Sicherung {
    TempVerzeichnis tmp;
    std::string quelle = tmp / "q", ziel = tmp / "z";
    AufzeichnendeAnzeigen anzeigen;
    ZählendeSchleife schleife;
    SkriptRückfrage rückfrage;
    ZählenderErledigtbaum erledigt;
    Programmzustand zustand;
    GestörteQuelle dateisystem;  // listings sorted by name
    FehlerDateioperationen ops;  // the real calls unless a test fails some
    CStopWatch stoppuhr;
    Vergleichsstand stand;

    Sicherung() {
        erstelle_verzeichnis(quelle);
        erstelle_verzeichnis(ziel);
    }
    // Files holding their own name, and directories for the names ending in "/".
    void lege_an(const Zeilen& pfade) {
        for (const std::string& p : pfade)
            p.ends_with('/') ? erstelle_verzeichnis(tmp / p) : schreibe_datei(tmp / p, p);
    }
    Zeilen vergleiche() {
        EXPECT_TRUE(tarvendo::vergleiche(stand, quelle, ziel, anzeigen.alle, schleife, zustand,
                                         dateisystem));
        Zeilen z;
        zeilen(*stand.aufgabenbaum, "", z);
        return z;
    }
    Synchronisationsbericht synchronisiere(int versionen_tage = standard_versionen_tage) {
        return tarvendo::synchronisiere(
            *stand.aufgabenbaum, quelle, ziel,
            {anzeigen.alle, schleife, rückfrage, erledigt, zustand, ops, stoppuhr}, versionen_tage);
    }
};

}  // namespace tarvendo::test
