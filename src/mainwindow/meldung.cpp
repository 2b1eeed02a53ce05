#include "mainwindow/meldung.h"

#include <QMessageBox>

#include "widgets/anzeigetext.h"

namespace tarvendo {

Antwort zeige_meldungsbox(QWidget* eltern, const Meldung& meldung) {
    const QMessageBox::Icon symbol = meldung.symbol == Symbol::Fehler    ? QMessageBox::Critical
                                     : meldung.symbol == Symbol::Hinweis ? QMessageBox::Warning
                                                                         : QMessageBox::NoIcon;
    QMessageBox box(symbol, QStringLiteral("Tarvendo"), anzeigetext(meldung.text),
                    meldung.knöpfe == Knöpfe::OKAbbrechen ? QMessageBox::Ok | QMessageBox::Cancel
                                                          : QMessageBox::Ok,
                    eltern);
    box.setTextFormat(Qt::PlainText);
    if (meldung.knöpfe == Knöpfe::OKAbbrechen && meldung.abbrechen_vorgewählt)
        box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Cancel ? Antwort::Abbrechen : Antwort::OK;
}

}  // namespace tarvendo
