#pragma once
// Shortening a path to a width by giving up characters in its middle.

#include <QFontMetrics>
#include <QString>

namespace tarvendo {

// The path as a progress display shows it: one trailing "/" removed (unless
// the path is the root "/" alone), then, if it is wider than breite pixels in
// the font fm, characters before its last "/" replaced by "..." so that as
// much as possible of its beginning and all of "/" plus the last component
// remain. If even ".../last" is too wide, that is the result (the display
// cuts it at its right edge). A path without a "/" after its first
// character has no middle to give up and stays as it is.
[[nodiscard]] QString kürze_pfad(QString pfad, const QFontMetrics& fm, int breite);

}  // namespace tarvendo
