#!/usr/bin/env bash
# Large-file patch benchmark.
# 1. A 1 GiB pack (incompressible, as packed assets are) with three 4 KiB edits and a 64 KiB
#    block inserted in the middle: the launcher's applier against `zstd -d --patch-from` on the
#    same file, alternating which goes first; wall time and peak resident memory, median and
#    spread.
# 2. A 3 GiB pack (sparse, with real data at several places) with a 4 KiB edit across a
#    segment border: the patch's bytes, one apply's time and peak memory, and what a launcher
#    from before segments does with it (OLD_APPLY=path of its bench_patchapply, optional).
# Files are made below BENCH_TMPDIR (default /tmp) and removed at the end; at most about
# 3 GiB of them exist at once.
#   bench/bigpatch/run.sh [build dir] [rounds]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
make=$build/bench/bench_bigpatch
apply=$build/bench/bench_patchapply
for b in "$make" "$apply"; do
    [ -x "$b" ] || { echo "missing $b (cmake --build $build --target bench_bigpatch bench_patchapply)" >&2; exit 1; }
done
command -v zstd > /dev/null || { echo "missing zstd (tools/install-deps)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (tools/install-deps)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-bigpatch.XXXXXX")
trap 'rm -rf "$work"' EXIT
mib=${BENCH_BIG_MIB:-1024}

# noise SEED BYTES: incompressible bytes, the same for the same seed.
noise() { { openssl enc -aes-128-ctr -pass "pass:$1" -nosalt -pbkdf2 < /dev/zero 2> /dev/null || true; } | head -c "$2"; }
# edit FILE OFFSET BYTES SEED: BYTES of other data written over FILE at OFFSET.
edit() { noise "$4" "$3" | dd of="$1" bs=1M seek="$2" oflag=seek_bytes conv=notrunc status=none; }
stats() {
    printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2;
        printf "median %.3f spread %.3f-%.3f", m, v[1], v[NR]}'
}
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
timed() { # command... -> "seconds peak-MiB"
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null
    awk '{printf "%s %.1f\n", $1, $2 / 1024}' "$work/time"
}

echo "1. ${mib} MiB pack, three 4 KiB edits and a 64 KiB block inserted"
mkdir -p "$work/v1" "$work/v2"
noise old $((mib << 20)) > "$work/v1/pack.pak"
half=$((mib << 19))
{ head -c "$half" "$work/v1/pack.pak"
  noise inserted 65536
  tail -c +$((half + 1)) "$work/v1/pack.pak"; } > "$work/v2/pack.pak"
for at in 4096 $((mib << 18)) $(((mib << 20) - 100000)); do edit "$work/v2/pack.pak" "$at" 4096 "e$at"; done
# built PACKAGE OLD NEW: builds the patch, prints its bytes, the time and the peak memory.
built() {
    /usr/bin/time -f '%M' -o "$work/time" "$make" "$2" "$3" "$1" > "$work/built"
    read -r bytes seconds < "$work/built"
    printf 'patch package %s bytes (built in %ss, peak RSS %.1f MiB)' "$bytes" "$seconds" \
        "$(awk '{print $1 / 1024}' "$work/time")"
}
built "$work/1_2.patch" "$work/v1" "$work/v2"
zstd -q -3 --long=31 --patch-from="$work/v1/pack.pak" "$work/v2/pack.pak" -o "$work/ref.zst"
echo ", zstd --patch-from $(stat -c %s "$work/ref.zst") bytes"
want=$(sha256sum < "$work/v2/pack.pak")
rm -rf "$work/v2"

ours_once() {
    rm -rf "$work/game"; mkdir "$work/game"
    # The applier only reads its base and renames the new file over it: a link will do.
    ln "$work/v1/pack.pak" "$work/game/pack.pak"
    timed "$apply" "$work/game" "$work/1_2.patch"
    [ "$(sha256sum < "$work/game/pack.pak")" = "$want" ] || { echo "applied file differs" >&2; exit 1; }
    rm -rf "$work/game"
}
zstd_once() {
    timed zstd -q -f -d --long=31 --patch-from="$work/v1/pack.pak" "$work/ref.zst" -o "$work/out"
    [ "$(sha256sum < "$work/out")" = "$want" ] || { echo "zstd output differs" >&2; exit 1; }
    rm -f "$work/out"
}
ot=(); om=(); zt=(); zm=()
for r in $(seq 1 "$rounds"); do
    if [ $((r % 2)) = 1 ]; then a=$(ours_once); z=$(zstd_once); else z=$(zstd_once); a=$(ours_once); fi
    read -r t m <<< "$a"; ot+=("$t"); om+=("$m")
    read -r t m <<< "$z"; zt+=("$t"); zm+=("$m")
    printf 'round %d: patch apply %ss %s MiB, zstd -d --patch-from %ss %s MiB\n' "$r" $a $z
done
echo "patch apply time (s):          $(stats "${ot[@]}")"
echo "zstd -d --patch-from time (s): $(stats "${zt[@]}")"
echo "patch apply peak RSS (MiB):    $(stats "${om[@]}")"
echo "zstd peak RSS (MiB):           $(stats "${zm[@]}")"
echo "speed ratio (zstd time / apply time) $(echo "scale=3; $(median "${zt[@]}") / $(median "${ot[@]}")" | bc -l)"
rm -rf "$work/v1" "$work/ref.zst" "$work/1_2.patch"

echo "2. 3 GiB sparse pack, 4 KiB edit across a segment border"
mkdir -p "$work/w1" "$work/w2"
truncate -s 3G "$work/w1/pack.pak"
for at in 0 700 1500 2300 3000; do edit "$work/w1/pack.pak" $((at << 20)) $((8 << 20)) "s$at"; done
cp --sparse=always "$work/w1/pack.pak" "$work/w2/pack.pak"
edit "$work/w2/pack.pak" $(((1536 << 20) - 2048)) 4096 border
built "$work/big.patch" "$work/w1" "$work/w2"
echo
want=$(sha256sum < "$work/w2/pack.pak")
rm -rf "$work/w2"
mkdir "$work/game"; ln "$work/w1/pack.pak" "$work/game/pack.pak"
if [ -n "${OLD_APPLY:-}" ]; then
    if "$OLD_APPLY" "$work/game" "$work/big.patch" > /dev/null 2> "$work/old.err"; then
        echo "the launcher from before segments applied the patch" >&2; exit 1
    fi
    [ "$(stat -c %i "$work/game/pack.pak")" = "$(stat -c %i "$work/w1/pack.pak")" ] &&
        [ -z "$(find "$work/game" -name '*.lunpatch' -o -name '.lunmere-patch.json')" ] ||
        { echo "the launcher from before segments changed the game" >&2; exit 1; }
    echo "launcher from before segments: refused ($(cat "$work/old.err")), game unchanged"
fi
read -r t m < <(timed "$apply" "$work/game" "$work/big.patch")
[ "$(sha256sum < "$work/game/pack.pak")" = "$want" ] || { echo "applied file differs" >&2; exit 1; }
echo "patch apply: ${t}s, peak RSS ${m} MiB"
