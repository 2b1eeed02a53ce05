#pragma once
// SIGTERM, SIGHUP and SIGINT end the session: a session that ends or a
// `kill` saves the settings; a run is cancelled first, and the window closes
// once it has stopped.

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
