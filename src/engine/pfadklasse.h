#pragma once
// A directory node of the path tree: the source, target and task trees.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dateiklasse.h"
#include "engine/schluesselsammlung.h"

namespace tarvendo {

template <>
struct NameVon<Dateiklasse> {
    static const std::string& von(const Dateiklasse& d) { return d.Name; }
};

// What few directories need: names of source entries that could not be read,
// the target's spelling of entries whose names differ only by case, the
// case twins a target cannot hold (name, the twin it yields to), and the
// temporary files a killed run left in the target.
struct Pfadzusatz {
    std::vector<std::string> ungelesen;
    std::vector<std::pair<std::string, std::string>> zielnamen;
    std::vector<std::pair<std::string, std::string>> zwillinge;
    std::vector<std::string> reste;
};

class Pfadklasse {
public:
    Pfadklasse() = default;
    explicit Pfadklasse(std::string name) : pfadname(std::move(name)) {}
    Pfadklasse(const Pfadklasse&) = delete;
    Pfadklasse& operator=(const Pfadklasse&) = delete;
    ~Pfadklasse();

    Pfadklasse* parent = nullptr;  // not owning; none at a root
    Schlüsselsammlung<Dateiklasse> dateien;
    Schlüsselsammlung<Pfadklasse> pfade;
    std::string pfadname;  // a root holds the whole base path
    std::int32_t aufgabe = aufgabe_keine;
    bool checked = false;
    // The directory could not be listed (or was not entered, to keep the
    // walk finite): its emptiness says nothing about what it holds.
    bool nicht_gelesen = false;
    // A target directory on another file system than its parent (a mount
    // point): neither it nor anything below it is deleted.
    bool geschützt = false;
    Rechte rechte{};  // of the directory itself, in the source and target trees
    // A directory to delete that holds such a mount point, left out of the
    // task tree: it cannot go whole.
    bool hält_grenze = false;
    // Rarely needed, so kept out of line: see Pfadzusatz.
    std::unique_ptr<Pfadzusatz> zusatz;

    // Source: an entry of this name could not be read; no target entry of
    // its key is deleted.
    void setze_ungelesen(std::string Name);
    [[nodiscard]] bool ist_ungelesen(std::string_view Name) const;
    // Task tree: the target spells the entry Name as zielname.
    void setze_zielname(std::string Name, std::string zielname);
    [[nodiscard]] const std::string* gib_zielname(std::string_view Name) const;
    // Task tree: the entry Name cannot be held beside its twin vorrang.
    void setze_zwilling(std::string Name, std::string vorrang);
    [[nodiscard]] const std::string* gib_zwilling(std::string_view Name) const;
    // Target and task tree: a temporary file left by a killed run.
    void setze_rest(std::string Name);
    [[nodiscard]] const std::vector<std::string>* gib_reste() const;

    void setze_parent(Pfadklasse* pfad) { parent = pfad; }
    void setze_name(std::string Name) { pfadname = std::move(Name); }

    Pfadklasse& setze_pfad(std::string Name);
    bool lösche_pfad(std::string_view Name);
    Dateiklasse& setze_datei(std::string Name, double datum, std::int64_t größe,
                             std::uint32_t attr);
    // Name is a relative path with components separated by "/".
    [[nodiscard]] Pfadklasse* gib_pfad(std::string_view Name) const;
    [[nodiscard]] Dateiklasse* gib_datei(std::string_view Name) const;
    bool lösche_datei(std::string_view Name);

    void setze_aufgaben(std::int32_t ag);
    // Copies this subtree below wzpfad, every copy carrying ag; returns the
    // copy.
    Pfadklasse& pfad_kopieren(Pfadklasse& wzpfad, std::int32_t ag) const;
    [[nodiscard]] std::int32_t gib_dateianzahl() const;

    void setze_pfadchecked(bool chk);
    void setze_dateichecked(std::string_view Name, bool chk);
    void setze_checked(bool chk);
    void pflege_checked();

    [[nodiscard]] std::string fullpath() const;
};

template <>
struct NameVon<Pfadklasse> {
    static const std::string& von(const Pfadklasse& p) { return p.pfadname; }
};

}  // namespace tarvendo
