#include "engine/ersetzungsstapel.h"

#include <fcntl.h>

#include <map>

#include "engine/attributkopie.h"

namespace tarvendo {

void schließe_verzeichnis_ab(Dateioperationen& ops, int ziel, int quelle, const struct stat& q,
                             bool als_root, bool mit_zeiten) {
    (void)übernimm_rechte(ops, ziel, q, als_root);
    if (quelle >= 0) (void)übernimm_attribute(ops, quelle, ziel, q, als_root, false);
    if (!mit_zeiten) return;
    const timespec zeiten[2] = {q.st_atim, q.st_mtim};
    (void)ops.setze_zeiten(ziel, zeiten);
}

bool Ersetzungsstapel::voll() const noexcept {
    return einträge_.size() >= größte_anzahl || menge_ >= größte_menge ||
           verzeichnisse_ >= größte_verzeichnisse;
}

Ausgang Ersetzungsstapel::kopiere(int quellverzeichnis, int zielverzeichnis,
                                  std::shared_ptr<Dateigriff>& verzeichnis, Eintrag eintrag,
                                  Kopierbeobachter& beobachter, const std::int32_t& abbruchflag,
                                  bool ohne_vorrechte) {
    Zwischenkopie& kopie = eintrag.kopie;
    if (Ausgang s =
            systemkopie_.schreibe(quellverzeichnis, eintrag.datei->Name, zielverzeichnis,
                                  eintrag.zielname, beobachter, abbruchflag, ohne_vorrechte, kopie);
        !s)
        return s;
    if (!kopie.ersetzt_daten)
        return systemkopie_.setze_ein(zielverzeichnis, eintrag.zielname, kopie);
    if (!verzeichnis) {
        // The walk closes its descriptor when it leaves the directory; the batch outlives that.
        // Readable, because syncfs refuses a descriptor opened with O_PATH.
        auto fd = ops_.öffne(zielverzeichnis, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (!fd) {
            // Without a handle to wait with, the copy is flushed on its own.
            auto temp =
                ops_.öffne(zielverzeichnis, kopie.temp_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0);
            Ausgang s =
                temp ? ops_.synchronisiere(temp.wert()) : Ausgang::fehler(temp.fehlercode());
            if (temp) (void)ops_.schließe(temp.wert());
            if (!s) {
                (void)ops_.entferne_datei(zielverzeichnis, kopie.temp_name);
                return s;
            }
            return systemkopie_.setze_ein(zielverzeichnis, eintrag.zielname, kopie);
        }
        verzeichnis = std::make_shared<Dateigriff>(ops_, fd.wert());
        ++verzeichnisse_;
    }
    eintrag.verzeichnis = verzeichnis;
    menge_ += kopie.größe;
    einträge_.push_back(std::move(eintrag));
    return erfolg();
}

void Ersetzungsstapel::schließe_ab(Dateigriff ziel, Dateigriff quelle, const struct stat& q,
                                   bool als_root, bool mit_zeiten) {
    if (einträge_.empty() && abschlüsse_.empty()) {
        schließe_verzeichnis_ab(ops_, ziel.fd(), quelle.offen() ? quelle.fd() : -1, q, als_root,
                                mit_zeiten);
        return;
    }
    verzeichnisse_ += 2;
    abschlüsse_.push_back(
        {einträge_.size(), std::move(ziel), std::move(quelle), q, als_root, mit_zeiten});
}

void Ersetzungsstapel::leere(const Fehlermelder& melde) {
    // Taken out first: a message may yield, and the host must find the batch empty.
    std::vector<Eintrag> einträge = std::move(einträge_);
    std::vector<Abschluss> abschlüsse = std::move(abschlüsse_);
    einträge_.clear();
    abschlüsse_.clear();
    menge_ = 0;
    verzeichnisse_ = 0;

    std::map<std::uint64_t, int> gesichert;  // device -> errno of its flush
    for (const Eintrag& e : einträge)
        if (!gesichert.contains(e.gerät))
            gesichert[e.gerät] = ops_.synchronisiere(e.verzeichnis->fd()).fehlercode();

    std::size_t abschluss = 0;
    auto schließe_ab_bis = [&](std::size_t n) {
        for (; abschluss < abschlüsse.size() && abschlüsse[abschluss].nach <= n; ++abschluss) {
            const Abschluss& a = abschlüsse[abschluss];
            schließe_verzeichnis_ab(ops_, a.ziel.fd(), a.quelle.offen() ? a.quelle.fd() : -1, a.q,
                                    a.als_root, a.mit_zeiten);
        }
    };
    for (std::size_t i = 0; i < einträge.size(); ++i) {
        schließe_ab_bis(i);
        const Eintrag& e = einträge[i];
        const int fd = e.verzeichnis->fd();
        int code = gesichert[e.gerät];
        if (code != 0)
            (void)ops_.entferne_datei(fd, e.kopie.temp_name);
        else
            code = systemkopie_.setze_ein(fd, e.zielname, e.kopie).fehlercode();
        if (code != 0) melde(e, code);
    }
    schließe_ab_bis(einträge.size());
}

void Ersetzungsstapel::verwirf() {
    for (const Eintrag& e : einträge_)
        (void)ops_.entferne_datei(e.verzeichnis->fd(), e.kopie.temp_name);
    einträge_.clear();
    menge_ = 0;
    leere([](const Eintrag&, int) {});
}

}  // namespace tarvendo
