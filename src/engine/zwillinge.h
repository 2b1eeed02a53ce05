#pragma once
// Case twins: names of one source directory that differ in letter case only
// ("a.txt" and "A.txt", "d" and "D"). A target that ignores letter case can
// hold only one of them.

#include <string>
#include <utility>
#include <vector>

#include "engine/pfadklasse.h"

namespace tarvendo {

class Zwillinge {
public:
    Zwillinge() = default;
    // Files and directories of quelle alike: the first by byte order of a
    // group keeps its place, so the choice never changes between runs.
    explicit Zwillinge(const Pfadklasse& quelle);

    // The name that keeps the place name would need; nullptr when name
    // keeps it itself.
    [[nodiscard]] const std::string* vorrang(const std::string& name) const;

private:
    std::vector<std::pair<const std::string*, const std::string*>> verdrängt_;
};

// Why a twin was not synchronised, naming both spellings.
[[nodiscard]] std::string zwillingstext(const std::string& vorrang, const std::string& name);

}  // namespace tarvendo
