#include "mainwindow/sprache.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarvendo {

bool lade_übersetzungen() {
    auto* übersetzung = new QTranslator(QCoreApplication::instance());
    if (!übersetzung->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                           QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete übersetzung;
        return false;
    }
    return QCoreApplication::installTranslator(übersetzung);
}

}  // namespace tarvendo
