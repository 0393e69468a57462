#!/usr/bin/env bash
# Builds the save benchmark in Release, runs it and prints one line per output size:
#   WxH writejpeg_ms=.. limit_ms=.. imagemagick_ms=.. ratio_limit=.. ratio_imagemagick=..
# Installs what it needs (Debian 12). Arguments go to the benchmark program, for example
# --out=/dev/shm/zv (where the files are written) or --benchmark_filter=2592x1728.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}" libbenchmark-dev imagemagick

build="$root/build/bench"
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEVUVORA_BENCH=ON >/dev/null
fi
cmake --build "$build" -j2 --target zv_save_bench >&2

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/zv_save_bench" "$@"
