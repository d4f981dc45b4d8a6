#!/usr/bin/env bash
# Unpacking benchmark for the publisher's settings: the launcher's setup worker (7z.so through
# our client objects) unpacks the same game packed with the publisher's settings (LZMA2 in 32 MB
# blocks, 32 MB solid blocks) and packed as one solid LZMA2 stream, alternating, several rounds.
#   bench/publish/unpack.sh [build dir] [rounds]
# BENCH_SIZE_MIB (default 256). Prints every round, the median and spread of each, and
# `ratio R` with R = one-stream median / publisher median (above 1: the publisher's unpack faster).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
size_mib=${BENCH_SIZE_MIB:-256}
bin=$build/bench/bench_setup
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_setup)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-unpack.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "generating a ${size_mib} MiB game"
python3 "$top/bench/publish/makegame.py" "$work/game" "$size_mib"
common=(-t7z -mtm=off -mtc=off -mta=off -bd -bso0 -bsp0)
(cd "$work/game" && 7z a "${common[@]}" -m0=lzma2:d=16m:c=32m -mmt=2 -ms=32m "$work/blocks.7z" .)
(cd "$work/game" && 7z a "${common[@]}" -m0=lzma2:d=16m -mmt=1 -ms=on "$work/solid.7z" .)
echo "packages: blocks $(($(stat -c %s "$work/blocks.7z") >> 20)) MiB, one stream $(($(stat -c %s "$work/solid.7z") >> 20)) MiB"

unpack() {
    rm -rf "$work/out"; mkdir -p "$work/out"
    cp "$work/$1.7z" "$work/out/"
    "$bin" "$work/out" "$1.7z" | head -1 | awk '{print $2}'
}
stats() {
    printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2;
        printf "median %.2fs spread %.2f-%.2fs", m, v[1], v[NR]}'
}
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
b=(); s=()
for r in $(seq 1 "$rounds"); do
    if [ $((r % 2)) = 1 ]; then x=$(unpack blocks); y=$(unpack solid); else y=$(unpack solid); x=$(unpack blocks); fi
    b+=("$x"); s+=("$y")
    printf 'round %d: publisher settings %.2fs, one stream %.2fs\n' "$r" "$x" "$y"
done
echo "publisher settings: $(stats "${b[@]}")"
echo "one stream:         $(stats "${s[@]}")"
echo "ratio $(echo "scale=3; $(median "${s[@]}") / $(median "${b[@]}")" | bc -l)"
