#pragma once
// Before a run: whether the target has room for the ticked copies. With
// versions, what a run replaces or deletes stays on the medium, but the
// version folders of earlier runs can make room; without, deleted files
// free theirs. What a killed run left behind, the run removes.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/pfadklasse.h"

namespace tarvendo {

struct Platzbedarf {
    std::int64_t benötigt = 0;   // bytes of the ticked copies
    std::int64_t verfügbar = 0;  // free, plus what versions or deletions free
};

// None when the target's free space cannot be read.
[[nodiscard]] std::optional<Platzbedarf> ermittle_platz(const Pfadklasse& aufgabenbaum,
                                                        const std::string& ziel,
                                                        int versionen_tage);
// The question or refusal naming both figures; none when there is room.
[[nodiscard]] std::optional<std::string> platzwarnung(const Platzbedarf& platz);

}  // namespace tarvendo
