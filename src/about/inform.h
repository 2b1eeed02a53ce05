#pragma once
// The about dialog: the program's name, version and maker, the operating
// system and the versions of the libraries it runs on, and links to the
// maker's web page and e-mail address.

#include <QDialog>

#include <string>

#include "about/umgebung.h"

namespace tarvendo {

class Inform : public QDialog {
    Q_OBJECT

public:
    // Filled at once from the arguments; shown with open() by zeige.
    Inform(QWidget* eigentümer, const Komponenten& komponenten, const std::string& systemname);

    // Opens the dialog modally over eigentümer (the main window) with the
    // libraries and system this program runs on, and returns at once. The
    // dialog deletes itself when it is closed.
    static Inform* zeige(QWidget* eigentümer);
};

}  // namespace tarvendo
