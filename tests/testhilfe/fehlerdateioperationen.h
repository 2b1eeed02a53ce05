#pragma once
// Passes every call on to the real file system and counts it by the name of
// the operation ("klone", "öffne", ...), except the calls a test chose to fail.

#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/dateioperationen.h"

namespace tarvendo::test {

class FehlerDateioperationen final : public Dateioperationen {
    using P = PosixDateioperationen;

public:
    // The n-th call of op from now on (1-based) fails with code; n = 0: every call.
    void scheitere(const std::string& op, int n, int code) {
        regeln_.push_back({op, n == 0 ? 0 : aufrufe(op) + n, code});
    }
    [[nodiscard]] int aufrufe(const std::string& op) const {
        const auto it = zähler_.find(op);
        return it == zähler_.end() ? 0 : it->second;
    }

// Passes the call on to the real file system unless a rule fails it.
#define WEITER(op, ...) \
    { return weiter(#op, &P::op, __VA_ARGS__); }

    Ergebnis<int> öffne(int v, const std::string& n, int f, mode_t m) override {
        if (vor_dem_öffnen) vor_dem_öffnen(v, n, f);
        return weiter(__func__, &P::öffne, v, n, f, m);
    }
    // Called with the directory, name and flags of every open: another
    // process acting between the program's steps.
    std::function<void(int, const std::string&, int)> vor_dem_öffnen;
    Ausgang schließe(int fd) override {
        const Ausgang echt = echt_.schließe(fd);  // a failed close releases fd all the same
        const int code = zähle(__func__);
        return code == 0 ? echt : Ausgang::fehler(code);
    }
    Ergebnis<struct stat> status(int fd) override
        WEITER(status, fd) Ergebnis<struct stat> status_ohne_folgen(int v,
                                                                    const std::string& n) override
        WEITER(status_ohne_folgen, v, n) Ausgang klone(int z, int q) override
        WEITER(klone, z, q) Ergebnis<std::size_t> kopiere_bereich(int q, std::int64_t& qp, int z,
                                                                  std::int64_t& zp,
                                                                  std::size_t n) override
        WEITER(kopiere_bereich, q, qp, z, zp, n) Ergebnis<std::size_t> lies(int fd, void* p,
                                                                            std::size_t n) override
        WEITER(lies, fd, p, n) Ergebnis<std::size_t> schreibe(int fd, const void* p,
                                                              std::size_t n) override
        WEITER(schreibe, fd, p, n) Ausgang setze_rechte(int fd, mode_t m) override
        WEITER(setze_rechte, fd, m) Ausgang setze_eigentümer(int fd, uid_t u, gid_t g) override
        WEITER(setze_eigentümer, fd, u, g) Ausgang
        setze_rechte_von(int v, const std::string& n, mode_t m) override
        WEITER(setze_rechte_von, v, n, m) Ausgang setze_zeiten(int fd, const timespec t[2]) override
        WEITER(setze_zeiten, fd, t) Ausgang
        setze_zeiten_von(int v, const std::string& n, const timespec t[2]) override
        WEITER(setze_zeiten_von, v, n, t) Ausgang
        benenne_um(int va, const std::string& a, int vn, const std::string& n) override
        WEITER(benenne_um, va, a, vn, n) Ausgang
        entferne_datei(int v, const std::string& n) override WEITER(entferne_datei, v, n) Ausgang
        entferne_verzeichnis(int v, const std::string& n) override
        WEITER(entferne_verzeichnis, v, n) Ausgang
        erstelle_verzeichnis(int v, const std::string& n, mode_t m) override
        WEITER(erstelle_verzeichnis, v, n, m) Ausgang synchronisiere(int fd) override
        WEITER(synchronisiere, fd) Ausgang sperre_exklusiv(int fd) override
        WEITER(sperre_exklusiv, fd) Ergebnis<std::int64_t> suche(int fd, std::int64_t p,
                                                                 int w) override
        WEITER(suche, fd, p, w) Ausgang kürze(int fd, std::int64_t n) override
        WEITER(kürze, fd, n) Ergebnis<std::size_t> attributnamen(int fd, char* p,
                                                                 std::size_t n) override
        WEITER(attributnamen, fd, p,
               n) Ergebnis<std::size_t> lies_attribut(int fd, const std::string& a, void* p,
                                                      std::size_t n) override
        WEITER(lies_attribut, fd, a, p, n) Ausgang
        setze_attribut(int fd, const std::string& a, const void* w, std::size_t n) override
        WEITER(setze_attribut, fd, a, w, n)
#undef WEITER

            private : struct Regel {
        std::string op;
        int aufruf;  // 0: every call
        int code;
    };

    template <class F, class... A>
    std::invoke_result_t<F, P&, A...> weiter(const char* op, F f, A&&... a) {
        if (const int code = zähle(op); code != 0)
            return std::invoke_result_t<F, P&, A...>::fehler(code);
        return (echt_.*f)(std::forward<A>(a)...);
    }
    // Counts the call; the errno a rule gives it, or 0.
    int zähle(const std::string& op) {
        const int nummer = ++zähler_[op];
        for (const Regel& r : regeln_)
            if (r.op == op && (r.aufruf == 0 || r.aufruf == nummer)) return r.code;
        return 0;
    }

    P echt_;
    std::vector<Regel> regeln_;
    std::map<std::string, int> zähler_;
};

}  // namespace tarvendo::test
