// Tarvendo: makes a target directory tree equal to a source tree.

#include <QApplication>

#include "mainwindow/hauptfenster.h"
#include "mainwindow/sprache.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvendo"));
    (void)tarvendo::lade_übersetzungen();

    tarvendo::verzeichnis fenster;
    fenster.Form_Load();
    return QApplication::exec();
}
