#include "mainwindow/fenstermass.h"

#include <QMainWindow>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "mainwindow/fenstergroesse.h"

namespace tarvendo {

double twips_je_pixel(int dpi) {
    return 1440.0 / std::max(dpi, 1);
}

double Fenstermaß::tx() const {
    return twips_je_pixel(fenster_.logicalDpiX());
}

double Fenstermaß::ty() const {
    return twips_je_pixel(fenster_.logicalDpiY());
}

void Fenstermaß::stelle_wieder_her(std::optional<std::int32_t> breite,
                                   std::optional<std::int32_t> höhe) {
    QMainWindow& f = fenster_;
    const QScreen* bildschirm = f.screen();
    if (!bildschirm) return;
    rand_gemessen_ = f.frameGeometry().size() - f.geometry().size();
    const Größenwahl wahl =
        wähle_größe(bildschirm->availableGeometry(), f.frameGeometry(), tx(), ty(), breite, höhe);
    mindestbreite_ = wahl.mindestbreite;
    mindesthöhe_ = wahl.mindesthöhe;
    if (wahl.maximiert) {
        f.setWindowState(f.windowState() | Qt::WindowMaximized);
        return;
    }
    f.move(wahl.außen.topLeft());
    außen_soll_ = wahl.außen.size();
    f.resize((außen_soll_ - rand_gemessen_).expandedTo(QSize(0, 0)));
}

void Fenstermaß::nach_dem_zeigen() {
    passe_an_rahmen_an();
    setze_grenzen();
    warte_auf_rahmen();
}

QSize Fenstermaß::zu_speichern() const {
    const QScreen* bildschirm = fenster_.screen();
    return zu_speichernde_größe(außenmaß(), fenster_.isMaximized(),
                                bildschirm ? bildschirm->availableGeometry().size() : QSize(), tx(),
                                ty());
}

QSize Fenstermaß::außenmaß() const {
    const QMainWindow& f = fenster_;
    if (!f.isMinimized()) return f.frameGeometry().size();
    return f.normalGeometry().size() + (f.frameGeometry().size() - f.geometry().size());
}

// The frame's width is known only once the window is shown.
void Fenstermaß::passe_an_rahmen_an() {
    QMainWindow& f = fenster_;
    if (außen_soll_.isEmpty() || f.isMaximized()) return;
    const QSize rand = f.frameGeometry().size() - f.geometry().size();
    if (f.frameGeometry().size() != außen_soll_)
        f.resize((außen_soll_ - rand).expandedTo(QSize(0, 0)));
}

// A window manager puts its frame around the window only after it is shown
// and tells its width a moment later; until then the outer size is the inner
// one. Without this the stored outer size would come back as the inner size
// and the window would grow by its frame on every start.
void Fenstermaß::warte_auf_rahmen() {
    auto* uhr = new QTimer(&fenster_);
    QObject::connect(uhr, &QTimer::timeout, &fenster_, [this, uhr, versuche = 0]() mutable {
        const bool bekannt = fenster_.frameGeometry().size() != fenster_.geometry().size();
        if (bekannt) {
            passe_an_rahmen_an();
            setze_grenzen();
        }
        if (bekannt || ++versuche >= 40) {
            uhr->stop();
            uhr->deleteLater();
        }
    });
    uhr->start(50);
}

// The user may not drag the window below its design size nor beyond the
// screen; maximising still covers the screen.
void Fenstermaß::setze_grenzen() {
    QMainWindow& f = fenster_;
    const QScreen* bildschirm = f.screen();
    if (!bildschirm) return;
    const QSize fläche = bildschirm->availableGeometry().size();
    const auto pixel = [](std::int32_t twips, double je_pixel) {
        return static_cast<int>(twips / std::lround(je_pixel));
    };
    // The smallest size was measured with the frame as it was then (none
    // before the window is first shown).
    f.setMinimumSize(std::max(pixel(mindestbreite_, tx()) - rand_gemessen_.width(), 0),
                     std::max(pixel(mindesthöhe_, ty()) - rand_gemessen_.height(), 0));
    // No less than the available area itself: a window manager that sees a
    // smaller limit maximises the window short of the screen's edges.
    f.setMaximumSize(fläche);
}

}  // namespace tarvendo
