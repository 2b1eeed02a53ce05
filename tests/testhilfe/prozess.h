#pragma once
// Runs a built program for end-to-end tests, its output going to files in
// the scratch directory.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "testhilfe/tempverzeichnis.h"

namespace tarvendo::test {

struct Prozessausgabe {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string aus, fehler;
};

// Standard output goes to ausgabe when given (e.g. /dev/full).
inline pid_t starte_prozess(const TempVerzeichnis& tmp, std::string programm,
                            std::vector<std::string> argumente, std::string ausgabe = "") {
    std::vector<char*> argv{programm.data()};
    for (std::string& a : argumente) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string aus = ausgabe.empty() ? tmp / "stdout" : ausgabe, fehler = tmp / "stderr";
    // Opened before the fork, so the files are there even for a child killed at once.
    const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
    const int fd_aus = ::open(aus.c_str(), flags, 0600),
              fd_fehler = ::open(fehler.c_str(), flags, 0600);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fd_aus, 1);
        ::dup2(fd_fehler, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fd_aus);
    ::close(fd_fehler);
    return pid;
}

// Waits for pid and collects what it wrote.
inline Prozessausgabe warte_auf(const TempVerzeichnis& tmp, pid_t pid) {
    Prozessausgabe ausgabe;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        ausgabe.status = WEXITSTATUS(status);
    ausgabe.aus = existiert(tmp / "stdout") ? lies_datei(tmp / "stdout") : "";
    ausgabe.fehler = lies_datei(tmp / "stderr");
    return ausgabe;
}

}  // namespace tarvendo::test
