#!/bin/bash
# Installs what is missing, builds everything and runs every test: the full
# build, then the engine again under AddressSanitizer and UBSan. Fails unless
# both runs end normally and every registered test ran and passed; the last
# line is always the count.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

# One layout for all code, as .clang-format describes it; checked first, as it
# takes a second.
find src tests bench werkzeuge \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVENDO_WERROR=ON -DTARVENDO_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVENDO_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DTARVENDO_SANITIZE=ON -DTARVENDO_TESTS=ON -DTARVENDO_GUI=OFF -DTARVENDO_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"

status=0
passed=0
failed=0

# ctest in build directory $1. Its exit status is taken directly, not through
# a pipe; a run that ends without its summary, or with fewer tests than the
# build registered, counts as failed.
laufe_ctest() {
    local verzeichnis=$1 registriert rc=0 zeile ran f
    registriert=$(ctest --test-dir "$verzeichnis" -N | sed -n 's/^Total Tests: \([0-9]*\)$/\1/p') || true
    ctest --test-dir "$verzeichnis" --output-on-failure --no-tests=error --timeout 900 \
        -j "$jobs" >"$log" 2>&1 || rc=$?
    cat "$log"
    zeile=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1:\2/p' "$log")
    f=${zeile%%:*}
    ran=${zeile##*:}
    if [ -z "$zeile" ]; then
        echo "$verzeichnis: ctest ended without a summary (exit status $rc)"
        f=${registriert:-0}
        ran=$f
    fi
    failed=$((failed + f))
    passed=$((passed + ran - f))
    if [ "$rc" -ne 0 ] || [ "$f" -ne 0 ]; then
        status=1
    fi
    if [ -z "$registriert" ] || [ "$registriert" -eq 0 ] || [ "$ran" -lt "$registriert" ]; then
        echo "$verzeichnis: ${ran} of ${registriert:-0} registered tests ran"
        failed=$((failed + ${registriert:-0} - ran))
        [ "${registriert:-0}" -gt 0 ] || failed=$((failed + 1))
        status=1
    fi
}

laufe_ctest build
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 laufe_ctest build-asan

echo "Tests: $passed passed, $failed failed"
exit "$status"
