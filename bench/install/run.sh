#!/usr/bin/env bash
# Full install benchmark: today's path (the .7z downloaded, then unpacked by the launcher's
# setup worker through 7z.so) against the per-file store (the .store and the file list
# downloaded, then decoded by the launcher's store unpacker on BENCH_THREADS threads, default
# all cores), end to end, both from nginx on 127.0.0.1 with the same curl. The game is
# bench/publish/makegame.py's (2000 files and four large packs, half text and half random) of
# BENCH_SIZE_MIB MiB (256), published with lunmere-publish. Rounds alternate which goes first;
# prints each round, then median and spread of the times and of ratio = store / 7z.
#   bench/install/run.sh [build dir] [rounds]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
size_mib=${BENCH_SIZE_MIB:-256}
threads=${BENCH_THREADS:-$(nproc)}
publish=$build/tools/lunmere-publish
setup=$build/bench/bench_setup
store=$build/bench/bench_storeinstall
for b in "$publish" "$setup" "$store"; do
    [ -x "$b" ] || { echo "missing $b (cmake --build $build --target lunmere-publish bench_setup bench_storeinstall)" >&2; exit 1; }
done
. "$top/bench/common/nginx.sh"
work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-install.XXXXXX")
nginx_pid=
trap '[ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null; rm -rf "$work"' EXIT

echo "generating a ${size_mib} MiB game"
python3 "$top/bench/publish/makegame.py" "$work/game" "$size_mib"
mkdir -p "$work/www"
echo ok > "$work/www/probe"
bench_nginx_start "$work" "$work/www" /probe
"$publish" game --site "$work/www" --base-url "$base" --name Orvyndale 1.0.0="$work/game" > /dev/null
printf 'full package %d bytes, store %d bytes, file list %d bytes\n' \
    "$(stat -c %s "$work/www/game/Orvyndale_1.0.0.7z")" \
    "$(stat -c %s "$work/www/game/Orvyndale_1.0.0.store")" \
    "$(stat -c %s "$work/www/game/Orvyndale_1.0.0.files.json")"

now() { date +%s.%N; }
sevenzip() {
    rm -rf "$work/i7"; mkdir -p "$work/i7"
    local t0; t0=$(now)
    curl -sf -o "$work/i7/Orvyndale_1.0.0.7z" "$base/game/Orvyndale_1.0.0.7z"
    "$setup" "$work/i7" Orvyndale_1.0.0.7z | tail -1 | grep -qx ok
    echo "$(now) - $t0" | bc -l
}
fromstore() {
    rm -rf "$work/is" "$work/dl"; mkdir -p "$work/is" "$work/dl"
    local t0; t0=$(now)
    curl -sf -o "$work/dl/Orvyndale_1.0.0.files.json" "$base/game/Orvyndale_1.0.0.files.json"
    curl -sf -o "$work/dl/Orvyndale_1.0.0.store" "$base/game/Orvyndale_1.0.0.store"
    "$store" "$work/dl/Orvyndale_1.0.0.store" "$work/dl/Orvyndale_1.0.0.files.json" "$work/is" "$threads" | tail -1 | grep -qx ok
    echo "$(now) - $t0" | bc -l
}
# Both give the game exactly (the 7z path also leaves its package in the folder).
sevenzip > /dev/null; fromstore > /dev/null
rm -f "$work/i7/Orvyndale_1.0.0.7z" # the setup worker removes it once unpacked
diff -r "$work/game" "$work/is" > /dev/null && diff -r "$work/game" "$work/i7" > /dev/null ||
    { echo "the installs differ from the game" >&2; exit 1; }
a7=(); as=(); ratios=()
for r in $(seq 1 "$rounds"); do
    if (( r % 2 )); then a=$(sevenzip); b=$(fromstore); else b=$(fromstore); a=$(sevenzip); fi
    a7+=("$a"); as+=("$b"); ratios+=("$(echo "$b / $a" | bc -l)")
    printf 'round %d: 7z %.3f s, store (%d threads) %.3f s\n' "$r" "$a" "$threads" "$b"
done
stats() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END { m = (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2; printf "median %.3f, spread %.3f..%.3f", m, v[1], v[NR] }'; }
echo "7z install: $(stats "${a7[@]}") s; store install: $(stats "${as[@]}") s over $rounds rounds"
echo "ratio store/7z: $(stats "${ratios[@]}")"
