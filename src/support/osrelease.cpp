#include "support/osrelease.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tarvendo {

namespace {

constexpr std::string_view standardname = "Linux";
// The file holds a dozen short lines; anything beyond this is not one.
constexpr std::size_t höchstlänge = 64 * 1024;

bool ist_leerraum(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view ohne_leerraum(std::string_view s) {
    while (!s.empty() && ist_leerraum(s.front())) s.remove_prefix(1);
    while (!s.empty() && ist_leerraum(s.back())) s.remove_suffix(1);
    return s;
}

bool ist_gültiger_schlüssel(std::string_view s) {
    if (s.empty() || (s.front() >= '0' && s.front() <= '9')) return false;
    for (const char c : s) {
        const bool erlaubt =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!erlaubt) return false;
    }
    return true;
}

// Shell rules: single quotes keep everything; in double quotes a backslash
// escapes only " \ $ and `; outside quotes it escapes any character. Unquoted
// blanks at the end are dropped and a # after an unquoted blank starts a
// comment. An unterminated quote runs to the end of the line.
std::string entquote(std::string_view roh) {
    enum class Zustand { frei, doppelt, einfach };
    Zustand zustand = Zustand::frei;
    std::string wert;
    std::size_t behalten = 0;  // length without trailing unquoted blanks
    bool nach_freiem_leerraum = false;
    for (std::size_t i = 0; i < roh.size(); ++i) {
        const char c = roh[i];
        switch (zustand) {
            case Zustand::einfach:
                if (c == '\'') {
                    zustand = Zustand::frei;
                } else {
                    wert += c;
                }
                behalten = wert.size();
                break;
            case Zustand::doppelt:
                if (c == '"') {
                    zustand = Zustand::frei;
                } else if (c == '\\' && i + 1 < roh.size() &&
                           std::string_view("\"\\$`").find(roh[i + 1]) != std::string_view::npos) {
                    wert += roh[++i];
                } else {
                    wert += c;
                }
                behalten = wert.size();
                break;
            case Zustand::frei:
                if (c == '#' && nach_freiem_leerraum) {
                    wert.resize(behalten);
                    return wert;
                }
                nach_freiem_leerraum = ist_leerraum(c);
                if (c == '"') {
                    zustand = Zustand::doppelt;
                } else if (c == '\'') {
                    zustand = Zustand::einfach;
                } else if (c == '\\' && i + 1 < roh.size()) {
                    wert += roh[++i];
                } else {
                    wert += c;
                }
                if (!nach_freiem_leerraum) behalten = wert.size();
                break;
        }
    }
    wert.resize(behalten);
    return wert;
}

std::optional<std::string> lies_kleine_datei(const std::string& pfad) {
    const int fd = open(pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string inhalt;
    char puffer[4096];
    bool fehler = false;
    while (inhalt.size() < höchstlänge) {
        const ssize_t n = read(fd, puffer, sizeof puffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fehler = true;
        if (n <= 0) break;
        inhalt.append(puffer, static_cast<std::size_t>(n));
    }
    close(fd);
    if (fehler) return std::nullopt;
    return inhalt;
}

}  // namespace

std::optional<std::string> os_release_wert(std::string_view inhalt, std::string_view schlüssel) {
    std::optional<std::string> gefunden;
    while (!inhalt.empty()) {
        const std::size_t ende = inhalt.find('\n');
        const std::string_view zeile = ohne_leerraum(inhalt.substr(0, ende));
        inhalt.remove_prefix(ende == std::string_view::npos ? inhalt.size() : ende + 1);

        if (zeile.empty() || zeile.front() == '#') continue;
        const std::size_t gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        const std::string_view name = ohne_leerraum(zeile.substr(0, gleich));
        if (!ist_gültiger_schlüssel(name) || name != schlüssel) continue;
        gefunden = entquote(ohne_leerraum(zeile.substr(gleich + 1)));
    }
    return gefunden;
}

std::string systemname_aus_os_release(std::string_view inhalt) {
    for (const std::string_view schlüssel : {"PRETTY_NAME", "NAME"}) {
        if (auto wert = os_release_wert(inhalt, schlüssel); wert && !wert->empty()) return *wert;
    }
    return std::string(standardname);
}

std::string systemname_aus_dateien(const std::vector<std::string>& dateien) {
    for (const std::string& datei : dateien) {
        if (const auto inhalt = lies_kleine_datei(datei)) return systemname_aus_os_release(*inhalt);
    }
    return std::string(standardname);
}

std::vector<std::string> os_release_orte() {
    return {"/etc/os-release", "/usr/lib/os-release"};
}

}  // namespace tarvendo
