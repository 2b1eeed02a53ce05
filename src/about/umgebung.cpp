#include "about/umgebung.h"

#include <chm_lib.h>
#include <dlfcn.h>

#include <QWidget>

#include <exception>

#include "support/betriebssystem.h"

namespace tarvendo {
namespace {

// The file of the shared object that holds adresse, as the dynamic linker
// loaded it (usually the name with the major version only, a link to the
// real file).
std::string datei_von(const void* adresse) {
    Dl_info info{};
    if (dladdr(adresse, &info) == 0 || info.dli_fname == nullptr) return {};
    return info.dli_fname;
}

}  // namespace

Komponenten gib_geladene_komponenten() {
    return {
        .laufzeit = datei_von(reinterpret_cast<const void*>(&std::terminate)),
        .qt_widgets = datei_von(&QWidget::staticMetaObject),
        .chm_hilfe = datei_von(reinterpret_cast<const void*>(&chm_open)),
    };
}

std::string gib_systemname(const OperatingSystem& system) {
    std::string name = system.Name();
    const std::string servicepack = system.ServicePack();
    if (!servicepack.empty()) name += ", " + servicepack;
    return name;
}

}  // namespace tarvendo
