#include "engine/pseudodateisystem.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace tarvendo {

namespace {

constexpr std::uint64_t tmpfs = 0x01021994;

constexpr std::uint64_t pseudo[] = {
    0x9fa0,      // proc
    0x62656572,  // sysfs
    0x1cd1,      // devpts
    0x27e0eb,    // cgroup
    0x63677270,  // cgroup2
    0x64626720,  // debugfs
    0x74726163,  // tracefs
    0x73636673,  // securityfs
    0x6165676c,  // pstore
    0xcafe4a11,  // bpf
    0x62656570,  // configfs
    0xde5e81e4,  // efivarfs
    0x65735543,  // fusectl
    0x19800202,  // mqueue
    0x958458f6,  // hugetlbfs
    0x42494e4d,  // binfmt_misc
    0x6e736673,  // nsfs
};

// Whether the mount table names the file system of device gerät devtmpfs.
bool ist_devtmpfs(dev_t gerät) {
    std::FILE* tabelle = std::fopen("/proc/self/mountinfo", "re");
    if (!tabelle) return false;
    bool gefunden = false;
    char* zeile = nullptr;
    std::size_t länge = 0;
    while (!gefunden && ::getline(&zeile, &länge, tabelle) > 0) {
        // "id parent major:minor root point options [tags] - type source ..."
        unsigned haupt = 0, neben = 0;
        if (std::sscanf(zeile, "%*u %*u %u:%u", &haupt, &neben) != 2) continue;
        const char* trenner = std::strstr(zeile, " - ");
        gefunden = haupt == major(gerät) && neben == minor(gerät) && trenner &&
                   std::strncmp(trenner + 3, "devtmpfs ", 9) == 0;
    }
    std::free(zeile);
    std::fclose(tabelle);
    return gefunden;
}

}  // namespace

bool ist_pseudodateisystem(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) return false;
    const auto art = static_cast<std::uint64_t>(static_cast<std::uint32_t>(fs.f_type));
    if (std::find(std::begin(pseudo), std::end(pseudo), art) != std::end(pseudo)) return true;
    struct stat st {};
    return art == tmpfs && ::fstat(fd, &st) == 0 && ist_devtmpfs(st.st_dev);
}

}  // namespace tarvendo
