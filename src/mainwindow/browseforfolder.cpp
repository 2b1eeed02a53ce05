#include "mainwindow/browseforfolder.h"

#include "mainwindow/ordnerauswahl.h"

namespace tarvendo {

QString dialogtitel;

QString ohne_endstrich(const QString& pfad) {
    if (pfad.size() > 1 && pfad.endsWith(QLatin1Char('/'))) return pfad.left(pfad.size() - 1);
    return pfad;
}

QString ordner_wählen(QWidget* besitzer, QString startpfad, const QString& hinweis,
                      const QString& titel) {
    dialogtitel = titel;
    if (!startpfad.endsWith(QLatin1Char('/'))) startpfad += QLatin1Char('/');
    const QString fenstertitel = dialogtitel.isEmpty()
                                     ? QStringLiteral("Tarvendo")
                                     : QStringLiteral("Tarvendo - ") + dialogtitel;
    Ordnerauswahl auswahl(besitzer, fenstertitel, hinweis, startpfad);
    if (auswahl.exec() != QDialog::Accepted) return {};
    return ohne_endstrich(auswahl.gewählt());
}

}  // namespace tarvendo
