#pragma once
// Passes every call on to the real file system, except those a test chose
// to fail; can also run a hook right before a chosen call.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/dateioperationen.h"

namespace tarvendo::test {

enum class Op {
    öffne,
    schließe,
    status,
    status_ohne_folgen,
    klone,
    kopiere_bereich,
    lies,
    schreibe,
    setze_rechte,
    setze_rechte_von,
    setze_zeiten,
    benenne_um,
    entferne_datei,
    entferne_verzeichnis,
    erstelle_verzeichnis,
    synchronisiere,
    anzahl
};

class FehlerDateioperationen final : public Dateioperationen {
public:
    // The n-th call of op from now on (1-based) fails with code; n = 0: every call.
    void scheitere(Op op, int n, int code) { regeln_.push_back({op, n, aufrufe(op), {}, code}); }
    // Every call of op with this name (the first name argument) fails with code.
    void scheitere_bei(Op op, std::string name, int code) {
        regeln_.push_back({op, 0, 0, std::move(name), code});
    }
    // Runs hook right before the n-th call of op from now on.
    void vor(Op op, int n, std::function<void()> hook) {
        hooks_.push_back({op, aufrufe(op) + n, std::move(hook)});
    }
    [[nodiscard]] int aufrufe(Op op) const { return zähler_[static_cast<std::size_t>(op)]; }

    Ergebnis<int> öffne(int v, const std::string& n, int flags, mode_t m) override {
        return weiter(Op::öffne, n, [&] { return echt_.öffne(v, n, flags, m); });
    }
    Status schließe(int fd) override {
        // A failed close releases the descriptor all the same.
        return weiter(
            Op::schließe, {}, [&] { return echt_.schließe(fd); }, true);
    }
    Ergebnis<struct stat> status(int fd) override {
        return weiter(Op::status, {}, [&] { return echt_.status(fd); });
    }
    Ergebnis<struct stat> status_ohne_folgen(int v, const std::string& n) override {
        return weiter(Op::status_ohne_folgen, n, [&] { return echt_.status_ohne_folgen(v, n); });
    }
    Status klone(int z, int q) override {
        return weiter(Op::klone, {}, [&] { return echt_.klone(z, q); });
    }
    Ergebnis<std::size_t> kopiere_bereich(int q, std::int64_t& qp, int z, std::int64_t& zp,
                                          std::size_t länge) override {
        return weiter(Op::kopiere_bereich, {},
                      [&] { return echt_.kopiere_bereich(q, qp, z, zp, länge); });
    }
    Ergebnis<std::size_t> lies(int fd, void* p, std::size_t länge) override {
        return weiter(Op::lies, {}, [&] { return echt_.lies(fd, p, länge); });
    }
    Ergebnis<std::size_t> schreibe(int fd, const void* p, std::size_t länge) override {
        return weiter(Op::schreibe, {}, [&] { return echt_.schreibe(fd, p, länge); });
    }
    Status setze_rechte(int fd, mode_t m) override {
        return weiter(Op::setze_rechte, {}, [&] { return echt_.setze_rechte(fd, m); });
    }
    Status setze_rechte_von(int v, const std::string& n, mode_t m) override {
        return weiter(Op::setze_rechte_von, n, [&] { return echt_.setze_rechte_von(v, n, m); });
    }
    Status setze_zeiten(int fd, const timespec zeiten[2]) override {
        return weiter(Op::setze_zeiten, {}, [&] { return echt_.setze_zeiten(fd, zeiten); });
    }
    Status benenne_um(int va, const std::string& alt, int vn, const std::string& neu) override {
        return weiter(Op::benenne_um, neu, [&] { return echt_.benenne_um(va, alt, vn, neu); });
    }
    Status entferne_datei(int v, const std::string& n) override {
        return weiter(Op::entferne_datei, n, [&] { return echt_.entferne_datei(v, n); });
    }
    Status entferne_verzeichnis(int v, const std::string& n) override {
        return weiter(Op::entferne_verzeichnis, n,
                      [&] { return echt_.entferne_verzeichnis(v, n); });
    }
    Status erstelle_verzeichnis(int v, const std::string& n, mode_t m) override {
        return weiter(Op::erstelle_verzeichnis, n,
                      [&] { return echt_.erstelle_verzeichnis(v, n, m); });
    }
    Status synchronisiere(int fd) override {
        return weiter(Op::synchronisiere, {}, [&] { return echt_.synchronisiere(fd); });
    }

private:
    struct Regel {
        Op op;
        int n;      // 0: every call
        int basis;  // calls of op made before the rule was set
        std::optional<std::string> name;
        int code;
    };
    struct Hook {
        Op op;
        int aufruf;
        std::function<void()> tu;
    };

    // Counts the call and runs its hooks; then fails it as a rule says, or
    // makes the real call (also before failing, when trotzdem is set).
    template <class Aufruf>
    auto weiter(Op op, const std::optional<std::string>& name, Aufruf aufruf, bool trotzdem = false)
        -> decltype(aufruf()) {
        using Ergebnistyp = decltype(aufruf());
        const int code = prüfe(op, name);
        if (code == 0) return aufruf();
        if (trotzdem) (void)aufruf();
        return Ergebnistyp::fehler(code);
    }

    int prüfe(Op op, const std::optional<std::string>& name) {
        const int nummer = ++zähler_[static_cast<std::size_t>(op)];
        for (auto& h : hooks_)
            if (h.op == op && h.aufruf == nummer && h.tu) h.tu();
        for (const auto& r : regeln_) {
            if (r.op != op) continue;
            if (r.name && (!name || *r.name != *name)) continue;
            if (r.n == 0 || nummer - r.basis == r.n) return r.code;
        }
        return 0;
    }

    PosixDateioperationen echt_;
    std::vector<Regel> regeln_;
    std::vector<Hook> hooks_;
    std::array<int, static_cast<std::size_t>(Op::anzahl)> zähler_{};
};

}  // namespace tarvendo::test
