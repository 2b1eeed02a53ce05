#pragma once
// The start-up check for the library that provides the tree views.

#include <cstdint>
#include <string>

namespace tarvendo {

struct Komponentenprüfung {
    std::string systemverzeichnis;  // where the widget library was loaded from
    std::string komponente;         // its file name, e.g. libQt6Widgets.so.6
    std::int32_t os_version = 0;
    bool vorhanden = false;
};

[[nodiscard]] Komponentenprüfung prüfe_komponenten();

// The message when the component is missing; lines joined with "\n".
[[nodiscard]] std::string komponentenmeldung(const std::string& komponente);

}  // namespace tarvendo
