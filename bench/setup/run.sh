#!/usr/bin/env bash
# Extraction benchmark: the setup worker (7z.so through our client objects) against the
# `7z x` command on the same packages, a 7z and a zip made from the same content.
#   bench/setup/run.sh [build dir] [rounds]
# Prints per-round figures, the worker's peak RSS, and per format `ratio R` with
# R = worker throughput / `7z x` throughput (unpacked bytes per second).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-2}
size_mib=${BENCH_SIZE_MIB:-256}
bin=$build/bench/bench_setup
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_setup)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-setup.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/content/Kestrava_Data/Managed/Metadata" "$work/content/bin" "$work/content/text"

echo "generating ${size_mib} MiB of content (half random, half text)"
half=$((size_mib / 2))
for i in $(seq 1 8); do
    head -c $((half * 1024 * 1024 / 8)) /dev/urandom > "$work/content/bin/asset$i.bin"
done
for i in $(seq 1 4); do
    { yes "Lunmere test line $i with some repeated words to compress" || true; } |
        head -c $((half * 1024 * 1024 / 4)) > "$work/content/text/log$i.txt"
done
echo metadata > "$work/content/Kestrava_Data/Managed/Metadata/global-metadata.dat"
(cd "$work/content" && 7z a -bd -mx1 "$work/pkg.7z" . > /dev/null && 7z a -bd -tzip -mx1 "$work/pkg.zip" . > /dev/null)

for fmt in 7z zip; do
    engine_sum=0; tool_sum=0
    for r in $(seq 1 "$rounds"); do
        rm -rf "$work/engine" "$work/tool"; mkdir -p "$work/engine" "$work/tool"
        cp "$work/pkg.$fmt" "$work/engine/"
        line=$("$bin" "$work/engine" "pkg.$fmt" | tee /dev/stderr | head -1)
        s=$(echo "$line" | awk '{print $2}')
        t0=$(date +%s.%N)
        7z x -bd -y -o"$work/tool" "$work/pkg.$fmt" > /dev/null
        t1=$(date +%s.%N)
        t=$(echo "$t1 - $t0" | bc -l)
        diff -r "$work/engine" "$work/tool" > /dev/null || { echo "contents differ" >&2; exit 1; }
        echo "$fmt round $r: worker ${s}s, 7z x ${t}s"
        engine_sum=$(echo "$engine_sum + $s" | bc -l); tool_sum=$(echo "$tool_sum + $t" | bc -l)
    done
    echo "$fmt ratio $(echo "scale=3; $tool_sum / $engine_sum" | bc -l)"
done
