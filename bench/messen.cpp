// Runs a command several times with its standard output discarded and prints
// the best wall-clock time and the highest peak resident memory:
//   tarvendo-messen RUNS COMMAND [ARGS...]
// Output: "<best milliseconds> <peak kilobytes>".

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

extern char** environ;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("Aufruf: tarvendo-messen RUNS COMMAND [ARGS...]\n", stderr);
        return 2;
    }
    const int läufe = std::atoi(argv[1]);
    double beste = -1;
    long spitze = 0;
    for (int i = 0; i < läufe; ++i) {
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_addopen(&aktionen, 1, "/dev/null", O_WRONLY, 0);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[2], &aktionen, nullptr, argv + 2, environ) != 0) {
            std::perror(argv[2]);
            return 1;
        }
        int status = 0;
        rusage nutzung{};
        ::wait4(pid, &status, 0, &nutzung);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        posix_spawn_file_actions_destroy(&aktionen);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s: Exit-Status %d\n", argv[2], status);
            return 1;
        }
        if (beste < 0 || ms < beste) beste = ms;
        if (nutzung.ru_maxrss > spitze) spitze = nutzung.ru_maxrss;
    }
    std::printf("%.1f %ld\n", beste, spitze);
    return 0;
}
