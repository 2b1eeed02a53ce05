#pragma once
// Threads that share the stats of one batch with the calling thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "engine/verzeichnisquelle.h"

namespace tarvendo {

// fstatat of the request's name relative to dirfd (flags: 0 follows links).
void stat_abfrage(int dirfd, Datenabfrage& abfrage, int flags = 0);

// The calling thread never waits for a helper that has not started on its
// batch: it works through the batch itself and waits only for requests a
// helper has already taken. So a busy machine costs no more than one thread.
class Statgehilfen {
public:
    // Starts up to anzahl threads; fewer if the system refuses more.
    explicit Statgehilfen(unsigned anzahl);
    ~Statgehilfen();
    Statgehilfen(const Statgehilfen&) = delete;
    Statgehilfen& operator=(const Statgehilfen&) = delete;

    // Answers every request with fstatat(dirfd, name, flags); returns when
    // all are answered.
    void führe_aus(int dirfd, std::span<Datenabfrage> abfragen, int flags);

private:
    void arbeite();
    // Takes and answers requests of batch number auftrag while there are any.
    void bearbeite(std::uint32_t auftrag, int dirfd, int flags, std::span<Datenabfrage> abfragen);

    std::mutex mutex_;
    std::condition_variable arbeit_;
    std::vector<std::thread> threads_;
    bool ende_ = false;
    // The current batch, written under mutex_ before nächste_ announces it.
    std::uint32_t auftrag_ = 0;
    int dirfd_ = -1;
    int flags_ = 0;
    std::span<Datenabfrage> abfragen_;
    // Batch number (high half) and next request (low half) in one word, so a
    // helper can only take a request of the batch it has read.
    alignas(64) std::atomic<std::uint64_t> nächste_{0};
    alignas(64) std::atomic<std::size_t> beantwortet_{0};
};

}  // namespace tarvendo
