#pragma once
// The program's help: the file "Tarvendo.chm" beside the program, shown in a
// help window of its own.

#include <string>

namespace tarvendo {

// The directory of the program's real file (links resolved), without a
// trailing "/"; empty when it cannot be determined.
[[nodiscard]] std::string gib_programmverzeichnis();

// verzeichnis + "/Tarvendo.chm" when a regular file of that name exists there
// (a link to one counts); otherwise empty.
[[nodiscard]] std::string suche_hilfedatei(const std::string& verzeichnis);

// The application's help file: empty unless start-up found one.
void setze_hilfedatei(std::string pfad);
[[nodiscard]] const std::string& hilfedatei();

// Shows the help file at its default topic in a window without an owner; a
// second call brings the same window to the front. Does nothing without a
// help file. The window does not keep the program running and is closed
// when the program ends.
void hilfe_anzeigen();

}  // namespace tarvendo
