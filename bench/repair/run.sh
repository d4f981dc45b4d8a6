#!/usr/bin/env bash
# Game check and repair benchmark.
#   bench/repair/run.sh [build dir] [rounds]
# 1. Checks a game of BENCH_FILES files (2000) and BENCH_SIZE_MIB MiB (1024) with the launcher's
#    verifier and with `sha256sum` over the same files, alternating which goes first; prints each
#    round, then the median and the spread of ratio = verifier time / sha256sum time.
# 2. Publishes that game with lunmere-publish, serves it on 127.0.0.1, damages 10 files and
#    repairs them: prints the time and the bytes downloaded.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
files=${BENCH_FILES:-2000}
size_mib=${BENCH_SIZE_MIB:-1024}
bin=$build/bench/bench_repair
publish=$build/tools/lunmere-publish
for b in "$bin" "$publish"; do
    [ -x "$b" ] || { echo "missing $b (cmake --build $build --target bench_repair lunmere-publish)" >&2; exit 1; }
done

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-repair.XXXXXX")
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
game=$work/release/1.0.0

echo "generating $files files, $size_mib MiB"
python3 - "$game" "$files" "$size_mib" <<'PY'
import os, random, sys
root, count, mib = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(7)
# Many small files and a few large ones, as games ship them.
weights = [rng.paretovariate(1.2) for _ in range(count)]
total = mib * 1024 * 1024
sizes = [max(1, int(w / sum(weights) * total)) for w in weights]
sizes[0] += total - sum(sizes)
for i, size in enumerate(sizes):
    path = os.path.join(root, "Kestrava_Data", "d%02d" % (i % 40), "asset%04d.bin" % i)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        while size:
            n = min(size, 1 << 22)
            f.write(os.urandom(n))
            size -= n
PY
"$bin" list "$game" "$work/list.json"
(cd "$game" && find . -type f -print0 | sort -z) > "$work/files0"

ours() { "$bin" verify "$game" "$work/list.json" | awk '{print $2}'; }
theirs() {
    local t0 t1
    t0=$(date +%s.%N)
    (cd "$game" && xargs -0 sha256sum < "$work/files0" > /dev/null)
    t1=$(date +%s.%N)
    echo "$t1 - $t0" | bc -l
}
# Warm the page cache once, so both read from memory in every round.
ours > /dev/null; theirs > /dev/null
ratios=()
for r in $(seq 1 "$rounds"); do
    if (( r % 2 )); then a=$(ours); b=$(theirs); else b=$(theirs); a=$(ours); fi
    ratio=$(echo "$a / $b" | bc -l)
    ratios+=("$ratio")
    printf 'round %d: verifier %.3f s, sha256sum %.3f s, ratio %.3f\n' "$r" "$a" "$b" "$ratio"
done
printf '%s\n' "${ratios[@]}" | sort -g | awk '{v[NR]=$1} END {
    m = (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2
    printf "verify ratio (verifier/sha256sum): median %.3f, spread %.3f..%.3f over %d rounds\n", m, v[1], v[NR], NR }'

echo "publishing (7z packing of the whole game)"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
base=http://127.0.0.1:$port
t0=$(date +%s.%N)
"$publish" game --site "$work/site" --base-url "$base" --name Orvyndale --entry Kestrava \
    --web-url "$base/web" 1.0.0="$game" > /dev/null
t1=$(date +%s.%N)
printf 'published in %.1f s, package %d bytes\n' "$(echo "$t1 - $t0" | bc -l)" \
    "$(stat -c %s "$work/site/game/Orvyndale_1.0.0.7z")"
"$publish" serve --site "$work/site" --port "$port" > "$work/serve.log" 2>&1 &
server=$!
sleep 1

cp -a "$game" "$work/installed"
# Ten damaged files: five deleted, five with one changed byte.
mapfile -t victims < <(cd "$work/installed" && find . -type f | sort | awk 'NR % 199 == 3' | head -10)
for i in "${!victims[@]}"; do
    f=$work/installed/${victims[$i]}
    if (( i < 5 )); then rm "$f"; else printf '\x00' | dd of="$f" bs=1 seek=0 conv=notrunc status=none; fi
done
echo "[services]" > "$work/config.ini"
echo "report_url=$base" >> "$work/config.ini"
"$bin" repair "$work/installed" "$work/site/zt7q_cn/xsk/launcher/api/resource" "$work/config.ini" 2> "$work/repair.log" |
    awk '{printf "repair of 10 damaged files: %.1f s, %d bytes downloaded (the full package and the list), %d checked, %d damaged, %d repaired\n", $2, $4, $6, $8, $10}'
