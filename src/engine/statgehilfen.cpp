#include "engine/statgehilfen.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace tarvendo {

namespace {
// Below this a batch costs less than waking the helpers.
constexpr std::size_t kleinster_geteilter_auftrag = 16;
// Requests taken at a time: fewer round trips of the shared counters
// between the processors' caches.
constexpr std::size_t stück = 4;
}  // namespace

void stat_abfrage(int dirfd, Datenabfrage& abfrage, int flags) {
    struct stat st {};
    // Asked to follow, the entry's own data come first all the same: what
    // was reached through a link must be known, and only links cost a
    // second call.
    if (::fstatat(dirfd, abfrage.name, &st, flags | AT_SYMLINK_NOFOLLOW) != 0) {
        abfrage.fehler = errno;
        return;
    }
    abfrage.daten.durch_link = false;
    if (S_ISLNK(st.st_mode) && (flags & AT_SYMLINK_NOFOLLOW) == 0) {
        if (::fstatat(dirfd, abfrage.name, &st, flags) != 0) {
            abfrage.fehler = errno;
            return;
        }
        abfrage.daten.durch_link = true;
    }
    abfrage.fehler = 0;
    abfrage.daten.verzeichnis = S_ISDIR(st.st_mode);
    abfrage.daten.link = S_ISLNK(st.st_mode);
    abfrage.daten.sonderdatei =
        !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode);
    abfrage.daten.größe = static_cast<std::int64_t>(st.st_size);
    abfrage.daten.sekunden = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    abfrage.daten.modus = static_cast<std::uint32_t>(st.st_mode);
    abfrage.daten.benutzer = st.st_uid;
    abfrage.daten.gruppe = st.st_gid;
}

Statgehilfen::Statgehilfen(unsigned anzahl) {
    // Signals such as Ctrl-C belong to the host's thread.
    sigset_t alle, vorher;
    sigfillset(&alle);
    pthread_sigmask(SIG_SETMASK, &alle, &vorher);
    try {
        for (unsigned i = 0; i < anzahl; ++i) threads_.emplace_back([this] { arbeite(); });
    } catch (const std::system_error&) {
        // Fewer helpers, or none: the calling thread does the rest.
    }
    pthread_sigmask(SIG_SETMASK, &vorher, nullptr);
}

Statgehilfen::~Statgehilfen() {
    {
        const std::lock_guard<std::mutex> sperre(mutex_);
        ende_ = true;
    }
    arbeit_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void Statgehilfen::führe_aus(int dirfd, std::span<Datenabfrage> abfragen, int flags) {
    if (threads_.empty() || abfragen.size() < kleinster_geteilter_auftrag) {
        for (Datenabfrage& a : abfragen) stat_abfrage(dirfd, a, flags);
        return;
    }
    std::uint32_t auftrag = 0;
    {
        const std::lock_guard<std::mutex> sperre(mutex_);
        auftrag = ++auftrag_;
        dirfd_ = dirfd;
        flags_ = flags;
        abfragen_ = abfragen;
        beantwortet_.store(0, std::memory_order_relaxed);
        nächste_.store(std::uint64_t{auftrag} << 32, std::memory_order_release);
    }
    arbeit_.notify_all();
    bearbeite(auftrag, dirfd, flags, abfragen);
    // Only requests a helper has taken can still be open.
    for (std::size_t b; (b = beantwortet_.load(std::memory_order_acquire)) != abfragen.size();)
        beantwortet_.wait(b, std::memory_order_acquire);
}

void Statgehilfen::arbeite() {
    std::uint32_t gesehen = 0;
    for (;;) {
        int dirfd = -1, flags = 0;
        std::span<Datenabfrage> abfragen;
        std::uint32_t auftrag = 0;
        {
            std::unique_lock<std::mutex> sperre(mutex_);
            arbeit_.wait(sperre, [&] { return ende_ || auftrag_ != gesehen; });
            if (ende_) return;
            gesehen = auftrag = auftrag_;
            dirfd = dirfd_;
            flags = flags_;
            abfragen = abfragen_;
        }
        bearbeite(auftrag, dirfd, flags, abfragen);
    }
}

void Statgehilfen::bearbeite(std::uint32_t auftrag, int dirfd, int flags,
                             std::span<Datenabfrage> abfragen) {
    std::uint64_t stand = nächste_.load(std::memory_order_acquire);
    for (;;) {
        const std::size_t von = static_cast<std::uint32_t>(stand);
        if (static_cast<std::uint32_t>(stand >> 32) != auftrag || von >= abfragen.size()) return;
        const std::size_t bis = std::min(von + stück, abfragen.size());
        if (!nächste_.compare_exchange_weak(stand, stand + (bis - von), std::memory_order_acq_rel))
            continue;
        for (std::size_t i = von; i < bis; ++i) stat_abfrage(dirfd, abfragen[i], flags);
        if (beantwortet_.fetch_add(bis - von, std::memory_order_acq_rel) + (bis - von) ==
            abfragen.size())
            beantwortet_.notify_one();
        stand = nächste_.load(std::memory_order_acquire);
    }
}

}  // namespace tarvendo
