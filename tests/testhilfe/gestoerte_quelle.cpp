#include "testhilfe/gestoerte_quelle.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tarvendo::test {

namespace {

using Liste = Ergebnis<std::unique_ptr<Verzeichnisliste>>;

class GestörteListe final : public Verzeichnisliste {
public:
    static Liste umhülle(GestörteQuelle& quelle, const std::string& pfad, Liste innen) {
        if (const auto it = quelle.öffnen_scheitert.find(pfad); it != quelle.öffnen_scheitert.end())
            return Liste::fehler(it->second);
        if (!innen) return innen;
        return Liste::gut(std::make_unique<GestörteListe>(quelle, pfad, std::move(innen).wert()));
    }

    GestörteListe(GestörteQuelle& quelle, std::string pfad, std::unique_ptr<Verzeichnisliste> innen)
        : quelle_(quelle), pfad_(std::move(pfad)), innen_(std::move(innen)) {
        for (auto e = innen_->nächster(); e && e.wert().name; e = innen_->nächster())
            einträge_.emplace_back(e.wert().name, e.wert().art);
        std::sort(einträge_.begin(), einträge_.end());
        if (const auto it = quelle_.lesen_scheitert.find(pfad_);
            it != quelle_.lesen_scheitert.end()) {
            einträge_.resize(std::min(einträge_.size(), it->second.nach));
            fehler_ = it->second.fehler;
        }
    }

    Verzeichniskennung kennung() const override { return innen_->kennung(); }
    Rechte rechte() const override { return innen_->rechte(); }
    bool pseudodateisystem() const override { return innen_->pseudodateisystem(); }

    Ergebnis<Listeneintrag> nächster() override {
        if (pos_ == einträge_.size())
            return fehler_ ? Ergebnis<Listeneintrag>::fehler(fehler_)
                           : Ergebnis<Listeneintrag>::gut({});
        const auto& [name, art] = einträge_[pos_++];
        return Ergebnis<Listeneintrag>::gut({name.c_str(), art});
    }

    Ergebnis<Eintragsdaten> daten(const char* name, bool folgen) override {
        const auto it = quelle_.daten_scheitern.find(pfad_ + "/" + name);
        if (it != quelle_.daten_scheitern.end()) return Ergebnis<Eintragsdaten>::fehler(it->second);
        return innen_->daten(name, folgen);
    }

    Liste öffne(const char* name, bool folgen) override {
        if (quelle_.vor_dem_öffnen) quelle_.vor_dem_öffnen(pfad_ + "/" + name);
        return umhülle(quelle_, pfad_ + "/" + name, innen_->öffne(name, folgen));
    }

private:
    GestörteQuelle& quelle_;
    std::string pfad_;
    std::unique_ptr<Verzeichnisliste> innen_;
    std::vector<std::pair<std::string, Eintragsart>> einträge_;  // sorted, "." and ".." included
    std::size_t pos_ = 0;
    int fehler_ = 0;  // errno once the entries are delivered
};

}  // namespace

Liste GestörteQuelle::öffne(const std::string& pfad) {
    return GestörteListe::umhülle(*this, pfad, echt_.öffne(pfad));
}

}  // namespace tarvendo::test
