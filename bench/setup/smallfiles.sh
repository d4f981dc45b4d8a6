#!/usr/bin/env bash
# Many small files: the setup worker (7z.so through our client objects) against `7z x` on the
# same 7z package, in alternating order, each round in fresh folders.
#   bench/setup/smallfiles.sh [build dir] [rounds] [files]
# Prints per-round times, then the median and spread of each, and
# `ratio R` with R = median `7z x` time / median worker time (1.0: as fast as `7z x`).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
files=${3:-20000}
bin=$build/bench/bench_setup
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_setup)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-small.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "generating $files small files"
python3 - "$work/content" "$files" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(7)
for i in range(count):
    folder = os.path.join(root, "d%03d" % (i % 200), "s%02d" % (i % 7))
    os.makedirs(folder, exist_ok=True)
    size = rng.choice([0, 60, 300, 1200, 4000, 9000])
    with open(os.path.join(folder, "f%05d.dat" % i), "wb") as f:
        f.write(bytes(rng.getrandbits(8) for _ in range(size // 4)) * 4)
PY
(cd "$work/content" && 7z a -bd -mx1 "$work/pkg.7z" . > /dev/null)

engine_times=(); tool_times=()
# Each run starts from fresh folders with the disk quiet: deleting the last round's 20,000
# files and writing them back would otherwise land on whichever run comes first.
settle() { rm -rf "$work/engine" "$work/tool"; mkdir -p "$work/engine" "$work/tool"; sync; }
run_engine() {
    settle; cp "$work/pkg.7z" "$work/engine/"; sync
    local line; line=$("$bin" "$work/engine" pkg.7z | head -1)
    engine_times+=("$(echo "$line" | awk '{print $2}')")
}
run_tool() {
    settle
    local t0 t1; t0=$(date +%s.%N)
    7z x -bd -y -o"$work/tool" "$work/pkg.7z" > /dev/null
    t1=$(date +%s.%N)
    tool_times+=("$(echo "$t1 - $t0" | bc -l)")
}
# The worker must unpack exactly what 7z x does.
run_engine; mkdir -p "$work/check"; mv "$work/engine" "$work/check/engine"; run_tool
diff -r "$work/check/engine" "$work/tool" > /dev/null || { echo "contents differ" >&2; exit 1; }
rm -rf "$work/check"; engine_times=(); tool_times=()
for r in $(seq 1 "$rounds"); do
    if (( r % 2 )); then run_engine; run_tool; else run_tool; run_engine; fi
    printf 'round %d: worker %.3fs, 7z x %.3fs\n' "$r" "${engine_times[-1]}" "${tool_times[-1]}"
done
stats() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {m=(NR%2)?v[(NR+1)/2]:(v[NR/2]+v[NR/2+1])/2; printf "%.3f %.3f", m, v[NR]-v[1]}'; }
read -r em es <<< "$(stats "${engine_times[@]}")"
read -r tm ts <<< "$(stats "${tool_times[@]}")"
echo "worker median ${em}s spread ${es}s; 7z x median ${tm}s spread ${ts}s"
echo "ratio $(echo "scale=3; $tm / $em" | bc -l)"
