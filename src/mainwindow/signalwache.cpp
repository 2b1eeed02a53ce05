#include "mainwindow/signalwache.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>

#include <cerrno>

namespace tarvendo {

namespace {

// The handler may only write a byte; the event loop reads it.
int paar[2] = {-1, -1};

extern "C" void bei_signal(int) {
    const int fehler = errno;
    const char byte = 1;
    (void)!::write(paar[0], &byte, 1);
    errno = fehler;
}

}  // namespace

Signalwache::Signalwache(std::function<void()> schließen) : schließen_(std::move(schließen)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, paar) != 0) return;
    melder_ = std::make_unique<QSocketNotifier>(paar[1], QSocketNotifier::Read);
    QObject::connect(melder_.get(), &QSocketNotifier::activated, [this] {
        char puffer[16];
        while (::read(paar[1], puffer, sizeof puffer) > 0) {
        }
        schließen_();
    });
    struct sigaction aktion {};
    aktion.sa_handler = bei_signal;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &aktion, nullptr);
}

Signalwache::~Signalwache() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &standard, nullptr);
    melder_.reset();
    for (int& fd : paar)
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
}

}  // namespace tarvendo
