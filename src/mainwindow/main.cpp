// Tarvendo: makes a target directory tree equal to a source tree.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "mainwindow/hauptfenster.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvendo"));

    // The interface is German, so the toolkit's own buttons and dialogs are too.
    QTranslator übersetzung;
    if (übersetzung.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&übersetzung);

    tarvendo::verzeichnis fenster;
    fenster.Form_Load();
    return QApplication::exec();
}
