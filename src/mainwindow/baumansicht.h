#pragma once
// A tree view with keyed nodes, images by key, a tag per node, check boxes
// that report only the user's changes, and children in natural order.

#include <QTreeWidget>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "engine/pfadklasse.h"

namespace tarvendo {

class Bildliste;

// What a node stands for: its build state and the model entry it shows.
struct Knotentag {
    std::int32_t zustand = 0;
    std::variant<std::monostate, Pfadklasse*, Dateiklasse*> eintrag;
};

// A node keeps its text, image and box itself rather than in the item's
// generic value list: building a level of many thousand nodes stays cheap.
class Knoten final : public QTreeWidgetItem {
public:
    // Keys are bytes compared exactly: names that differ only in case or in
    // bytes that are not UTF-8 never share a key.
    [[nodiscard]] const std::string& Key() const { return key_ ? *key_ : kein_key; }
    [[nodiscard]] std::string_view Image() const { return bild_; }
    [[nodiscard]] bool Checked() const { return haken_; }
    [[nodiscard]] bool Sorted() const { return sortiert_; }
    [[nodiscard]] Knoten* Parent() const { return static_cast<Knoten*>(parent()); }
    [[nodiscard]] Knoten* Child(int i) const { return static_cast<Knoten*>(child(i)); }
    [[nodiscard]] int Children() const { return childCount(); }

    [[nodiscard]] QVariant data(int spalte, int rolle) const override;
    void setData(int spalte, int rolle, const QVariant& wert) override;

    Knotentag Tag;

private:
    // Why the node is there: a failure's text, a pending task's reason, or
    // what its picture shows.
    [[nodiscard]] QString beschreibung() const;

    friend class Baumansicht;
    Knoten() = default;
    static const std::string kein_key;
    // Tells the view, unless it has asked to hear nothing: finding a node's
    // row costs a search among its siblings.
    void melde_änderung();

    const std::string* key_ = nullptr;  // held by the view's index
    QString text_;
    const QIcon* icon_ = nullptr;
    std::string_view bild_;
    bool mit_box_ = false;
    bool box_ = false;           // as shown
    bool haken_ = false;         // as last set by the program or reported to it
    bool teilweise_ = false;     // shown partly ticked: some below are not
    bool teil_gesetzt_ = false;  // as last set by the program or reported to it
    QString hinweis_;            // a failure's text, kept for after the run
    bool sortiert_ = false;
};

class Baumansicht final : public QTreeWidget {
    Q_OBJECT

public:
    Baumansicht(const Bildliste& bilder, bool mit_haken, QWidget* eltern = nullptr);
    ~Baumansicht() override;

    struct Neu {
        std::string key;  // empty: no key
        QString text;
        std::string_view bild;
        Knotentag tag;
        bool haken = false;
    };

    // Adds a top-level node; nullptr when the key is used.
    Knoten* füge_hinzu(Neu neu);
    // Adds the children of one parent in one step, in natural order when the
    // parent is sorted. When a key is used already (or twice in the batch),
    // nothing is added and the position of that entry is returned.
    std::optional<std::size_t> füge_kinder_hinzu(Knoten& eltern, std::span<Neu> neue);

    void entferne(Knoten* knoten);  // with its children
    void leere();
    [[nodiscard]] Knoten* gib(std::string_view key) const;
    [[nodiscard]] Knoten* wurzel() const;  // the first top-level node
    [[nodiscard]] std::size_t anzahl() const { return schlüssel_.size(); }

    void setze_bild(Knoten& knoten, std::string_view key);
    // Sets the box without raising NodeCheck; teilweise shows a ticked box
    // as partly ticked. A click on a partly ticked box ticks it.
    void setze_haken(Knoten& knoten, bool haken, bool teilweise = false);
    // A text that tells more than the node's picture (tool tip and
    // description for a screen reader).
    void setze_hinweis(Knoten& knoten, QString hinweis);
    // Runs änderungen, which may set many boxes, and repaints once afterwards.
    template <class F>
    void in_einem_zug(F&& änderungen) {
        const bool vorher = model()->blockSignals(true);
        änderungen();
        model()->blockSignals(vorher);
        viewport()->update();
    }
    // Sorted children, in natural, case-insensitive order of their texts
    // ("Datei2" before "datei10"): the present ones are ordered at once,
    // later ones as they are added.
    void setze_sortiert(Knoten& knoten, bool sortiert);

signals:
    // The user opens a node; it may still get its children here.
    void Expand(tarvendo::Knoten* knoten);
    // The user changed a check box; Checked() holds the new state.
    void NodeCheck(tarvendo::Knoten* knoten);

private:
    Knoten* erzeuge(Neu& neu);
    void vergiss(QTreeWidgetItem* item);
    void prüfe_haken(QTreeWidgetItem* item);
    void sortiere_kinder(Knoten& eltern, QList<QTreeWidgetItem*> neue);

    const Bildliste& bilder_;
    bool mit_haken_;
    std::unordered_map<std::string, Knoten*> schlüssel_;
};

}  // namespace tarvendo
