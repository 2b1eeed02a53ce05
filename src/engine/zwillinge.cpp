#include "engine/zwillinge.h"

#include <string_view>
#include <unordered_map>

#include "engine/schluessel.h"

namespace tarvendo {

namespace {

struct SchlüsselHash {
    std::size_t operator()(std::string_view s) const noexcept { return schlüssel_hash(s); }
};
struct SchlüsselGleich {
    bool operator()(std::string_view a, std::string_view b) const noexcept {
        return schlüssel_gleich(a, b);
    }
};

}  // namespace

Zwillinge::Zwillinge(const Pfadklasse& quelle) {
    if (quelle.pfade.size() + quelle.dateien.size() < 2) return;
    std::unordered_map<std::string_view, const std::string*, SchlüsselHash, SchlüsselGleich> erster;
    std::vector<const std::string*> namen;
    namen.reserve(quelle.pfade.size() + quelle.dateien.size());
    for (const Pfadklasse& p : quelle.pfade) namen.push_back(&p.pfadname);
    for (const Dateiklasse& d : quelle.dateien) namen.push_back(&d.Name);
    for (const std::string* n : namen) {
        auto [it, neu] = erster.try_emplace(*n, n);
        if (!neu && *n < *it->second) it->second = n;
    }
    if (erster.size() == namen.size()) return;
    for (const std::string* n : namen)
        if (const auto it = erster.find(*n); it != erster.end() && it->second != n)
            verdrängt_.emplace_back(n, it->second);
}

const std::string* Zwillinge::vorrang(const std::string& name) const {
    for (const auto& [n, e] : verdrängt_)
        if (*n == name) return e;
    return nullptr;
}

std::string zwillingstext(const std::string& vorrang, const std::string& name) {
    return "Das Zielverzeichnis unterscheidet nicht zwischen Groß- und Kleinschreibung und kann "
           "„" +
           vorrang + "“ und „" + name + "“ nicht beide aufnehmen; gesichert wird „" + vorrang +
           "“.";
}

}  // namespace tarvendo
