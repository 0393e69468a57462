#!/usr/bin/env bash
# WriteJpeg of two builds on the same frames, measured in turns so that a busy machine weighs on
# both alike (A B, then B A, ...):
#   bench/compare.sh A B [--rounds=N] [benchmark flags, e.g. --out=/dev/shm/zv]
# A and B are checkouts or build directories (see build.sh), for example the main checkout and a
# branch's worktree. Each round runs the writejpeg column of both programs, size by size (3 x 5
# runs each); default 3 rounds, take more on a shared machine. Prints one line per output size:
#   WxH a_ms=.. b_ms=.. b_over_a=.. round_ratios=LOW..HIGH
# a_ms and b_ms are the medians over the rounds of each round's median; b_over_a is their ratio;
# round_ratios is the spread of the rounds' own B/A ratios: a difference inside it is noise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if (($# < 2)); then
    sed -n '2,10p' "$0" >&2
    exit 2
fi
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}" "${ZV_BENCH_PACKAGES[@]}"

builds=("$1" "$2")
shift 2
rounds=3
args=()
for arg in "$@"; do
    case $arg in
        --rounds=*) rounds=${arg#--rounds=} ;;
        *) args+=("$arg") ;;
    esac
done
programs=()
for build in "${builds[@]}"; do
    programs+=("$("$root/bench/build.sh" "$build")")
done

results=$(mktemp -d "${TMPDIR:-/tmp}/zv-compare.XXXXXX")
trap 'rm -rf "$results"' EXIT
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "a: ${programs[0]}"
echo "b: ${programs[1]}"
# Turns are taken per output size, so that A and B of one size run seconds apart.
# (The program lists its benchmarks where its table goes: on stderr.)
mapfile -t sizes < <("${programs[0]}" --benchmark_list_tests --benchmark_filter='^writejpeg/' \
    2>&1 >/dev/null | grep '^writejpeg/' | cut -d/ -f2)
for ((round = 0; round < rounds; ++round)); do
    order=(0 1)
    ((round % 2 == 0)) || order=(1 0)
    for size in "${sizes[@]}"; do
        for which in "${order[@]}"; do
            out="$results/$which-$round-$size"
            "${programs[$which]}" "${args[@]}" --benchmark_filter="^writejpeg/$size/" \
                --benchmark_out="$out.csv" --benchmark_out_format=csv >/dev/null 2>"$out.log" || {
                cat "$out.log" >&2
                exit 1
            }
        done
    done
done

# Each CSV (named WHICH-ROUND-SIZE.csv) holds "writejpeg/WxH/...real_time_median",count,real_ms,...;
# a and b are kept per size and round, then the medians and the spread of the per-round ratios
# are printed.
awk -F, '
    function median(list, n,    sorted, i, j, t) {
        for (i = 1; i <= n; ++i) sorted[i] = list[i]
        for (i = 2; i <= n; ++i)
            for (j = i; j > 1 && sorted[j - 1] > sorted[j]; --j) {
                t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
            }
        return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
    }
    FNR == 1 { n = split(FILENAME, part, "/"); split(part[n], id, "[-.]") }
    $1 ~ /_median"$/ {
        name = $1; gsub(/"/, "", name); split(name, field, "/")
        size = field[2]
        time[size, id[1], id[2]] = $3
    }
    END {
        sizes = split(list, order, " ")
        for (s = 1; s <= sizes; ++s) {
            size = order[s]; n = 0; low = 1e9; high = 0
            for (r = 0; r < rounds; ++r) {
                if (!((size, 0, r) in time) || !((size, 1, r) in time)) continue
                ++n; a[n] = time[size, 0, r]; b[n] = time[size, 1, r]
                ratio = b[n] / a[n]
                if (ratio < low) low = ratio
                if (ratio > high) high = ratio
            }
            if (n == 0) continue
            am = median(a, n); bm = median(b, n)
            printf "%s a_ms=%.1f b_ms=%.1f b_over_a=%.3f round_ratios=%.3f..%.3f\n",
                size, am, bm, bm / am, low, high
        }
    }' rounds="$rounds" list="${sizes[*]}" "$results"/*.csv
