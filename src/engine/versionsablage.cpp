#include "engine/versionsablage.h"

#include <fcntl.h>

#include <cerrno>

#include "engine/systemfehlertext.h"
#include "engine/versionsordner.h"
#include "support/pfad.h"

namespace tarvendo {

namespace {

constexpr int ordner_flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr std::time_t tag = 24 * 60 * 60;

}  // namespace

Versionsablage::Versionsablage(Dateioperationen& ops, std::string zielbasis, int tage,
                               std::time_t jetzt)
    : ops_(ops), zielbasis_(std::move(zielbasis)), tage_(tage), jetzt_(jetzt) {}

void Versionsablage::bereite_vor() {
    auto basis = ops_.öffne(AT_FDCWD, zielbasis_, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (!basis) return;  // the run meets the base's error where it matters
    Dateigriff basisgriff(ops_, basis.wert());
    auto fd = öffne_versionen(ops_, basisgriff.fd(), tage_ > 0);
    if (!fd) {
        if (tage_ > 0)
            hinweis_ = "Im Zielverzeichnis können keine Versionen abgelegt werden (" +
                       std::string(reservierter_ordner) + ": " + systemfehlertext(fd.fehlercode()) +
                       "). Gelöschte und ersetzte Dateien werden nicht aufbewahrt.";
        return;
    }
    Dateigriff versionen(ops_, fd.wert());
    auto st = ops_.status(versionen.fd());
    if (!st) return;
    gerät_ = st.wert().st_dev;
    for (const std::string& name : versionsordner(versionen.fd()))
        if (tage_ <= 0 || *versionszeit(name) < jetzt_ - static_cast<std::time_t>(tage_) * tag)
            (void)entferne_baum(versionen.fd(), name, gerät_);
    if (tage_ > 0) versionen_ = std::move(versionen);
}

int Versionsablage::lege_ordner_an() {
    if (lauf_.offen()) return 0;
    if (!versionen_.offen()) return EBADF;
    // Two runs within one second get a number after the time.
    const std::string stamm = versionsname(jetzt_);
    for (int nummer = 1; nummer < 100; ++nummer) {
        std::string name = stamm;
        if (nummer > 1) name += (nummer < 10 ? "-0" : "-") + std::to_string(nummer);
        const Ausgang s = ops_.erstelle_verzeichnis(versionen_.fd(), name, 0700);
        if (!s && s.fehlercode() == EEXIST) continue;
        if (!s) return s.fehlercode();
        auto fd = ops_.öffne(versionen_.fd(), name, ordner_flags, 0);
        if (!fd) return fd.fehlercode();
        lauf_ = Dateigriff(ops_, fd.wert());
        laufname_ = std::move(name);
        auto p = ops_.öffne(lauf_.fd(), std::string(protokollname),
                            O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (p) protokoll_ = Dateigriff(ops_, p.wert());
        return 0;
    }
    return EEXIST;
}

Ergebnis<int> Versionsablage::öffne_unterordner(std::string_view relativ) {
    // relativ is "/a/b/name": the levels a and b are made as needed.
    const std::string ordner(elternpfad(relativ));
    if (letzter_griff_.offen() && ordner == letzter_ordner_)
        return Ergebnis<int>::gut(letzter_griff_.fd());
    Dateigriff aktuell;
    int fd = lauf_.fd();
    std::string_view rest = std::string_view(ordner);
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const auto ende = rest.find('/');
        const std::string stufe(rest.substr(0, ende));
        rest = ende == std::string_view::npos ? std::string_view() : rest.substr(ende);
        auto neu = öffne_stufe(ops_, fd, stufe, true);
        if (!neu) return neu;
        aktuell = Dateigriff(ops_, neu.wert());
        fd = aktuell.fd();
    }
    if (!aktuell.offen()) {
        auto neu = ops_.öffne(lauf_.fd(), ".", ordner_flags, 0);
        if (!neu) return neu;
        aktuell = Dateigriff(ops_, neu.wert());
    }
    letzter_ordner_ = ordner;
    letzter_griff_ = std::move(aktuell);
    return Ergebnis<int>::gut(letzter_griff_.fd());
}

Ausgang Versionsablage::schreibe(const Protokollzeile& zeile) {
    leere_puffer();
    return schreibe_text(protokollzeile(zeile));
}

Ausgang Versionsablage::schreibe_text(std::string_view text) {
    if (!protokoll_.offen()) return Ausgang::fehler(EBADF);
    auto n = ops_.schreibe(protokoll_.fd(), text.data(), text.size());
    if (!n) return Ausgang::fehler(n.fehlercode());
    // A short append leaves a cut line, which reading drops.
    return n.wert() == text.size() ? erfolg() : Ausgang::fehler(EIO);
}

void Versionsablage::leere_puffer() {
    if (puffer_.empty()) return;
    // Best effort, like the lines themselves: a lost line loses no data.
    (void)schreibe_text(puffer_);
    puffer_.clear();
}

Ausgang Versionsablage::lege_ab(int verzeichnis, const std::string& name, std::string_view relativ,
                                Protokollart art) {
    if (const int code = lege_ordner_an(); code != 0) return Ausgang::fehler(code);
    auto ziel = öffne_unterordner(relativ);
    if (!ziel) return Ausgang::fehler(ziel.fehlercode());
    // Written first: a run killed after the rename still finds it in the record.
    Ausgang s = schreibe({art, std::string(relativ), {}, 0, {}});
    while ((s.fehlercode() == ENOSPC || s.fehlercode() == EDQUOT) && gib_platz_frei())
        s = schreibe({art, std::string(relativ), {}, 0, {}});
    if (!s) return s;
    const std::string blatt(letzter_name(relativ));
    return ops_.benenne_um(verzeichnis, name, ziel.wert(), blatt);
}

void Versionsablage::hole_zurück(int verzeichnis, const std::string& name,
                                 std::string_view relativ) {
    auto ordner = öffne_unterordner(relativ);
    if (!ordner) return;
    const std::string blatt(letzter_name(relativ));
    (void)ops_.benenne_um(ordner.wert(), blatt, verzeichnis, name);
}

void Versionsablage::vermerke_erstellt(int verzeichnis, const std::string& name,
                                       std::string_view relativ, bool ersetzt) {
    if (lege_ordner_an() != 0) return;
    auto st = ops_.status_ohne_folgen(verzeichnis, name);
    if (!st) return;
    const Protokollzeile zeile{Protokollart::erstellt,
                               std::string(relativ),
                               {},
                               static_cast<std::int64_t>(st.wert().st_size),
                               st.wert().st_mtim};
    if (ersetzt) {
        (void)schreibe(zeile);
        return;
    }
    puffer_ += protokollzeile(zeile);
    if (puffer_.size() >= puffergrenze) leere_puffer();
}

void Versionsablage::vermerke(Protokollart art, std::string_view relativ, std::string_view neu) {
    if (lege_ordner_an() != 0) return;
    (void)schreibe({art, std::string(relativ), std::string(neu), 0, {}});
}

void Versionsablage::vermerke_rechte(const struct stat& vorher, std::string_view relativ,
                                     bool mit_eigentümer) {
    if (lege_ordner_an() != 0) return;
    Protokollzeile zeile{Protokollart::attribute, std::string(relativ), {}, 0, {}};
    zeile.modus = vorher.st_mode & 07777;
    zeile.mit_eigentümer = mit_eigentümer;
    zeile.benutzer = vorher.st_uid;
    zeile.gruppe = vorher.st_gid;
    (void)schreibe(zeile);
}

bool Versionsablage::gib_platz_frei() {
    if (!versionen_.offen()) return false;
    for (const std::string& name : versionsordner(versionen_.fd())) {
        if (name == laufname_) continue;  // the run in progress keeps its versions
        if (entferne_baum(versionen_.fd(), name, gerät_)) return true;
    }
    return false;
}

std::string Versionsablage::ordnerpfad() const {
    if (laufname_.empty()) return {};
    return versionspfad(zielbasis_, laufname_);
}

}  // namespace tarvendo
