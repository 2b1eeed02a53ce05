#pragma once
// Results of file-system operations: a value or an errno code, never an exception.

#include <utility>

namespace tarvendo {

template <class T>
class [[nodiscard]] Ergebnis {
public:
    static Ergebnis gut(T wert) { return Ergebnis(std::move(wert), 0); }
    static Ergebnis fehler(int code) { return Ergebnis(T{}, code != 0 ? code : -1); }

    [[nodiscard]] bool ok() const noexcept { return code_ == 0; }
    explicit operator bool() const noexcept { return ok(); }
    // The errno value of the failing step; 0 on success.
    [[nodiscard]] int fehlercode() const noexcept { return code_; }
    [[nodiscard]] const T& wert() const& noexcept { return wert_; }
    [[nodiscard]] T&& wert() && noexcept { return std::move(wert_); }

private:
    Ergebnis(T wert, int code) : wert_(std::move(wert)), code_(code) {}
    T wert_;
    int code_;
};

// For operations that yield nothing but success or an errno code.
struct Nichts {};
using Ausgang = Ergebnis<Nichts>;
inline Ausgang erfolg() {
    return Ausgang::gut({});
}

}  // namespace tarvendo
