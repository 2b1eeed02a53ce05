// Builds a source tree and a target tree for the comparison benchmark:
//   tarvendo-baumgenerator DIR N [PRÄFIX]
// DIR/quelle holds N files, 100 per directory, 50 directories per parent,
// sizes 0-2000 bytes. DIR/ziel is a copy with 1 % of the files changed in
// size, 1 % missing and 1 % extra. The same N always gives the same trees.
// File names are PRÄFIX (default "datei_"), the number and ".dat"; a longer
// prefix shows what longer names cost in memory.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr long dateien_je_verzeichnis = 100;
constexpr long verzeichnisse_je_eltern = 50;
constexpr time_t zeit = 1700000000;

[[noreturn]] void scheitere(const std::string& was) {
    std::fprintf(stderr, "tarvendo-baumgenerator: %s: %s\n", was.c_str(), std::strerror(errno));
    std::exit(1);
}

void mkdir_p(const std::string& pfad) {
    if (::mkdir(pfad.c_str(), 0755) != 0 && errno != EEXIST) scheitere("mkdir " + pfad);
}

void schreibe(const std::string& pfad, long größe, time_t mtime) {
    static const std::vector<char> inhalt(4096, 'x');
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) scheitere("open " + pfad);
    if (größe > 0 && ::write(fd, inhalt.data(), static_cast<size_t>(größe)) != größe)
        scheitere("write " + pfad);
    const timespec zeiten[2] = {{mtime, 0}, {mtime, 0}};
    if (::futimens(fd, zeiten) != 0) scheitere("futimens " + pfad);
    ::close(fd);
}

// The directory of leaf number blatt: one level per factor of 50 above the leaves.
std::string verzeichnis(long blatt, long blätter) {
    std::vector<long> teile;
    long ebene = blätter;
    long nummer = blatt;
    do {
        teile.push_back(nummer % verzeichnisse_je_eltern);
        nummer /= verzeichnisse_je_eltern;
        ebene = (ebene + verzeichnisse_je_eltern - 1) / verzeichnisse_je_eltern;
    } while (ebene > 1);
    std::string pfad;
    for (auto it = teile.rbegin(); it != teile.rend(); ++it) pfad += "/v" + std::to_string(*it);
    return pfad;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fputs("Aufruf: tarvendo-baumgenerator DIR N [PRÄFIX]\n", stderr);
        return 2;
    }
    const std::string basis = argv[1];
    const long n = std::atol(argv[2]);
    const std::string präfix = argc == 4 ? argv[3] : "datei_";
    const std::string quelle = basis + "/quelle", ziel = basis + "/ziel";
    mkdir_p(basis);
    mkdir_p(quelle);
    mkdir_p(ziel);

    std::mt19937 zufall(12345);
    std::uniform_int_distribution<long> größen(0, 2000);
    std::uniform_int_distribution<int> prozent(0, 99);
    const long blätter = (n + dateien_je_verzeichnis - 1) / dateien_je_verzeichnis;
    std::string zuletzt;
    for (long i = 0; i < n; ++i) {
        const std::string relativ = verzeichnis(i / dateien_je_verzeichnis, blätter);
        if (relativ != zuletzt) {
            for (std::size_t pos = 1; pos <= relativ.size(); ++pos)
                if (pos == relativ.size() || relativ[pos] == '/') {
                    mkdir_p(quelle + relativ.substr(0, pos));
                    mkdir_p(ziel + relativ.substr(0, pos));
                }
            zuletzt = relativ;
        }
        const std::string name = "/" + präfix + std::to_string(i) + ".dat";
        const long größe = größen(zufall);
        schreibe(quelle + relativ + name, größe, zeit);
        switch (prozent(zufall)) {
            case 0:  // changed
                schreibe(ziel + relativ + name, größe == 2000 ? 0 : größe + 1, zeit);
                break;
            case 1:  // missing in the target
                break;
            case 2:  // an extra file beside it in the target
                schreibe(ziel + relativ + name, größe, zeit);
                schreibe(ziel + relativ + "/extra_" + std::to_string(i) + ".dat", größe, zeit);
                break;
            default:
                schreibe(ziel + relativ + name, größe, zeit);
        }
    }
    return 0;
}
