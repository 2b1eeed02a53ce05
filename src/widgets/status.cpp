#include "widgets/status.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "widgets/anzeigetext.h"
#include "widgets/balkenrechnung.h"
#include "widgets/pfadkuerzung.h"
#include "widgets/statuszugang.h"

namespace tarvendo {
namespace {

constexpr int balkenhöhe = 19;
constexpr int info_links = 2;
constexpr int info_oben = 1;
constexpr int info_höhe = 13;
constexpr int entwurfsbreite = 103;

// The platform's dialog font, made small enough for the label's height.
QFont dialogschrift() {
    QFont schrift = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    int pixel = QFontInfo(schrift).pixelSize();
    while (QFontMetrics(schrift).height() > info_höhe && pixel > 6) {
        schrift.setPixelSize(--pixel);
    }
    return schrift;
}

Qt::Alignment als_qt_ausrichtung(std::int32_t ausrichtung) {
    switch (ausrichtung) {
        case 1:
            return Qt::AlignRight | Qt::AlignVCenter;
        case 2:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// A file name may hold line breaks; the display has one line.
QString einzeilig(QString text) {
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

}  // namespace

// The bar: a picture that keeps every column drawn into it until it is erased.
class Status::Leinwand final : public QWidget {
public:
    explicit Leinwand(QWidget* eltern) : QWidget(eltern) { setAttribute(Qt::WA_OpaquePaintEvent); }

    QImage bild;

protected:
    void paintEvent(QPaintEvent* ereignis) override {
        QPainter maler(this);
        maler.drawImage(ereignis->rect(), bild, ereignis->rect());
    }
};

Status::Status(QWidget* eltern)
    : QWidget(eltern), bar_(new Leinwand(this)), info_(new QLabel(bar_)) {
    melde_statuszugang_an();
    setFont(dialogschrift());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    info_->setTextFormat(Qt::PlainText);
    info_->setWordWrap(false);
    info_->setAlignment(als_qt_ausrichtung(ausrichtung_));
    info_->setText(QStringLiteral("Text"));

    const int breite = std::max(width(), 0);
    bar_->setGeometry(0, 0, breite, balkenhöhe);
    bar_->bild = QImage(breite, balkenhöhe, QImage::Format_RGB32);
    leere_balken();
    passe_info_an();
}

Status::~Status() = default;

QSize Status::sizeHint() const {
    return {entwurfsbreite, balkenhöhe};
}

QString Status::beschriftung() const {
    return beschriftung_;
}

const QImage& Status::balkenbild() const {
    return bar_->bild;
}

void Status::setze_maxwert(std::int32_t wert) {
    maxwert_ = wert;
    aktwert_ = 0;
}

void Status::erhöhe_aktwert(std::int32_t wert) {
    try {
        erhöhe_geprüft(wert);
    } catch (const std::overflow_error&) {
        // The step is dropped: a progress display must not stop the work it shows.
    }
}

void Status::setze_aktwert(std::int32_t wert) {
    if (wert == aktwert_) return;
    try {
        erhöhe_geprüft(differenz32(wert, aktwert_));
    } catch (const std::overflow_error&) {
        // As in erhöhe_aktwert.
    }
}

void Status::erhöhe_geprüft(std::int32_t wert) {
    aktwert_ = std::min(summe32(aktwert_, wert), maxwert_);
    zeichne_bis(balkenende(bar_->bild.width(), aktwert_, maxwert_));
    melde_statusänderung(*this);
    if (!mit_prozent_) return;
    const std::int32_t p = prozentzahl(aktwert_, maxwert_);
    if (p == prozentwert_) return;
    prozentwert_ = p;
    setze_beschriftung(prozentbeschriftung());
}

void Status::zeichne_bis(float ende) {
    QImage& bild = bar_->bild;
    const int breite = bild.width();
    // Columns beyond the right edge would be invisible; stopping there also
    // keeps absurd scales from looping for long.
    const int bis = static_cast<int>(
        std::clamp(std::ceil(static_cast<double>(ende)), static_cast<double>(zeichenpos_),
                   static_cast<double>(std::max(breite, zeichenpos_))));
    if (bis <= zeichenpos_) return;
    for (int x = zeichenpos_; x < bis; ++x) {
        const Farbe farbe = spaltenfarbe(x, breite);
        const QRgb rgb = qRgb(farbe.rot, farbe.grün, farbe.blau);
        for (int y = 0; y < bild.height(); ++y) {
            reinterpret_cast<QRgb*>(bild.scanLine(y))[x] = rgb;
        }
    }
    bar_->update(zeichenpos_, 0, bis - zeichenpos_, bild.height());
    zeichenpos_ = bis;
}

void Status::leere_balken() {
    zeichenpos_ = 0;
    prozentwert_ = 0;
    bar_->bild.fill(bar_->palette().color(QPalette::Button));
}

// Painting waits for the next yield to the event loop: a run that shows every
// file would otherwise spend its time drawing.
void Status::Reset() {
    leere_balken();
    bar_->update();
}

void Status::text(std::string_view s) {
    zeige_text(anzeigetext(s));
}

void Status::zeige_text(const QString& s) {
    anzeigetext_ = s;
    setze_beschriftung(anzeigetext_);
}

void Status::textpfad(std::string_view s) {
    const int breite = static_cast<int>(runde_gerade(0.97 * static_cast<double>(bar_->width())));
    zeige_text(kürze_pfad(anzeigetext(s), bar_->fontMetrics(), breite));
}

void Status::mit_prozentzahl(bool schalter) {
    mit_prozent_ = schalter;
    setze_beschriftung(mit_prozent_ ? prozentbeschriftung() : anzeigetext_);
}

void Status::setze_ausrichtung(std::int32_t ausrichtung) {
    if (ausrichtung < 0 || ausrichtung > 2) return;
    ausrichtung_ = ausrichtung;
    info_->setAlignment(als_qt_ausrichtung(ausrichtung_));
}

QString Status::prozentbeschriftung() const {
    return QString::number(prozentwert_) + QStringLiteral("% - ") + anzeigetext_;
}

// The label spans the bar so that its alignment shows; a longer text makes it
// wider and the bar cuts it at its right edge.
// Laying the text out costs more than a small file's copy, and a run changes
// it for every file: the label takes the latest text once control is back
// in the event loop, at the run's next yield.
void Status::setze_beschriftung(const QString& beschriftung) {
    beschriftung_ = einzeilig(beschriftung);
    if (beschriftung_offen_) return;
    beschriftung_offen_ = true;
    QMetaObject::invokeMethod(this, &Status::zeige_beschriftung, Qt::QueuedConnection);
}

void Status::zeige_beschriftung() {
    beschriftung_offen_ = false;
    if (info_->text() == beschriftung_) return;
    info_->setText(beschriftung_);
    passe_info_an();
    melde_statusänderung(*this);
}

void Status::passe_info_an() {
    const int breite = std::max(info_->sizeHint().width(), bar_->width() - info_links);
    info_->setGeometry(info_links, info_oben, breite, info_höhe);
}

void Status::resizeEvent(QResizeEvent* ereignis) {
    QWidget::resizeEvent(ereignis);
    const int breite = std::max(width(), 0);
    bar_->setGeometry(0, 0, breite, balkenhöhe);
    bar_->bild = QImage(breite, balkenhöhe, QImage::Format_RGB32);
    leere_balken();
    passe_info_an();
}

}  // namespace tarvendo
