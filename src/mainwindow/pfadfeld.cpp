#include "mainwindow/pfadfeld.h"

#include "widgets/anzeigetext.h"
#include "widgets/pfadkuerzung.h"

namespace tarvendo {

Pfadfeld::Pfadfeld(QWidget* eltern) : QLabel(eltern) {
    setTextFormat(Qt::PlainText);
    // The width comes from the window's layout, never from the path.
    setMinimumWidth(1);
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

void Pfadfeld::setze_pfad(std::string pfad) {
    pfad_ = std::move(pfad);
    abwesend_.clear();
    voll_ = anzeigetext(pfad_);
    setAccessibleName(voll_);
    setToolTip(voll_);
    zeige();
}

void Pfadfeld::setze_abwesend(std::string gespeichert) {
    setze_pfad({});
    abwesend_ = std::move(gespeichert);
}

void Pfadfeld::resizeEvent(QResizeEvent* ereignis) {
    QLabel::resizeEvent(ereignis);
    zeige();
}

void Pfadfeld::zeige() {
    const QFontMetrics fm = fontMetrics();
    const int breite = contentsRect().width();
    QString anzeige = voll_;
    if (fm.horizontalAdvance(anzeige) > breite) {
        // Whole directories go first; a last one too long for the label
        // gives up its middle as well.
        anzeige = kürze_pfad(voll_, fm, breite);
        if (fm.horizontalAdvance(anzeige) > breite)
            anzeige = fm.elidedText(voll_, Qt::ElideMiddle, breite);
    }
    setText(anzeige);
}

}  // namespace tarvendo
