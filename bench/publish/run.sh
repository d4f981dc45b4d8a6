#!/usr/bin/env bash
# Publishing benchmark: lunmere-publish against `7z a` with the same settings on one game
# folder (2000 files and a few large ones), alternating which goes first, then a difference
# package for 10 changed files against those files packed alone.
#   bench/publish/run.sh [build dir] [rounds]
# BENCH_SIZE_MIB (default 1024) sets the game's size. Prints every round, the median and the
# spread (min-max) of each, `ratio R` with R = publisher median / 7z median, and the difference
# package's size against the changed files' compressed size.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
size_mib=${BENCH_SIZE_MIB:-1024}
tool=$build/tools/lunmere-publish
[ -x "$tool" ] || { echo "missing $tool (cmake --build $build --target lunmere-publish)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-publish.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "generating a ${size_mib} MiB game: 2000 files and 4 large ones, half text, half random"
python3 - "$work/v1" "$size_mib" <<'PY'
import os, random, sys
root, size = sys.argv[1], int(sys.argv[2]) << 20
rng = random.Random(7)
words = b"tide harbour lantern coast ship rope salt gull anchor wave storm chart".split()
text = b" ".join(rng.choice(words) + str(rng.randrange(1000)).encode() for _ in range(400000))
def content(n):
    half = n // 2
    start = rng.randrange(len(text) - half) if half < len(text) else 0
    return (text * (1 + half // len(text)))[start:start + half] + os.urandom(n - half)
def write(path, n):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content(n))
large = size * 6 // 10
for i in range(4):
    write(f"{root}/Kestrava_Data/large{i}.pak", large // 4)
small = (size - large) // 2000
for i in range(2000):
    n = max(1, int(small * rng.uniform(0.2, 1.8)))
    write(f"{root}/assets/{i % 40:02d}/asset{i:04d}.bin", n)
PY
bytes=$(du -sb "$work/v1" | cut -f1)
settings=(-t7z -m0=lzma2:d=16m:c=32m -mmt=2 -ms=32m -mtm=off -mtc=off -mta=off -scsUTF-8 -bd -bso0 -bsp0)

now() { date +%s.%N; }
publish_once() {
    rm -rf "$work/site"
    local t0; t0=$(now)
    "$tool" game --site "$work/site" --base-url http://127.0.0.1:9 --name Bench 1.0.0="$work/v1" > /dev/null
    echo "$(now) - $t0" | bc -l
}
sevenzip_once() {
    rm -f "$work/ref.7z"
    local t0; t0=$(now)
    (cd "$work/v1" && 7z a "${settings[@]}" "$work/ref.7z" .)
    echo "$(now) - $t0" | bc -l
}
stats() { # median and spread of the numbers given
    printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2;
        printf "median %.2fs spread %.2f-%.2fs", m, v[1], v[NR]}'
}
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

tool_times=(); ref_times=()
for r in $(seq 1 "$rounds"); do
    if [ $((r % 2)) = 1 ]; then
        t=$(publish_once); s=$(sevenzip_once)
    else
        s=$(sevenzip_once); t=$(publish_once)
    fi
    tool_times+=("$t"); ref_times+=("$s")
    printf 'round %d: lunmere-publish %.2fs, 7z a %.2fs\n' "$r" "$t" "$s"
done
pkg=$(stat -c %s "$work/site/game/Bench_1.0.0.7z")
echo "game: $((bytes >> 20)) MiB in $(find "$work/v1" -type f | wc -l) files, package $((pkg >> 20)) MiB"
echo "lunmere-publish: $(stats "${tool_times[@]}") ($(echo "scale=1; $bytes / $(median "${tool_times[@]}") / 1048576" | bc -l) MiB/s)"
echo "7z a:            $(stats "${ref_times[@]}") ($(echo "scale=1; $bytes / $(median "${ref_times[@]}") / 1048576" | bc -l) MiB/s)"
echo "ratio $(echo "scale=3; $(median "${tool_times[@]}") / $(median "${ref_times[@]}")" | bc -l)"

# Version 1.0.1: 10 files changed (two of them large), one removed, one added.
cp -al "$work/v1" "$work/v2"
changed=()
for f in $(cd "$work/v2" && find . -type f -name 'asset*' | sort | awk 'NR % 250 == 1' | head -8) \
         ./Kestrava_Data/large0.pak ./Kestrava_Data/large3.pak; do
    rm "$work/v2/$f"
    head -c "$(stat -c %s "$work/v1/$f")" /dev/urandom > "$work/v2/$f"
    changed+=("$f")
done
rm "$work/v2/assets/39/asset1999.bin"
echo "a new file" > "$work/v2/assets/new.txt"
changed+=(./assets/new.txt)
rm -rf "$work/site"
t0=$(now)
"$tool" game --site "$work/site" --base-url http://127.0.0.1:9 --name Bench 1.0.0="$work/v1" \
    1.0.1="$work/v2" > /dev/null
t=$(echo "$(now) - $t0" | bc -l)
diff=$(stat -c %s "$work/site/game/Bench_1.0.0_1.0.1.7z")
(cd "$work/v2" && 7z a "${settings[@]}" "$work/changed.7z" "${changed[@]}")
alone=$(stat -c %s "$work/changed.7z")
changed_bytes=$(cd "$work/v2" && du -cb "${changed[@]}" | tail -1 | cut -f1)
printf 'difference package (10 changed, 1 added, 1 removed, %d MiB of files): %d bytes; the changed files packed alone: %d bytes; ratio %s; publishing 1.0.0 and 1.0.1 took %.2fs\n' \
    $((changed_bytes >> 20)) "$diff" "$alone" "$(echo "scale=4; $diff / $alone" | bc -l)" "$t"
