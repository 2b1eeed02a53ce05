#include "mainwindow/baumansicht.h"

#include <QCollator>
#include <QHeaderView>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "mainwindow/aufgabengrund.h"
#include "mainwindow/bildliste.h"
#include "support/pfad.h"

namespace tarvendo {
namespace {

const QCollator& kollator() {
    static const QCollator k = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return k;
}

// The key of the image as the list spells it, so the node can hand it back.
std::string_view listenschlüssel(std::string_view key) {
    const int i = Bildliste::index(key);
    return i < 0 ? std::string_view() : bildangaben[i].schlüssel;
}

// What a node of the done tree says, in words.
QString bildbeschreibung(std::string_view bild) {
    const int i = Bildliste::index(bild);
    if (i < 0) return {};
    const std::string_view text = bildangaben[i].bedeutung;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

const std::string Knoten::kein_key;

QVariant Knoten::data(int spalte, int rolle) const {
    if (spalte == 0) {
        switch (rolle) {
            case Qt::DisplayRole:
            case Qt::EditRole:
                return text_;
            case Qt::DecorationRole:
                return icon_ && !icon_->isNull() ? QVariant(*icon_) : QVariant();
            case Qt::CheckStateRole:
                if (!mit_box_) return {};
                return static_cast<int>(teilweise_ ? Qt::PartiallyChecked
                                        : box_     ? Qt::Checked
                                                   : Qt::Unchecked);
            case Qt::AccessibleDescriptionRole:
            case Qt::ToolTipRole:
                // The picture's colour alone tells no screen reader what happens.
                return beschreibung();
            default:
                break;
        }
    }
    return QTreeWidgetItem::data(spalte, rolle);
}

QString Knoten::beschreibung() const {
    if (!hinweis_.isEmpty()) return hinweis_;
    if (auto* const* pfad = std::get_if<Pfadklasse*>(&Tag.eintrag)) return verzeichnisgrund(**pfad);
    if (auto* const* datei = std::get_if<Dateiklasse*>(&Tag.eintrag)) {
        const Knoten* eltern = Parent();
        auto* const* verzeichnis =
            eltern ? std::get_if<Pfadklasse*>(&eltern->Tag.eintrag) : nullptr;
        // The key is the path in the target, with a NUL at a file's end.
        const std::string* zielname =
            verzeichnis ? (*verzeichnis)->gib_zielname((*datei)->Name) : nullptr;
        const std::string zielpfad =
            verbinde(eltern ? eltern->Key() : std::string(), zielname ? *zielname : (*datei)->Name);
        return dateigrund(**datei, verzeichnis ? *verzeichnis : nullptr, zielpfad);
    }
    return bildbeschreibung(bild_);
}

void Knoten::melde_änderung() {
    const QTreeWidget* baum = treeWidget();
    if (baum && !baum->model()->signalsBlocked()) emitDataChanged();
}

void Knoten::setData(int spalte, int rolle, const QVariant& wert) {
    if (spalte == 0 && (rolle == Qt::DisplayRole || rolle == Qt::EditRole)) {
        text_ = wert.toString();
        melde_änderung();
    } else if (spalte == 0 && rolle == Qt::CheckStateRole && mit_box_) {
        const auto neu = static_cast<Qt::CheckState>(wert.toInt());
        const bool teilweise = neu == Qt::PartiallyChecked;
        if ((neu != Qt::Unchecked) == box_ && teilweise == teilweise_) return;
        box_ = neu != Qt::Unchecked;
        teilweise_ = teilweise;
        melde_änderung();
    } else {
        QTreeWidgetItem::setData(spalte, rolle, wert);
    }
}

Baumansicht::Baumansicht(const Bildliste& bilder, bool mit_haken, QWidget* eltern)
    : QTreeWidget(eltern), bilder_(bilder), mit_haken_(mit_haken) {
    setColumnCount(1);
    setHeaderHidden(true);
    setUniformRowHeights(true);  // keeps a level of many thousand nodes fast
    setIconSize(QSize(16, 16));
    setSortingEnabled(false);  // sorted per node, see setze_sortiert
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { emit Expand(static_cast<Knoten*>(item)); });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int spalte) {
        if (spalte == 0) prüfe_haken(item);
    });
}

Baumansicht::~Baumansicht() = default;

