// Runs a command through the real main window, offscreen, as a user's clicks
// would: "vergleichen" alone, or "vergleichen" then "synchronisieren". For
// timing the window against tarvendo-cli on the same trees.
//   tarvendo-fensterlauf vergleichen|synchronisieren QUELLE ZIEL

#include <QApplication>

#include <cstdio>
#include <cstring>

#include "mainwindow/hauptfenster.h"
#include "mainwindow/pfadfeld.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("Aufruf: tarvendo-fensterlauf vergleichen|synchronisieren QUELLE ZIEL\n",
                   stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication anwendung(argc, argv);
    tarvendo::verzeichnis fenster;
    int meldungen = 0;
    fenster.setze_meldungsweg([&](const tarvendo::Meldung& m) {
        std::fprintf(stderr, "%s\n", m.text.c_str());
        ++meldungen;
        return tarvendo::Antwort::OK;
    });
    fenster.show();
    fenster.teile().Basisverzeichnis->setze_pfad(argv[2]);
    fenster.teile().Zielbasisverzeichnis->setze_pfad(argv[3]);
    fenster.CompareButton_Click();
    if (std::strcmp(argv[1], "synchronisieren") == 0) fenster.SyncButton_Click();
    return meldungen == 0 ? 0 : 1;
}
