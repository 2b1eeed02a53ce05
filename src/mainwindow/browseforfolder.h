#pragma once
// The folder chooser of the two path frames: a modal dialog owned by and
// centred over the main window, showing a prompt above the folder tree and
// letting only existing directories be confirmed.

#include <QString>

class QWidget;

namespace tarvendo {

// The title suffix of the next chooser; it keeps its last value.
extern QString dialogtitel;

// The path without one trailing "/"; the root "/" stays as it is, since ""
// would make it impossible to choose.
[[nodiscard]] QString ohne_endstrich(const QString& pfad);

// Shows the chooser with startpfad preselected; the chosen directory without
// a trailing "/", or "" when the user cancelled.
[[nodiscard]] QString ordner_wählen(QWidget* besitzer, QString startpfad, const QString& hinweis,
                                    const QString& titel);

}  // namespace tarvendo
