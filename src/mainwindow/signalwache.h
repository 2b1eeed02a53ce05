#pragma once
// SIGTERM, SIGHUP and SIGINT ask the window to close, as its close box does:
// a session that ends or a `kill` saves the settings, and during a run the
// close guard turns the first request into a cancel.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tarvendo {

class Signalwache {
public:
    explicit Signalwache(std::function<void()> schließen);
    ~Signalwache();
    Signalwache(const Signalwache&) = delete;
    Signalwache& operator=(const Signalwache&) = delete;

private:
    std::function<void()> schließen_;
    std::unique_ptr<QSocketNotifier> melder_;
};

}  // namespace tarvendo
