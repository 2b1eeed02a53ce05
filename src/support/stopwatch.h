#pragma once
// Elapsed wall-clock time in milliseconds.

#include <cstdint>
#include <functional>

namespace tarvendo {

class CStopWatch {
public:
    // A millisecond counter since an arbitrary fixed point, 32 bits wide
    // like the system counter it stands for: it wraps after 2^32 ms.
    using Uhr = std::function<std::uint32_t()>;

    CStopWatch();
    explicit CStopWatch(Uhr uhr);

    // Milliseconds since creation or the last Reset. Across a wrap of the
    // counter the difference is still right; across its passage of 2^31 ms
    // the unsigned difference is read as signed instead of failing.
    [[nodiscard]] std::int32_t Elapsed() const;
    // The multimedia timer's capabilities have no counterpart here: 0.
    [[nodiscard]] std::int32_t MinimumResolution() const { return minimum_; }
    [[nodiscard]] std::int32_t MaximumResolution() const { return maximum_; }
    void Reset();

    // The monotonic system clock in milliseconds, cut to 32 bits.
    [[nodiscard]] static std::uint32_t systemuhr();

private:
    Uhr uhr_;
    std::uint32_t start_ = 0;
    std::int32_t minimum_ = 0;
    std::int32_t maximum_ = 0;
};

}  // namespace tarvendo
