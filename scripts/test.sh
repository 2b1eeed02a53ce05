#!/bin/sh
# Installs what is missing, builds everything and runs every test: the full
# build, then the engine again under AddressSanitizer and UBSan.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVENDO_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVENDO_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
      -DTARVENDO_SANITIZE=ON -DTARVENDO_GUI=OFF -DTARVENDO_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"

status=0
ctest --test-dir build --output-on-failure -j "$jobs" 2>&1 | tee -a "$log" || status=1
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" 2>&1 | tee -a "$log" || status=1

passed=0
failed=0
for zeile in $(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1:\2/p' "$log"); do
    f=${zeile%%:*}
    n=${zeile##*:}
    failed=$((failed + f))
    passed=$((passed + n - f))
done
[ "$failed" -eq 0 ] || status=1
echo "Tests: $passed passed, $failed failed"
exit "$status"
