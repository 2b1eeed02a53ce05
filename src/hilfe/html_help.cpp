#include "hilfe/html_help.h"

#include <sys/stat.h>

#include <QPointer>

#include <cstdlib>
#include <memory>
#include <utility>

#include "hilfe/hilfefenster.h"
#include "support/pfad.h"

namespace tarvendo {
namespace {

std::string& hilfedatei_name() {
    static std::string name;
    return name;
}

QPointer<Hilfefenster>& offenes_fenster() {
    static QPointer<Hilfefenster> fenster;
    return fenster;
}

}  // namespace

std::string gib_programmverzeichnis() {
    const std::unique_ptr<char, decltype(&std::free)> echt(realpath("/proc/self/exe", nullptr),
                                                           &std::free);
    if (!echt) return {};
    const std::string_view pfad(echt.get());
    if (pfad.find('/') == std::string_view::npos) return {};
    return std::string(elternpfad(pfad));
}

std::string suche_hilfedatei(const std::string& verzeichnis) {
    if (verzeichnis.empty()) return {};
    std::string pfad = verbinde(verzeichnis, "Tarvendo.chm");
    struct stat info {};
    if (stat(pfad.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return pfad;
}

void setze_hilfedatei(std::string pfad) {
    hilfedatei_name() = std::move(pfad);
}

const std::string& hilfedatei() {
    return hilfedatei_name();
}

void hilfe_anzeigen() {
    if (hilfedatei().empty()) return;
    QPointer<Hilfefenster>& fenster = offenes_fenster();
    if (!fenster) {
        fenster = new Hilfefenster(hilfedatei());
        // Closed by the user or by the application's quit, which closes
        // every window; it must not keep the program running on its own.
        fenster->setAttribute(Qt::WA_DeleteOnClose);
        fenster->setAttribute(Qt::WA_QuitOnClose, false);
    }
    fenster->setWindowState(fenster->windowState() & ~Qt::WindowMinimized);
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

}  // namespace tarvendo
