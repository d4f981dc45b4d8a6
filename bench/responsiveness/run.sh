#!/usr/bin/env bash
# Responsiveness benchmark: the real page and view model install a 1 GiB 7z package served by
# nginx on 127.0.0.1 (download, MD5 check, extraction through 7z.so) while a 5 ms probe timer
# on the GUI thread records the gaps between its ticks. Runs under xvfb-run.
#   bench/responsiveness/run.sh [build dir] [rounds]
#   BENCH_PACKAGE=pkg.7z reuses a package (with game files, as generated here); BENCH_WRAP
#   prefixes the program with a profiler command.
# Per round: ticks, longest and 99th-percentile gap per phase (idle page, download, md5,
# extraction, overall). Then the median and the spread (min..max) of each over the rounds.
# The idle page is the reference: the same window with nothing running, measured before the
# install in odd rounds and after it in even ones. Target: longest gap < 50 ms, p99 < 20 ms.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/bench/common/nginx.sh"
build=${1:-$top/build}
rounds=${2:-5}
size_mib=${BENCH_SIZE_MIB:-1024}
bin=$build/bench/bench_responsiveness
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_responsiveness)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-responsiveness.XXXXXX")
nginx_pid=
cleanup() {
    if [ -n "$nginx_pid" ]; then kill "$nginx_pid" 2>/dev/null || true; wait "$nginx_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
api=$work/www/zt7q_cn/xsk/launcher/api
mkdir -p "$api" "$work/content/bin" "$work/content/Kestrava_Data/Managed/Metadata" "$work/nginx" \
    "$work/home/run"
chmod 700 "$work/home/run"

if [ -n "${BENCH_PACKAGE:-}" ]; then
    # A package made by an earlier run: generating 1 GiB takes minutes on a busy machine.
    ln "$BENCH_PACKAGE" "$work/www/Orvyndale_1.0.0.7z" 2>/dev/null || cp "$BENCH_PACKAGE" "$work/www/Orvyndale_1.0.0.7z"
else
    echo "generating a ${size_mib} MiB package"
    files=16
    for i in $(seq 1 $files); do
        head -c $((size_mib * 1024 * 1024 / files)) /dev/urandom > "$work/content/bin/asset$i.bin"
    done
    echo metadata > "$work/content/Kestrava_Data/Managed/Metadata/global-metadata.dat"
    printf '#!/bin/sh\nexit 0\n' > "$work/content/Kestrava"
    (cd "$work/content" && 7z a -bd -mx1 "$work/www/Orvyndale_1.0.0.7z" . > /dev/null)
    rm -rf "$work/content"
fi
package=$work/www/Orvyndale_1.0.0.7z
bytes=$(stat -c %s "$package")
md5=$(md5sum "$package" | cut -d' ' -f1)

bench_nginx_start "$work" "$work/www" /Orvyndale_1.0.0.7z "        location /zt7q_cn/ { default_type application/json; }
        # Reports only need an answer.
        location = /client_report { return 200 '{}'; }"
cat > "$api/resource" <<JSON
{"data":{"game":{"latest":{"name":"Orvyndale","version":"1.0.0","path":"$base/Orvyndale_1.0.0.7z",
 "size":$bytes,"md5":"$md5","entry":""},"diffs":[]},"plugin":{"plugins":[]}}}
JSON
echo '{"data":{"adv":{}}}' > "$api/content"

# A private home keeps the web engine's profile and the launcher's settings out of the user's.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/home/run \
    QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
unset QT_QPA_PLATFORM
results=$work/results.txt
: > "$results"
for round in $(seq "$rounds"); do
    order=idle-first
    [ $((round % 2)) = 0 ] && order=idle-last
    rm -rf "$work/install" "$work/launcher-config.ini"
    mkdir -p "$work/install"
    # BENCH_WRAP runs the program under a profiler, e.g. "perf trace --duration 10 -o /tmp/t".
    # shellcheck disable=SC2086
    if ! out=$(xvfb-run -a -s "-screen 0 1400x820x24" ${BENCH_WRAP:-} "$bin" "$base" "$work/install" "$order" \
            2>>"$work/bench.log"); then
        echo "$out" >&2; tail -20 "$work/bench.log" >&2; exit 1
    fi
    echo "round $round ($order):"
    sed 's/^/  /' <<<"$out"
    sed -n "s/^phase /$round /p" <<<"$out" >> "$results"
    # The 1 GiB of unpacked files and the downloaded package go after every round.
    rm -rf "$work/install"
done

echo "summary over $rounds rounds (median, spread min..max), gaps in ms:"
python3 - "$results" <<'PY'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    f = line.split()
    if len(f) < 8:
        continue
    rows.setdefault(f[1], []).append((float(f[5]), float(f[7])))
for phase in ("idle", "download", "md5", "extraction", "overall"):
    if phase not in rows:
        continue
    mx = [r[0] for r in rows[phase]]
    p99 = [r[1] for r in rows[phase]]
    print(f"{phase:<10} longest median {statistics.median(mx):7.1f} ({min(mx):.1f}..{max(mx):.1f})"
          f"   p99 median {statistics.median(p99):6.1f} ({min(p99):.1f}..{max(p99):.1f})")
PY
