#!/usr/bin/env bash
# Scan-to-file latency through the real uvcvideo driver: builds the latency program of the
# scan_latency_bench test in Release (build/latency) and runs it in the uvcbench VM
# (../shared/uvcbench, or the folder in ZV_UVCBENCH), which presents the scanner's formats and
# paces its frames:
#   bench/scan_latency.sh [--scans=N]     (default 5 scans per output size)
# Prints the stages of every scan and the medians per output size; the whole output goes to
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

# The scanner's formats: previews of 1280 x 960 and 640 x 480 (and a square one for 126 film),
# stills of 5184 x 3888 and 3000 x 3000, 30 frames a second.
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
log="$build/scan_latency.log"
status=0
(cd "$build" && "$root/tests/platform/uvcbench_run.sh" --timeout 900 --pace \
    --mjpeg 1280x960,640x480,720x720,5184x3888,3000x3000 --env "ZV_LATENCY_SCANS=$scans" \
    -- "$build/tests/platform/scan_latency_bench_test") >"$log" 2>&1 || status=$?
grep -E '^135 ' "$log" || true
if ((status != 0)) || ! grep -q '^\[  PASSED  \]' "$log"; then
    echo "scan_latency.sh: the run did not pass (status $status); see $log" >&2
    exit 1
fi
