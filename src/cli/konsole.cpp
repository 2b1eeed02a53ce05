#include "cli/konsole.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace tarvendo::cli {

namespace {
volatile std::sig_atomic_t unterbrechung = 0;  // the signal's number

extern "C" void bei_unterbrechung(int signal) {
    if (unterbrechung == 0) unterbrechung = signal;
}
}  // namespace

void fange_unterbrechung() {
    struct sigaction aktion {};
    aktion.sa_handler = bei_unterbrechung;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &aktion, nullptr);
}

bool unterbrochen() {
    return unterbrechung != 0;
}

int abbruchstatus() {
    return 128 + (unterbrechung != 0 ? unterbrechung : SIGINT);
}

SignalSchleife::SignalSchleife(Programmzustand& zustand) : zustand_(zustand) {}

void SignalSchleife::ereignisse_verarbeiten() {
    if (unterbrochen()) {
        zustand_.abbruch = true;
        zustand_.kopierabbruch = 1;
    }
}

Antwort StderrRückfrage::melde_fehler(std::string_view text, Knöpfe) {
    schreibe(stderr, text);
    schreibe(stderr, "\n");
    return Antwort::OK;
}

namespace {

void schreibe_sichtbar(std::FILE* ziel, std::string_view text, bool zeilen_lassen) {
    // Most names are plain ASCII: those go out as they are.
    if (std::all_of(text.begin(), text.end(), [&](char c) {
            return (c >= 0x20 && c < 0x7F && c != '\\') || (c == '\n' && zeilen_lassen);
        })) {
        std::fwrite(text.data(), 1, text.size(), ziel);
        return;
    }
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto länge = static_cast<utf8proc_ssize_t>(text.size());
    std::string aus;
    aus.reserve(text.size());
    for (utf8proc_ssize_t i = 0; i < länge;) {
        utf8proc_int32_t zeichen = 0;
        utf8proc_ssize_t n = utf8proc_iterate(bytes + i, länge - i, &zeichen);
        bool sichtbar = n > 0;
        if (sichtbar) {
            const auto kategorie = utf8proc_category(zeichen);
            sichtbar = zeichen != '\\' &&
                       (kategorie != UTF8PROC_CATEGORY_CC || (zeichen == '\n' && zeilen_lassen));
        } else {
            zeichen = -1;
            n = 1;
        }
        if (sichtbar) {
            aus.append(text.data() + i, static_cast<std::size_t>(n));
        } else if (zeichen == '\\') {
            aus += "\\\\";
        } else {
            for (utf8proc_ssize_t k = i; k < i + n; ++k) {
                char ersatz[5];
                std::snprintf(ersatz, sizeof ersatz, "\\x%02X", bytes[k]);
                aus += ersatz;
            }
        }
        i += n;
    }
    std::fwrite(aus.data(), 1, aus.size(), ziel);
}

}  // namespace

void schreibe(std::FILE* ziel, std::string_view text) {
    schreibe_sichtbar(ziel, text, true);
}

void schreibe_name(std::FILE* ziel, std::string_view name) {
    schreibe_sichtbar(ziel, name, false);
}

}  // namespace tarvendo::cli
