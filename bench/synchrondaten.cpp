// Builds the source trees of the synchronisation benchmark:
//   tarvendo-synchrondaten klein DIR N   N files of 0-2000 bytes, 100 per directory
//   tarvendo-synchrondaten gross DIR MIB one file of MIB mebibytes
// Contents come from a fixed seed, so every run builds the same data.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

bool schreibe(const std::string& pfad, const char* daten, std::size_t länge) {
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    while (länge > 0) {
        const ssize_t n = ::write(fd, daten, länge);
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        daten += n;
        länge -= static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0;
}

void fülle(std::mt19937_64& zufall, std::vector<char>& puffer) {
    for (std::size_t i = 0; i + 8 <= puffer.size(); i += 8) {
        const std::uint64_t z = zufall();
        for (int b = 0; b < 8; ++b) puffer[i + b] = static_cast<char>(z >> (8 * b));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("Aufruf: tarvendo-synchrondaten klein|gross VERZEICHNIS ANZAHL\n", stderr);
        return 2;
    }
    const std::string art = argv[1], basis = argv[2];
    const long anzahl = std::atol(argv[3]);
    std::mt19937_64 zufall(20240611);
    if (::mkdir(basis.c_str(), 0755) != 0) {
        std::perror(basis.c_str());
        return 1;
    }
    if (art == "gross") {
        std::vector<char> puffer(std::size_t{1} << 20);
        const int fd = ::open((basis + "/gross.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return 1;
        for (long i = 0; i < anzahl; ++i) {
            fülle(zufall, puffer);
            if (::write(fd, puffer.data(), puffer.size()) != static_cast<ssize_t>(puffer.size()))
                return 1;
        }
        return ::close(fd) == 0 ? 0 : 1;
    }
    std::vector<char> puffer(2048);
    std::uniform_int_distribution<int> größe(0, 2000);
    std::string verzeichnis;
    for (long i = 0; i < anzahl; ++i) {
        if (i % 100 == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/d%05ld", i / 100);
            verzeichnis = basis + name;
            if (::mkdir(verzeichnis.c_str(), 0755) != 0) return 1;
        }
        fülle(zufall, puffer);
        char name[32];
        std::snprintf(name, sizeof name, "/f%07ld.dat", i);
        if (!schreibe(verzeichnis + name, puffer.data(), static_cast<std::size_t>(größe(zufall))))
            return 1;
    }
    return 0;
}
