#include "cli/konsole.h"

#include <cstdio>

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

bool unterbrochen() { return unterbrechung != 0; }

int abbruchstatus() { return 128 + (unterbrechung != 0 ? unterbrechung : SIGINT); }

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

void schreibe(std::FILE* ziel, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), ziel);
}

}  // namespace tarvendo::cli
