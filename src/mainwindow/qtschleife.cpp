#include "mainwindow/qtschleife.h"

#include <QCoreApplication>

namespace tarvendo {

void Qtschleife::ereignisse_verarbeiten() {
    if (zuletzt_.isValid() && zuletzt_.elapsed() < abstand_ms) return;
    QCoreApplication::processEvents();
    zuletzt_.start();
}

}  // namespace tarvendo
