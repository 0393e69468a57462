#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# the whole test suite with CTest. Extra arguments go to ctest (for example: -L capture).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}" "${ZV_TEST_PACKAGES[@]}"

build="$root/build/test"
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZEVUVORA_SANITIZE=address,undefined -DZEVUVORA_TESTS=ON >/dev/null
fi
cmake --build "$build" -j2
ctest --test-dir "$build" -j2 --output-on-failure --timeout 300 "$@"
