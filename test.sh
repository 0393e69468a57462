#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# the whole test suite with CTest; then builds the threaded tests (label "tsan") with
# ThreadSanitizer and runs them again. Extra arguments go to the first ctest run (for example:
# -L capture); ZEVUVORA_SKIP_TSAN=1 skips the second run.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}" "${ZV_TEST_PACKAGES[@]}"

configure() {  # <build dir> <sanitizers>
    if [[ ! -f "$1/build.ninja" ]]; then
        # -O1 with line tables: what the sanitizers recommend, and quicker to build than -O2 -g.
        cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
            -DZEVUVORA_SANITIZE="$2" -DZEVUVORA_TESTS=ON >/dev/null
    fi
}

build="$root/build/test"
configure "$build" address,undefined
cmake --build "$build" -j2
ctest --test-dir "$build" -j2 --output-on-failure --timeout 300 "$@"

if [[ "${ZEVUVORA_SKIP_TSAN:-0}" != 1 ]]; then
    tsan="$root/build/tsan"
    configure "$tsan" thread
    cmake --build "$tsan" -j2 --target zv_tsan_tests
    ctest --test-dir "$tsan" -j2 -L tsan --output-on-failure --timeout 300
fi
