#include "testhilfe/gestoerte_quelle.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tarvendo::test {

namespace {

class GestörteListe final : public Verzeichnisliste {
public:
    GestörteListe(GestörteQuelle& quelle, std::string pfad, std::unique_ptr<Verzeichnisliste> innen)
        : quelle_(quelle), pfad_(std::move(pfad)), innen_(std::move(innen)) {
        if (auto it = quelle_.lesen_scheitert.find(pfad_); it != quelle_.lesen_scheitert.end())
            fehler_ = it->second;
        if (quelle_.sortiert) {
            for (;;) {
                Ergebnis<Listeneintrag> e = innen_->nächster();
                if (!e || !e.wert().name) break;
                vorrat_.push_back({e.wert().name, e.wert().art});
            }
            std::sort(vorrat_.begin(), vorrat_.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
        }
    }

    Verzeichniskennung kennung() const override { return innen_->kennung(); }

    Ergebnis<Listeneintrag> nächster() override {
        Listeneintrag e;
        if (quelle_.sortiert) {
            if (pos_ < vorrat_.size()) {
                e = {vorrat_[pos_].first.c_str(), vorrat_[pos_].second};
                ++pos_;
            }
        } else {
            Ergebnis<Listeneintrag> innen = innen_->nächster();
            if (!innen) return innen;
            e = innen.wert();
        }
        if (e.name && std::strcmp(e.name, ".") != 0 && std::strcmp(e.name, "..") != 0) {
            if (fehler_.fehler != 0 && geliefert_ == fehler_.nach)
                return Ergebnis<Listeneintrag>::fehler(fehler_.fehler);
            ++geliefert_;
        } else if (!e.name && fehler_.fehler != 0) {
            return Ergebnis<Listeneintrag>::fehler(fehler_.fehler);
        }
        return Ergebnis<Listeneintrag>::gut(e);
    }

    Ergebnis<Eintragsdaten> daten(const char* name, bool folgen) override {
        if (auto it = quelle_.daten_scheitern.find(kind(name)); it != quelle_.daten_scheitern.end())
            return Ergebnis<Eintragsdaten>::fehler(it->second);
        return innen_->daten(name, folgen);
    }

    Ergebnis<std::unique_ptr<Verzeichnisliste>> öffne(const char* name) override {
        const std::string pfad = kind(name);
        if (auto it = quelle_.öffnen_scheitert.find(pfad); it != quelle_.öffnen_scheitert.end())
            return Ergebnis<std::unique_ptr<Verzeichnisliste>>::fehler(it->second);
        return quelle_.umhülle(pfad, innen_->öffne(name));
    }

private:
    std::string kind(const char* name) const { return pfad_ + "/" + name; }

    GestörteQuelle& quelle_;
    std::string pfad_;
    std::unique_ptr<Verzeichnisliste> innen_;
    GestörteQuelle::Lesefehler fehler_;
    std::vector<std::pair<std::string, Eintragsart>> vorrat_;
    std::size_t pos_ = 0;
    int geliefert_ = 0;
};

}  // namespace

Ergebnis<std::unique_ptr<Verzeichnisliste>> GestörteQuelle::öffne(const std::string& pfad) {
    if (auto it = öffnen_scheitert.find(pfad); it != öffnen_scheitert.end())
        return Ergebnis<std::unique_ptr<Verzeichnisliste>>::fehler(it->second);
    return umhülle(pfad, echt_.öffne(pfad));
}

Ergebnis<std::unique_ptr<Verzeichnisliste>> GestörteQuelle::umhülle(
    const std::string& pfad, Ergebnis<std::unique_ptr<Verzeichnisliste>> innen) {
    if (!innen) return innen;
    geöffnet.push_back(pfad);
    return Ergebnis<std::unique_ptr<Verzeichnisliste>>::gut(
        std::make_unique<GestörteListe>(*this, pfad, std::move(innen).wert()));
}

}  // namespace tarvendo::test
