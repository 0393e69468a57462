#!/usr/bin/env bash
# Builds the save benchmark of one build and prints the program's path:
#   bench/build.sh [PATH]
# PATH is a checkout (its build/bench is configured in Release the first time) or a configured
# build directory; default: this checkout. Build output goes to stderr.
set -euo pipefail
target=${1:-$(cd "$(dirname "$0")/.." && pwd)}
target=$(cd "$target" && pwd)
if [[ -f "$target/build.ninja" || -f "$target/CMakeCache.txt" ]]; then
    build=$target
elif [[ -f "$target/CMakeLists.txt" ]]; then
    build=$target/build/bench
    if [[ ! -f "$build/CMakeCache.txt" ]]; then
        cmake -S "$target" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DZEVUVORA_BENCH=ON >/dev/null
    fi
else
    echo "build.sh: $target is neither a checkout nor a build directory" >&2
    exit 2
fi
if ! grep -q '^ZEVUVORA_BENCH:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "build.sh: $build is not configured with -DZEVUVORA_BENCH=ON" >&2
    exit 2
fi
grep -q '^CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" ||
    echo "build.sh: warning: $build is not a Release build; its times are not comparable" >&2
cmake --build "$build" -j2 --target zv_save_bench >&2
echo "$build/bench/zv_save_bench"
