#pragma once
// A guard against a run that would empty the target: an unmounted drive or a
// mistyped source looks like an empty source, and a backup must not follow
// it into oblivion.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/vergleich.h"

namespace tarvendo {

// Deletions from this many files on need a second thought...
inline constexpr std::int32_t viele_löschungen = 100;

// ...when they are more than half of the target's files, or when they lie
// below one source directory that was read and is empty; and any deletion
// does when the source is empty. Returns the warning (lines joined with
// "\n"), or none when the run may go ahead. löschen: ticked file deletions.
// With versionen_tage above 0 the warning says how long the deleted files
// are kept as versions.
[[nodiscard]] std::optional<std::string> massenlöschung(const Vergleichsstand& stand,
                                                        std::int32_t löschen,
                                                        int versionen_tage = 0);

}  // namespace tarvendo
