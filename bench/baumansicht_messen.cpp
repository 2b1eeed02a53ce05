// Times the pending-tasks view with one directory of 100,000 tasks: its first
// expansion, and a check-box click while all its nodes are built.
//   QT_QPA_PLATFORM=offscreen tarvendo-baumansicht [anzahl]

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/pfadklasse.h"
#include "mainwindow/aufgabenansicht.h"
#include "mainwindow/baumansicht.h"
#include "mainwindow/bildliste.h"
#include "widgets/status.h"

using namespace tarvendo;

namespace {

template <class F>
double millisekunden(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    QCoreApplication::processEvents();  // layout and painting belong to it
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication anwendung(argc, argv);
    const long anzahl = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;

    auto aufgabenbaum = std::make_unique<Pfadklasse>("");
    Pfadklasse& gross = aufgabenbaum->setze_pfad("gross");
    gross.aufgabe = aufgabe_kopieren;
    for (long i = 0; i < anzahl; ++i)
        gross.setze_datei("datei" + std::to_string(i) + ".txt", 0, 1000, 0).aufgabe =
            aufgabe_kopieren;
    aufgabenbaum->setze_pfadchecked(true);

    Bildliste bilder;
    Baumansicht baum(bilder, true);
    baum.resize(500, 700);
    baum.show();
    Status info;
    Programmzustand zustand;
    Aufgabenansicht ansicht(baum, info, zustand, aufgabenbaum, [](const std::string& t) {
        std::fprintf(stderr, "%s\n", t.c_str());
        std::exit(1);
    });
    ansicht.zeige("/ziel");
    QCoreApplication::processEvents();

    Knoten* verzeichnis = baum.gib("/ziel/gross");
    const double öffnen = millisekunden([&] { verzeichnis->setExpanded(true); });
    std::printf("Aufklappen von %ld Aufgaben: %.0f ms (%d Knoten)\n", anzahl, öffnen,
                verzeichnis->Children());

    Knoten* datei = verzeichnis->Child(anzahl / 2);
    const double eine = millisekunden([&] { datei->setCheckState(0, Qt::Unchecked); });
    std::printf("Klick auf eine Datei: %.1f ms (%s)\n", eine,
                info.beschriftung().toUtf8().constData());
    const double alle = millisekunden([&] { verzeichnis->setCheckState(0, Qt::Unchecked); });
    std::printf("Klick auf das Verzeichnis (alle %ld): %.1f ms (%s)\n", anzahl, alle,
                info.beschriftung().toUtf8().constData());
    const double zurück = millisekunden([&] { verzeichnis->setCheckState(0, Qt::Checked); });
    std::printf("Und wieder an: %.1f ms (%s)\n", zurück, info.beschriftung().toUtf8().constData());
    baum.leere();  // before the model goes
    return 0;
}
