#include "testhilfe/tempverzeichnis.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tarvendo::test {

namespace {
int entferne(const char* pfad, const struct stat*, int typ, struct FTW*) {
    // Make directories writable again in case a test took the bit away.
    if (typ == FTW_DP) {
        if (::rmdir(pfad) != 0) {
            ::chmod(pfad, 0700);
            ::rmdir(pfad);
        }
    } else {
        ::unlink(pfad);
    }
    return 0;
}
}  // namespace

TempVerzeichnis::TempVerzeichnis() {
    const char* basis = std::getenv("TMPDIR");
    std::string muster = std::string(basis && *basis ? basis : "/tmp") + "/tarvendo-test-XXXXXX";
    if (!::mkdtemp(muster.data())) throw std::runtime_error("mkdtemp");
    pfad_ = muster;
}

TempVerzeichnis::~TempVerzeichnis() {
    // FTW_PHYS: never follow a link out of the scratch directory.
    ::nftw(pfad_.c_str(), entferne, 32, FTW_DEPTH | FTW_PHYS);
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

bool entferne_kette(const std::string& pfad) {
    // Down to the bottom, then up through ".." removing one level at a time.
    int fd = ::open(pfad.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int tiefe = 0;
    for (int unten; fd >= 0 && (unten = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) >= 0;
         ++tiefe) {
        ::close(fd);
        fd = unten;
    }
    for (; fd >= 0 && tiefe > 0; --tiefe) {
        const int oben = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = oben;
        if (fd < 0 || ::unlinkat(fd, "d", AT_REMOVEDIR) != 0) break;
    }
    if (fd >= 0) ::close(fd);
    return tiefe == 0 && ::rmdir(pfad.c_str()) == 0;
}

}  // namespace tarvendo::test
