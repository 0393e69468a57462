#!/usr/bin/env bash
# Scan-to-file latency through the real uvcvideo driver: builds the latency program in Release
# (build/latency) and runs the scan_latency_bench test with it in the uvcbench VM
# (../shared/uvcbench), which presents the scanner with its still size and paces its frames:
#   bench/scan_latency.sh [--scans=N]     (default 5 scans per output size)
# Prints one line per scan and the medians per output size; the whole CTest output goes to
# build/latency/scan_latency.log. The VM emulates its processor (CPU-bound work about 3 times
# slower than on the host), which weighs on the save and the preview's decoding above all.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}" "${ZV_TEST_PACKAGES[@]}"

scans=5
for arg in "$@"; do
    case $arg in
        --scans=*) scans=${arg#--scans=} ;;
        *) echo "scan_latency.sh: unknown argument $arg" >&2; exit 2 ;;
    esac
done
build="$root/build/latency"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEVUVORA_TESTS=ON >/dev/null
fi
cmake --build "$build" -j2 --target scan_latency_bench_test >&2

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
ZV_LATENCY_SCANS=$scans ctest --test-dir "$build" -R '^scan_latency_bench$' -V --timeout 600 \
    >"$build/scan_latency.log" 2>&1 || status=$?
grep -E ': scan-to-file|medians of' "$build/scan_latency.log" | sed 's/^[0-9]*: //' || true
if ((status != 0)) || grep -q 'Skipped' "$build/scan_latency.log"; then
    echo "scan_latency.sh: the test did not pass (status $status); see $build/scan_latency.log" >&2
    exit 1
fi
