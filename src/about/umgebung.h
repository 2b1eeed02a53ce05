#pragma once
// What the about dialog reports besides the program: the libraries it runs
// on and the operating system.

#include <string>

namespace tarvendo {

class OperatingSystem;

// The files of three loaded libraries; a path is empty when it could not be
// found.
struct Komponenten {
    std::string laufzeit;    // the C++ runtime, libstdc++
    std::string qt_widgets;  // Qt Widgets, which draws the window and its trees
    std::string chm_hilfe;   // chmlib, which reads the help file
};

// The libraries this process has loaded, each found by the address of one of
// its symbols.
[[nodiscard]] Komponenten gib_geladene_komponenten();

// The system's name, followed by ", " and its service pack when it has one.
[[nodiscard]] std::string gib_systemname(const OperatingSystem& system);

}  // namespace tarvendo
