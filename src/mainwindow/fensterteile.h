#pragma once
// The elements of the main window that its commands work on.

#include <QPushButton>
#include <QString>
#include <QToolButton>

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

// A command shows "abbrechen" on its button while it runs, in any case.
inline bool liest_abbrechen(const QAbstractButton& knopf) {
    return knopf.text().toUpper() == QStringLiteral("ABBRECHEN");
}

}  // namespace tarvendo
