#!/usr/bin/env bash
# Builds the save benchmark in Release, runs it and prints one line per output size:
#   WxH writejpeg_ms=.. decode_floor_ms=.. limit_ms=.. vips_ms=.. imagemagick_ms=..
#       ratio_floor=.. ratio_limit=.. ratio_vips=.. ratio_imagemagick=..
# Installs what it needs (Debian 12). --build=PATH runs the benchmark of another checkout or
# build directory (see build.sh); the other arguments go to the benchmark program, for example
# --out=/dev/shm/zv (where the files are written) or --benchmark_filter=2592x1728.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}" "${ZV_BENCH_PACKAGES[@]}"

build=$root
args=()
for arg in "$@"; do
    case $arg in
        --build=*) build=${arg#--build=} ;;
        *) args+=("$arg") ;;
    esac
done
program=$("$root/bench/build.sh" "$build")

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "program: $program"
"$program" "${args[@]}"
