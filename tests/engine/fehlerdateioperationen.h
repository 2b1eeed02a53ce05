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

    Ergebnis<int> öffne(int v, const std::string& name, int flags, mode_t modus) override {
        if (int c = prüfe(Op::öffne, name)) return Ergebnis<int>::fehler(c);
        return echt_.öffne(v, name, flags, modus);
    }
    Status schließe(int fd) override {
        if (int c = prüfe(Op::schließe, {})) {
            (void)echt_.schließe(fd);  // the descriptor is gone all the same
            return Status::fehler(c);
        }
        return echt_.schließe(fd);
    }
    Ergebnis<struct stat> status(int fd) override {
        if (int c = prüfe(Op::status, {})) return Ergebnis<struct stat>::fehler(c);
        return echt_.status(fd);
    }
    Ergebnis<struct stat> status_ohne_folgen(int v, const std::string& name) override {
        if (int c = prüfe(Op::status_ohne_folgen, name)) return Ergebnis<struct stat>::fehler(c);
        return echt_.status_ohne_folgen(v, name);
    }
    Status klone(int ziel, int quelle) override {
        if (int c = prüfe(Op::klone, {})) return Status::fehler(c);
        return echt_.klone(ziel, quelle);
    }
    Ergebnis<std::size_t> kopiere_bereich(int q, std::int64_t& qp, int z, std::int64_t& zp,
                                          std::size_t länge) override {
        if (int c = prüfe(Op::kopiere_bereich, {})) return Ergebnis<std::size_t>::fehler(c);
        return echt_.kopiere_bereich(q, qp, z, zp, länge);
    }
    Ergebnis<std::size_t> lies(int fd, void* puffer, std::size_t länge) override {
        if (int c = prüfe(Op::lies, {})) return Ergebnis<std::size_t>::fehler(c);
        return echt_.lies(fd, puffer, länge);
    }
    Ergebnis<std::size_t> schreibe(int fd, const void* daten, std::size_t länge) override {
        if (int c = prüfe(Op::schreibe, {})) return Ergebnis<std::size_t>::fehler(c);
        return echt_.schreibe(fd, daten, länge);
    }
    Status setze_rechte(int fd, mode_t modus) override {
        if (int c = prüfe(Op::setze_rechte, {})) return Status::fehler(c);
        return echt_.setze_rechte(fd, modus);
    }
    Status setze_rechte_von(int v, const std::string& name, mode_t modus) override {
        if (int c = prüfe(Op::setze_rechte_von, name)) return Status::fehler(c);
        return echt_.setze_rechte_von(v, name, modus);
    }
    Status setze_zeiten(int fd, const timespec zeiten[2]) override {
        if (int c = prüfe(Op::setze_zeiten, {})) return Status::fehler(c);
        return echt_.setze_zeiten(fd, zeiten);
    }
    Status benenne_um(int va, const std::string& alt, int vn, const std::string& neu) override {
        if (int c = prüfe(Op::benenne_um, neu)) return Status::fehler(c);
        return echt_.benenne_um(va, alt, vn, neu);
    }
    Status entferne_datei(int v, const std::string& name) override {
        if (int c = prüfe(Op::entferne_datei, name)) return Status::fehler(c);
        return echt_.entferne_datei(v, name);
    }
    Status entferne_verzeichnis(int v, const std::string& name) override {
        if (int c = prüfe(Op::entferne_verzeichnis, name)) return Status::fehler(c);
        return echt_.entferne_verzeichnis(v, name);
    }
    Status erstelle_verzeichnis(int v, const std::string& name, mode_t modus) override {
        if (int c = prüfe(Op::erstelle_verzeichnis, name)) return Status::fehler(c);
        return echt_.erstelle_verzeichnis(v, name, modus);
    }
    Status synchronisiere(int fd) override {
        if (int c = prüfe(Op::synchronisiere, {})) return Status::fehler(c);
        return echt_.synchronisiere(fd);
    }

private:
    struct Regel {
        Op op;
        int n;       // 0: every call
        int basis;   // calls of op made before the rule was set
        std::optional<std::string> name;
        int code;
    };
    struct Hook {
        Op op;
        int aufruf;
        std::function<void()> tu;
    };

    // Counts the call, runs its hooks and returns the errno to fail with, or 0.
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
