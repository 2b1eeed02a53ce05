#include "support/stopwatch.h"

#include <ctime>

namespace tarvendo {

CStopWatch::CStopWatch() : CStopWatch(&CStopWatch::systemuhr) {}

CStopWatch::CStopWatch(Uhr uhr) : uhr_(std::move(uhr)), start_(uhr_()) {}

std::int32_t CStopWatch::Elapsed() const {
    const std::uint32_t differenz = uhr_() - start_;  // modulo 2^32
    return static_cast<std::int32_t>(differenz);
}

void CStopWatch::Reset() {
    start_ = uhr_();
}

std::uint32_t CStopWatch::systemuhr() {
    timespec jetzt{};
    clock_gettime(CLOCK_MONOTONIC, &jetzt);
    const auto ms = static_cast<std::uint64_t>(jetzt.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(jetzt.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

}  // namespace tarvendo
