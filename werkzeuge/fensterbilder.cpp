// Renders the about dialog and the help window into PNG files for a look by
// eye: fensterbilder VERZEICHNIS [HILFEDATEI]
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QUrl>

#include <cstdio>

#include "about/inform.h"
#include "hilfe/hilfebrowser.h"
#include "hilfe/hilfefenster.h"

namespace {

bool speichere(QWidget& fenster, const QString& datei) {
    QApplication::processEvents();
    if (fenster.grab().save(datei)) return true;
    std::fprintf(stderr, "%s: kann nicht schreiben\n", qPrintable(datei));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: %s VERZEICHNIS [HILFEDATEI]\n", argv[0]);
        return 2;
    }
    const QString verzeichnis = QString::fromLocal8Bit(argv[1]);
    bool gut = true;

    QWidget hauptfenster;
    hauptfenster.resize(640, 480);
    hauptfenster.show();
    tarvendo::Inform* inform = tarvendo::Inform::zeige(&hauptfenster);
    gut &= speichere(*inform, verzeichnis + "/inform.png");

    if (argc > 2) {
        tarvendo::Hilfefenster hilfe(argv[2]);
        hilfe.show();
        gut &= speichere(hilfe, verzeichnis + "/hilfe.png");
        hilfe.browser().setSource(QUrl("chm:/protokoll.html"));
        gut &= speichere(hilfe, verzeichnis + "/hilfe_protokoll.png");
    }
    return gut ? 0 : 1;
}
