// Renders the four progress displays of a running synchronisation into a PNG
// file: statusbild DATEI.png [VERGRÖSSERUNG]
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "widgets/status.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: %s DATEI.png [VERGRÖSSERUNG]\n", argv[0]);
        return 2;
    }
    const int faktor = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;

    QWidget fenster;
    auto* spalte = new QVBoxLayout(&fenster);
    spalte->setSpacing(4);
    auto* schritt = new tarvendo::Status(&fenster);
    auto* verzeichnis = new tarvendo::Status(&fenster);
    auto* datei = new tarvendo::Status(&fenster);
    auto* info = new tarvendo::Status(&fenster);
    auto* rechts = new tarvendo::Status(&fenster);
    for (auto* anzeige : {schritt, verzeichnis, datei, info, rechts}) spalte->addWidget(anzeige);
    fenster.resize(360, 10);
    fenster.show();
    QApplication::processEvents();

    schritt->text("Dateien kopieren");
    verzeichnis->textpfad("/home/anna/Bilder/Urlaub/2023 Bretagne/Tag 4 - Küste/Rohdaten/");
    datei->setze_maxwert(1000);
    datei->mit_prozentzahl(true);
    datei->text("kopiere IMG_0042.jpg");
    datei->setze_aktwert(400);
    info->setze_maxwert(1000);
    info->text("1234 kopieren / 17 löschen, und ein Text, der zu lang für die Anzeige ist");
    info->setze_aktwert(1000);
    rechts->setze_ausrichtung(1);
    rechts->setze_maxwert(1000);
    rechts->text("rechtsbündig");
    rechts->setze_aktwert(750);
    QApplication::processEvents();

    QImage bild = fenster.grab().toImage();
    if (faktor > 1)
        bild = bild.scaled(bild.size() * faktor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!bild.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s: kann nicht schreiben\n", argv[1]);
        return 1;
    }
    return 0;
}
