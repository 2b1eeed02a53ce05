// Tarvendo: makes a target directory tree equal to a source tree.

#include <QApplication>

#include "engine/dateigrenze.h"
#include "mainwindow/hauptfenster.h"
#include "mainwindow/signalwache.h"
#include "mainwindow/sprache.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvendo"));
    (void)tarvendo::lade_übersetzungen();

    tarvendo::erhöhe_dateigrenze();
    tarvendo::verzeichnis fenster;
    const tarvendo::Signalwache wache([&fenster] { fenster.sitzungsende(); });
    fenster.Form_Load();
    return QApplication::exec();
}
