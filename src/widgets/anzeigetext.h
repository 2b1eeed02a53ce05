#pragma once
// The one way bytes become text on screen.

#include <QString>

#include <string_view>

namespace tarvendo {

// A file name or path (or a message that holds one) as the window shows it:
// read as UTF-8, each byte that is none shown as U+FFFD. The conversion
// loses bytes, so it serves display alone: keys, stored paths and anything
// handed back to the file system stay byte strings.
[[nodiscard]] QString anzeigetext(std::string_view bytes);

}  // namespace tarvendo
