#pragma once
// The elements of the main window that its commands work on.

#include <QPushButton>
#include <QString>
#include <QToolButton>

#include <functional>

#include "engine/schnittstellen.h"
#include "engine/vergleich.h"
#include "mainwindow/meldung.h"

namespace tarvendo {

class Baumansicht;
class Pfadfeld;
class Status;

struct Fensterteile {
    QToolButton* Quellverzeichnis_Festlegen = nullptr;
    Pfadfeld* Basisverzeichnis = nullptr;
    QToolButton* Zielverzeichnis_Festlegen = nullptr;
    Pfadfeld* Zielbasisverzeichnis = nullptr;
    Baumansicht* Arbeitsbaum = nullptr;
    Baumansicht* Aufgaben_erledigt = nullptr;
    QPushButton* CompareButton = nullptr;
    QPushButton* SyncButton = nullptr;
    Status* Arbeitsschritt = nullptr;
    Status* Arbeitsverzeichnis = nullptr;
    Status* Arbeitsinfo = nullptr;
    Status* Arbeitsdatei = nullptr;
};

// What both commands of the window work with.
struct Befehlsumgebung {
    Fensterteile& teile;
    Anzeigen& anzeigen;
    Ereignisschleife& schleife;
    Programmzustand& zustand;
    Vergleichsstand& stand;
    Meldungsweg& meldung;
    std::function<void()> schließe_fenster;  // a close request, refused while busy
};

// A command shows "abbrechen" on its button while it runs, in any case.
inline bool liest_abbrechen(const QAbstractButton& knopf) {
    return knopf.text().toUpper() == QStringLiteral("ABBRECHEN");
}

}  // namespace tarvendo
