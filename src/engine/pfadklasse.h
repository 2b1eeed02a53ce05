#pragma once
// A directory node of the path tree: the source, target and task trees.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/dateiklasse.h"
#include "engine/schluesselsammlung.h"

namespace tarvendo {

template <>
struct NameVon<Dateiklasse> {
    static const std::string& von(const Dateiklasse& d) { return d.Name; }
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
    // The directory was reached through a symbolic link: nothing below it
    // may be deleted, since that would delete outside the tree.
    bool ist_verknüpfung = false;

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
    // copy. A directory reached through a link is copied for deletion
    // without its contents: only the link itself is to go.
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
