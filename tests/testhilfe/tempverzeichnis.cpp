#include "testhilfe/tempverzeichnis.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tarvendo::test {

TempVerzeichnis::TempVerzeichnis() {
    const char* basis = std::getenv("TMPDIR");
    std::string muster = std::string(basis && *basis ? basis : "/tmp") + "/tarvendo-test-XXXXXX";
    if (!::mkdtemp(muster.data())) throw std::runtime_error("mkdtemp");
    pfad_ = muster;
}

TempVerzeichnis::~TempVerzeichnis() {
    // Neither tool follows a link out of the scratch directory; rm walks by
    // descriptors, so that chains deeper than PATH_MAX go too; chmod gives
    // back the write bits a test took away.
    const std::string befehl = "chmod -R u+rwx '" + pfad_ + "' 2>/dev/null; rm -rf '" + pfad_ + "'";
    (void)std::system(befehl.c_str());
}

std::string TempVerzeichnis::operator/(std::string_view relativ) const {
    return pfad_ + "/" + std::string(relativ);
}

void schreibe_datei(const std::string& pfad, std::string_view inhalt) {
    std::ofstream aus(pfad, std::ios::binary | std::ios::trunc);
    aus.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
    if (!aus) throw std::runtime_error("schreibe_datei " + pfad);
}

std::string lies_datei(const std::string& pfad) {
    std::ifstream ein(pfad, std::ios::binary);
    if (!ein) throw std::runtime_error("lies_datei " + pfad);
    std::ostringstream inhalt;
    inhalt << ein.rdbuf();
    return inhalt.str();
}

void erstelle_verzeichnis(const std::string& pfad) {
    if (::mkdir(pfad.c_str(), 0777) != 0) throw std::runtime_error("mkdir " + pfad);
}

int belege_datei(const std::string& pfad, long größe) {
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("belege_datei " + pfad);
    const int code = ::posix_fallocate(fd, 0, größe);
    ::close(fd);
    return code;
}

void setze_zeit(const std::string& pfad, long sekunden, long nanosekunden) {
    const timespec zeiten[2] = {{sekunden, nanosekunden}, {sekunden, nanosekunden}};
    if (::utimensat(AT_FDCWD, pfad.c_str(), zeiten, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("utimensat " + pfad);
}

bool existiert(const std::string& pfad) {
    struct stat st {};
    return ::lstat(pfad.c_str(), &st) == 0;
}

void erstelle_kette(const std::string& pfad, int tiefe) {
    erstelle_verzeichnis(pfad);
    int fd = ::open(pfad.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 1; i < tiefe && fd >= 0; ++i) {
        if (::mkdirat(fd, "d", 0777) != 0) throw std::runtime_error("mkdirat");
        const int unten = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = unten;
    }
    if (fd < 0) throw std::runtime_error("erstelle_kette " + pfad);
    ::close(fd);
}

}  // namespace tarvendo::test