Knoten* Baumansicht::erzeuge(Neu& neu) {
    auto* k = new Knoten;
    k->Tag = neu.tag;
    k->text_ = std::move(neu.text);
    k->bild_ = listenschlüssel(neu.bild);
    k->icon_ = &bilder_.bild(k->bild_);
    k->mit_box_ = mit_haken_;
    k->box_ = k->haken_ = mit_haken_ && neu.haken;
    k->setFlags(mit_haken_ ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                           : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (!neu.key.empty()) k->key_ = &schlüssel_.emplace(std::move(neu.key), k).first->first;
    return k;
}

Knoten* Baumansicht::füge_hinzu(Neu neu) {
    if (!neu.key.empty() && schlüssel_.contains(neu.key)) return nullptr;
    Knoten* k = erzeuge(neu);
    addTopLevelItem(k);
    return k;
}

std::optional<std::size_t> Baumansicht::füge_kinder_hinzu(Knoten& eltern, std::span<Neu> neue) {
    std::unordered_set<std::string_view> im_stapel;
    im_stapel.reserve(neue.size());
    for (std::size_t i = 0; i < neue.size(); ++i) {
        const std::string& key = neue[i].key;
        if (key.empty()) continue;
        if (schlüssel_.contains(key) || !im_stapel.insert(key).second) return i;
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(neue.size()));
    schlüssel_.reserve(schlüssel_.size() + neue.size());
    for (Neu& neu : neue) items.push_back(erzeuge(neu));
    if (eltern.sortiert_)
        sortiere_kinder(eltern, std::move(items));
    else
        eltern.addChildren(items);
    return std::nullopt;
}

// Orders the present and the new children in one pass and inserts them at once.
void Baumansicht::sortiere_kinder(Knoten& eltern, QList<QTreeWidgetItem*> neue) {
    QList<QTreeWidgetItem*> alle = eltern.takeChildren();
    alle.append(neue);
    struct Eintrag {
        QCollatorSortKey sortierschlüssel;
        QTreeWidgetItem* item;
    };
    std::vector<Eintrag> einträge;
    einträge.reserve(static_cast<std::size_t>(alle.size()));
    for (QTreeWidgetItem* item : alle)
        einträge.push_back({kollator().sortKey(item->text(0)), item});
    std::stable_sort(einträge.begin(), einträge.end(), [](const Eintrag& a, const Eintrag& b) {
        const int c = a.sortierschlüssel.compare(b.sortierschlüssel);
        return c != 0 ? c < 0
                      : static_cast<Knoten*>(a.item)->text_ < static_cast<Knoten*>(b.item)->text_;
    });
    for (qsizetype i = 0; i < alle.size(); ++i)
        alle[i] = einträge[static_cast<std::size_t>(i)].item;
    eltern.addChildren(alle);
}

void Baumansicht::setze_sortiert(Knoten& knoten, bool sortiert) {
    const bool war = knoten.sortiert_;
    knoten.sortiert_ = sortiert;
    if (sortiert && !war && knoten.childCount() > 1) sortiere_kinder(knoten, {});
}

void Baumansicht::vergiss(QTreeWidgetItem* item) {
    auto* k = static_cast<Knoten*>(item);
    if (k->key_) {
        const std::string key = *k->key_;  // the map owns the original
        schlüssel_.erase(key);
        k->key_ = nullptr;
    }
    for (int i = 0; i < item->childCount(); ++i) vergiss(item->child(i));
}

void Baumansicht::entferne(Knoten* knoten) {
    if (!knoten) return;
    vergiss(knoten);
    delete knoten;  // takes itself out of the tree
}

void Baumansicht::leere() {
    clear();  // first: the nodes point at the keys
    schlüssel_.clear();
}

Knoten* Baumansicht::gib(std::string_view key) const {
    const auto it = schlüssel_.find(std::string(key));
    return it == schlüssel_.end() ? nullptr : it->second;
}

Knoten* Baumansicht::wurzel() const {
    return static_cast<Knoten*>(topLevelItem(0));
}

void Baumansicht::setze_bild(Knoten& knoten, std::string_view key) {
    knoten.bild_ = listenschlüssel(key);
    knoten.icon_ = &bilder_.bild(knoten.bild_);
    knoten.melde_änderung();
}

void Baumansicht::setze_haken(Knoten& knoten, bool haken, bool teilweise) {
    if (!mit_haken_) return;
    knoten.haken_ = haken;
    knoten.teil_gesetzt_ = haken && teilweise;
    knoten.setData(0, Qt::CheckStateRole,
                   static_cast<int>(knoten.teil_gesetzt_ ? Qt::PartiallyChecked
                                    : haken              ? Qt::Checked
                                                         : Qt::Unchecked));
}

void Baumansicht::setze_hinweis(Knoten& knoten, QString hinweis) {
    knoten.hinweis_ = std::move(hinweis);
}

// Only a box that differs from what the program last set was the user's
// doing; a click on a partial box ticks it.
void Baumansicht::prüfe_haken(QTreeWidgetItem* item) {
    if (!mit_haken_) return;
    auto* k = static_cast<Knoten*>(item);
    if (k->box_ == k->haken_ && k->teilweise_ == k->teil_gesetzt_) return;
    k->haken_ = k->box_;
    k->teil_gesetzt_ = k->teilweise_;
    emit NodeCheck(k);
}

}  // namespace tarvendo
