#include "mainwindow/komponentenpruefung.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <QApplication>

#include <bit>

#include "support/betriebssystem.h"
#include "support/pfad.h"

namespace tarvendo {

Komponentenprüfung prüfe_komponenten() {
    Komponentenprüfung p;
    p.os_version = OperatingSystem().Version();

    // The library that defines the tree widget is the one in use, wherever
    // the loader found it.
    QWidgetList (*symbol)() = &QApplication::topLevelWidgets;
    Dl_info info{};
    const void* adresse = std::bit_cast<const void*>(symbol);
    if (dladdr(adresse, &info) != 0 && info.dli_fname) {
        const std::string_view datei = info.dli_fname;
        if (datei.find('/') != std::string_view::npos) {
            p.systemverzeichnis = elternpfad(datei);
            p.komponente = letzter_name(datei);
        }
    }
    struct stat st {};
    p.vorhanden = !p.komponente.empty() &&
                  stat(verbinde(p.systemverzeichnis, p.komponente).c_str(), &st) == 0 &&
                  S_ISREG(st.st_mode);
    return p;
}

std::string komponentenmeldung(const std::string& komponente) {
    return "Die benötigte Komponente\n/" + komponente +
           "\nist nicht vorhanden\n\nBitte eine andere Installationsvariante von Tarvendo wählen!";
}

}  // namespace tarvendo
