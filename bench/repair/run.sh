#!/usr/bin/env bash
# Game check and repair benchmark.
#   bench/repair/run.sh [build dir] [rounds]
# 1. Checks a game of BENCH_FILES files (2000) and BENCH_SIZE_MIB MiB (1024) with the launcher's
#    verifier and with `sha256sum` over the same files, alternating which goes first; prints each
#    round, then the median and the spread of ratio = verifier time / sha256sum time.
# 2. Publishes that game with lunmere-publish, serves it on 127.0.0.1, damages 10 files and
#    repairs them: prints the time and the bytes downloaded.
# 3. Ranged repair: a generated game of BENCH_RANGED_MIB MiB (256; 2000 files, four large packs,
#    half text and half random each) published with lunmere-publish and served by nginx; three
#    small files damaged (one deleted, two with a changed byte) and repaired from the per-file
#    store and, in the same round, from the same site without its store (the full package, as
#    an older publisher's site), alternating which goes first. Prints the bytes nginx sent for
#    each against the three files' compressed objects + 1 MiB each + the file list, and the
#    times, with median and spread; then the peak RSS of a ranged repair of one large pack.
# BENCH_RANGED_ONLY=1 runs part 3 alone.
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
nginx_pid=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null; rm -rf "$work"' EXIT
game=$work/release/1.0.0

if [ -z "${BENCH_RANGED_ONLY:-}" ]; then

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
kill "$server" 2>/dev/null; server=
rm -rf "$work/installed" "$work/site" "$game"
fi

# 3. Ranged repair against the full-package repair.
. "$top/bench/common/nginx.sh"
ranged_mib=${BENCH_RANGED_MIB:-256}
echo "generating a ${ranged_mib} MiB game for the ranged repair"
python3 "$top/bench/publish/makegame.py" "$work/rgame" "$ranged_mib"
mkdir -p "$work/www"
echo ok > "$work/www/probe"
bench_nginx_start "$work" "$work/www" /probe "access_log $work/nginx/access.log;
        location /old/ { alias $work/oldsite/; }"
"$publish" game --site "$work/www" --base-url "$base" --name Orvyndale 1.0.0="$work/rgame" > /dev/null
resource=$work/www/zt7q_cn/xsk/launcher/api/resource
# The same release as an older publisher's site: no store, so the launcher takes the package.
mkdir -p "$work/oldsite/game"
ln "$work/www/game/Orvyndale_1.0.0.7z" "$work/www/game/Orvyndale_1.0.0.files.json" "$work/oldsite/game/"
sed "s#$base/game/#$base/old/game/#g" "$resource" > "$work/oldresource"
echo "[services]" > "$work/config.ini"
echo "report_url=http://127.0.0.1:9" >> "$work/config.ini"
cp -a "$work/rgame" "$work/rinstalled"
# Three small files of different kinds, about 20 KiB each.
mapfile -t victims < <(cd "$work/rinstalled" && find assets -type f -size +12k -size -40k | sort | awk 'NR % 97 == 5' | head -3)
python3 - "$work/www/game/Orvyndale_1.0.0.files.json" "$work/www/game/Orvyndale_1.0.0.7z" "${victims[@]}" > "$work/budget" <<'PY'
import json, os, sys
listing, package, victims = sys.argv[1], sys.argv[2], sys.argv[3:]
entries = {e["path"]: e for e in json.load(open(listing))["files"]}
objects = sum(entries[v]["object"]["length"] for v in victims)
sizes = sum(entries[v]["size"] for v in victims)
index = os.path.getsize(listing)
print(objects, sizes, index, objects + len(victims) * (1 << 20) + index, os.path.getsize(package))
PY
read -r objects sizes index budget package < "$work/budget"
damage() {
    rm "$work/rinstalled/${victims[0]}"
    for v in "${victims[@]:1}"; do printf '\xff' | dd of="$work/rinstalled/$v" bs=1 seek=100 conv=notrunc status=none; done
}
served() { awk '{s += $10} END {print s + 0}' "$work/nginx/access.log" 2>/dev/null || echo 0; }
one() { # resource -> "seconds bytes"
    local before after secs
    damage
    before=$(served)
    secs=$("$bin" repair "$work/rinstalled" "$1" "$work/config.ini" 2>> "$work/rrepair.log" | awk '{print $2}')
    [ -n "$secs" ] || { echo "repair failed:" >&2; tail -5 "$work/rrepair.log" >&2; exit 1; }
    cmp -s "$work/rgame/${victims[0]}" "$work/rinstalled/${victims[0]}" || { echo "not repaired" >&2; exit 1; }
    after=$(served)
    echo "$secs $((after - before))"
}
printf 'three damaged files, %d bytes: objects %d bytes, file list %d bytes, budget (objects + 1 MiB each + list) %d bytes, full package %d bytes\n' \
    "$sizes" "$objects" "$index" "$budget" "$package"
one "$resource" > /dev/null; one "$work/oldresource" > /dev/null
rt=(); ft=(); rb=(); fb=()
for r in $(seq 1 "$rounds"); do
    if (( r % 2 )); then a=$(one "$resource"); b=$(one "$work/oldresource"); else b=$(one "$work/oldresource"); a=$(one "$resource"); fi
    rt+=("${a% *}"); rb+=("${a#* }"); ft+=("${b% *}"); fb+=("${b#* }")
    printf 'round %d: ranged %.3f s %d bytes, full package %.3f s %d bytes\n' "$r" "${a% *}" "${a#* }" "${b% *}" "${b#* }"
done
stats() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END { m = (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2; printf "median %.3f, spread %.3f..%.3f", m, v[1], v[NR] }'; }
echo "ranged repair time: $(stats "${rt[@]}") s; full-package repair time: $(stats "${ft[@]}") s over $rounds rounds"
echo "ranged repair bytes: $(stats "${rb[@]}"); full-package repair bytes: $(stats "${fb[@]}")"
ratios=()
for i in "${!rt[@]}"; do ratios+=("$(echo "${rt[$i]} / ${ft[$i]}" | bc -l)"); done
echo "time ratio (ranged/full): $(stats "${ratios[@]}")"
echo "ranged bytes / budget: $(echo "${rb[0]} / $budget" | bc -l | cut -c1-6), ranged bytes / full package: $(echo "${rb[0]} / $package" | bc -l | cut -c1-8)"
# Memory of a ranged repair of one small file and of the largest pack: it streams, so it should
# not grow with the pack.
rss() { # file offset -> "size bytes-sent peak-KiB"
    local before
    printf '\xff' | dd of="$work/rinstalled/$1" bs=1 seek="$2" conv=notrunc status=none
    before=$(served)
    /usr/bin/time -v "$bin" repair "$work/rinstalled" "$resource" "$work/config.ini" 2> "$work/rss.log" > /dev/null
    cmp -s "$work/rgame/$1" "$work/rinstalled/$1" || { echo "$1 not repaired" >&2; exit 1; }
    echo "$(stat -c %s "$work/rgame/$1") $(( $(served) - before )) $(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/rss.log")"
}
for f in "${victims[1]}" Kestrava_Data/large0.pak; do
    read -r size sent peak < <(rss "$f" 100)
    printf 'ranged repair of one %d-byte file: %d bytes sent, peak RSS %d KiB\n' "$size" "$sent" "$peak"
done
