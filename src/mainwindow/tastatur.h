#pragma once
// The window by keyboard: Enter presses a focused button as Space does, and
// the two command buttons answer to Alt and a letter, their captions unchanged
// (a command's caption reads "abbrechen" while it runs).

#include <QKeySequence>

class QAbstractButton;
class QWidget;

namespace tarvendo {

void drücke_mit_eingabetaste(QAbstractButton& knopf);

// kürzel, pressed anywhere in fenster, clicks knopf while it is enabled.
void setze_kürzel(QWidget& fenster, QAbstractButton& knopf, const QKeySequence& kürzel);

}  // namespace tarvendo
