#pragma once
// The view of pending tasks: nodes built from the task tree one level at a
// time, check boxes carried into the model and back, and the summary line.

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

#include "engine/pfadklasse.h"
#include "engine/schnittstellen.h"
#include "mainwindow/baumansicht.h"

namespace tarvendo {

class Aufgabenansicht {
public:
    // schwerer_fehler gets the message when a node cannot be added; it
    // must not return.
    Aufgabenansicht(Baumansicht& baum, Statusanzeige& Arbeitsinfo, Programmzustand& zustand,
                    const std::unique_ptr<Pfadklasse>& aufgabenbaum,
                    std::function<void(const std::string&)> schwerer_fehler);

    // The root for the target directory with its first level.
    void zeige(const std::string& zielbasis);

    void gibUnterverzeichnisse(Knoten& eltern);
    void Arbeitsbaum_Expand(Knoten* knoten);
    void Arbeitsbaum_NodeCheck(Knoten* knoten);
    // Every built node below and at knoten shows its model flag again.
    void aktualisiere_checkboxen(Knoten& knoten);

private:
    Baumansicht& baum_;
    Statusanzeige& info_;
    Programmzustand& zustand_;
    const std::unique_ptr<Pfadklasse>& aufgabenbaum_;
    std::function<void(const std::string&)> schwerer_fehler_;
    // Ticked directories below which something is not: their boxes show so.
    std::unordered_set<const Pfadklasse*> teilweise_;
};

// A directory's key is its parent's key, "/" and its name. A file's key ends
// in a NUL, which no name holds: a file and a directory of the same name (one
// to delete, the other to create where the type changed) never share a key.
[[nodiscard]] std::string dateischlüssel(const std::string& verzeichnisschlüssel,
                                         const std::string& name);

// The placeholder that stands for a directory's contents until it is opened.
// Its key holds a NUL, which no name can contain, so it never meets the key
// of a real entry.
[[nodiscard]] std::string platzhalterschlüssel(const std::string& verzeichnisschlüssel);

}  // namespace tarvendo
