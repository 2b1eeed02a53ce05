#pragma once
// Recording fakes of the engine's host interfaces.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/schnittstellen.h"

namespace tarvendo::test {

// Records every call as one line, e.g. "text:kopiere a", "aktwert:500".
class AufzeichnendeAnzeige final : public Statusanzeige {
public:
    std::vector<std::string> aufrufe;
    std::string letzter_text;

    void text(std::string_view s) override { aufrufe.push_back("text:" + (letzter_text = s)); }
    void textpfad(std::string_view s) override {
        aufrufe.push_back("textpfad:" + (letzter_text = s));
    }
    void setze_maxwert(std::int32_t w) override {
        aufrufe.push_back("maxwert:" + std::to_string(w));
    }
    void setze_aktwert(std::int32_t w) override {
        aufrufe.push_back("aktwert:" + std::to_string(w));
    }
    void erhöhe_aktwert(std::int32_t w) override {
        aufrufe.push_back("erhöhe:" + std::to_string(w));
    }
    void Reset() override { aufrufe.push_back("Reset"); }
    void mit_prozentzahl(bool s) override { aufrufe.push_back(s ? "prozent:an" : "prozent:aus"); }
    void setze_ausrichtung(std::int32_t a) override {
        aufrufe.push_back("ausrichtung:" + std::to_string(a));
    }
};

struct AufzeichnendeAnzeigen {
    AufzeichnendeAnzeige schritt, verzeichnis, datei, info;
    Anzeigen alle{schritt, verzeichnis, datei, info};
};

// Counts yields; bei_nachgeben runs at each, with the yield's number (1-based).
class ZählendeSchleife final : public Ereignisschleife {
public:
    int anzahl = 0;
    std::function<void(int)> bei_nachgeben;
    void ereignisse_verarbeiten() override {
        ++anzahl;
        if (bei_nachgeben) bei_nachgeben(anzahl);
    }
};

// Answers from a script (OK once it runs out) and records every message.
class SkriptRückfrage final : public Rückfrage {
public:
    struct Meldung {
        std::string text;
        Knöpfe knöpfe;
    };
    std::vector<Meldung> meldungen;
    std::vector<Antwort> antworten;
    Antwort melde_fehler(std::string_view text, Knöpfe knöpfe) override {
        meldungen.push_back({std::string(text), knöpfe});
        const std::size_t n = meldungen.size() - 1;
        return n < antworten.size() ? antworten[n] : Antwort::OK;
    }
};

// Numbers the nodes of the finished-tasks tree and forgets them.
class ZählenderErledigtbaum final : public Erledigtbaum {
public:
    Knoten füge_hinzu(Knoten, std::string_view) override { return ++anzahl; }
    void setze_bild(Knoten, Bild) override {}
    Knoten anzahl = 0;
};

}  // namespace tarvendo::test
