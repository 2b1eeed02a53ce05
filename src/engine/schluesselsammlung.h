#pragma once
// A collection of owned entries kept in insertion order and found by key.

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/schluessel.h"

namespace tarvendo {

// Entries are owned through std::unique_ptr, so references stay valid while
// the entry is in the collection. Lookup, insertion and removal take O(1) on
// average: small collections are searched directly, larger ones through an
// open-addressing index of (hash, position) slots with linear probing.
//
// Several entries may share a key (a case-sensitive file system can hold
// "a.txt" and "A.txt"); lookup then prefers the entry whose name is equal
// byte for byte, otherwise the first one added.
//
// Removal leaves a hole that walks skip; holes are squeezed out when they
// outnumber the entries. Do not remove from a collection while walking it.
// The name an entry is stored under; specialised next to each entry type.
template <class T>
struct NameVon;

template <class T>
class Schlüsselsammlung {
public:
    Schlüsselsammlung() = default;
    Schlüsselsammlung(const Schlüsselsammlung&) = delete;
    Schlüsselsammlung& operator=(const Schlüsselsammlung&) = delete;

    T& füge_hinzu(std::unique_ptr<T> eintrag) {
        T& ref = *eintrag;
        einträge_.push_back(std::move(eintrag));
        ++anzahl_;
        if (!index_.empty()) {
            if (2 * (belegt_ + 1) > index_.size())
                baue_index(2 * index_.size());
            else
                trage_ein(static_cast<std::uint32_t>(einträge_.size() - 1));
        } else if (anzahl_ > direkt_suchen_bis) {
            baue_index(16);
        }
        return ref;
    }

    [[nodiscard]] T* gib(std::string_view name) const noexcept {
        const std::size_t pos = finde(name);
        return pos == keine ? nullptr : einträge_[pos].get();
    }

    // Removes the entry that gib() finds; false when there is none.
    bool lösche(std::string_view name) {
        const std::size_t pos = finde(name);
        if (pos == keine) return false;
        if (!index_.empty()) trage_aus(static_cast<std::uint32_t>(pos));
        einträge_[pos].reset();
        --anzahl_;
        if (einträge_.size() >= 16 && anzahl_ * 2 < einträge_.size()) verdichte();
        return true;
    }

    [[nodiscard]] std::size_t size() const noexcept { return anzahl_; }
    [[nodiscard]] bool empty() const noexcept { return anzahl_ == 0; }

    template <class Zeiger>
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = T*;
        using reference = T&;

        Iterator() = default;
        Iterator(Zeiger pos, Zeiger ende) : pos_(pos), ende_(ende) { überspringe(); }
        T& operator*() const { return **pos_; }
        T* operator->() const { return pos_->get(); }
        Iterator& operator++() {
            ++pos_;
            überspringe();
            return *this;
        }
        Iterator operator++(int) {
            Iterator alt = *this;
            ++*this;
            return alt;
        }
        bool operator==(const Iterator& o) const { return pos_ == o.pos_; }

    private:
        void überspringe() {
            while (pos_ != ende_ && !*pos_) ++pos_;
        }
        Zeiger pos_{};
        Zeiger ende_{};
    };
    using iterator = Iterator<typename std::vector<std::unique_ptr<T>>::const_iterator>;

    // Walks in insertion order. Entries are mutable through a const collection
    // on purpose: constness guards the membership, not the entries.
    [[nodiscard]] iterator begin() const { return {einträge_.begin(), einträge_.end()}; }
    [[nodiscard]] iterator end() const { return {einträge_.end(), einträge_.end()}; }

private:
    struct Slot {
        std::uint32_t pos_plus_1 = 0;  // 0: empty
        std::uint32_t hash = 0;
    };
    static constexpr std::size_t keine = static_cast<std::size_t>(-1);
    static constexpr std::size_t direkt_suchen_bis = 8;

    static const std::string& name_von(const T& e) { return NameVon<T>::von(e); }

    std::size_t finde(std::string_view name) const noexcept {
        std::size_t erster = keine;
        if (index_.empty()) {
            for (std::size_t i = 0; i < einträge_.size(); ++i) {
                const T* e = einträge_[i].get();
                if (!e || !schlüssel_gleich(name_von(*e), name)) continue;
                if (name_von(*e) == name) return i;
                if (erster == keine) erster = i;
            }
            return erster;
        }
        const std::uint32_t h = schlüssel_hash(name);
        const std::size_t maske = index_.size() - 1;
        for (std::size_t s = h & maske; index_[s].pos_plus_1 != 0; s = (s + 1) & maske) {
            if (index_[s].hash != h) continue;
            const std::size_t i = index_[s].pos_plus_1 - 1;
            const std::string& n = name_von(*einträge_[i]);
            if (!schlüssel_gleich(n, name)) continue;
            if (n == name) return i;
            if (i < erster) erster = i;  // probing order is not insertion order
        }
        return erster;
    }

    void trage_ein(std::uint32_t pos) {
        const std::uint32_t h = schlüssel_hash(name_von(*einträge_[pos]));
        const std::size_t maske = index_.size() - 1;
        std::size_t s = h & maske;
        while (index_[s].pos_plus_1 != 0) s = (s + 1) & maske;
        index_[s] = Slot{pos + 1, h};
        ++belegt_;
    }

    // Backward-shift deletion keeps every probe chain unbroken.
    void trage_aus(std::uint32_t pos) {
        const std::size_t maske = index_.size() - 1;
        const std::uint32_t h = schlüssel_hash(name_von(*einträge_[pos]));
        std::size_t s = h & maske;
        while (index_[s].pos_plus_1 != pos + 1) s = (s + 1) & maske;
        std::size_t loch = s;
        for (std::size_t j = (loch + 1) & maske; index_[j].pos_plus_1 != 0; j = (j + 1) & maske) {
            const std::size_t heim = index_[j].hash & maske;
            // Move slot j into the hole unless its home lies cyclically in (loch, j].
            const bool bleibt =
                (loch < j) ? (heim > loch && heim <= j) : (heim > loch || heim <= j);
            if (!bleibt) {
                index_[loch] = index_[j];
                loch = j;
            }
        }
        index_[loch] = Slot{};
        --belegt_;
    }

    void baue_index(std::size_t größe) {
        while (größe < 2 * anzahl_) größe *= 2;
        index_.assign(größe, Slot{});
        belegt_ = 0;
        for (std::size_t i = 0; i < einträge_.size(); ++i)
            if (einträge_[i]) trage_ein(static_cast<std::uint32_t>(i));
    }

    void verdichte() {
        std::size_t ziel = 0;
        for (auto& e : einträge_)
            if (e) einträge_[ziel++] = std::move(e);
        einträge_.resize(ziel);
        einträge_.shrink_to_fit();
        if (anzahl_ > direkt_suchen_bis)
            baue_index(16);
        else {
            index_.clear();
            index_.shrink_to_fit();
            belegt_ = 0;
        }
    }

    std::vector<std::unique_ptr<T>> einträge_;
    std::vector<Slot> index_;
    std::size_t anzahl_ = 0;
    std::size_t belegt_ = 0;
};

}  // namespace tarvendo
