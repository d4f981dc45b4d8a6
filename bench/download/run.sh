#!/usr/bin/env bash
# Download benchmark: the engine against curl on the same 1 GiB file served by nginx on
# 127.0.0.1, several rounds, then the MD5 check against md5sum.
#   bench/download/run.sh [build dir] [rounds]
# Prints per-round figures, the means, the engine's peak RSS, and last `ratio R` with
# R = engine throughput / curl throughput.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/bench/common/nginx.sh"
build=${1:-$top/build}
rounds=${2:-3}
size_mib=${BENCH_SIZE_MIB:-1024}
bin=$build/bench/bench_download
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_download)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-download.XXXXXX")
nginx_pid=
cleanup() {
    if [ -n "$nginx_pid" ]; then kill "$nginx_pid" 2>/dev/null || true; wait "$nginx_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/engine" "$work/curl" "$work/nginx" "$work/home"

echo "generating ${size_mib} MiB test file"
head -c $((size_mib * 1024 * 1024)) /dev/urandom > "$work/www/pkg.bin"
bytes=$(stat -c %s "$work/www/pkg.bin")

bench_nginx_start "$work" "$work/www" /pkg.bin
url=$base/pkg.bin

expected=$(md5sum "$work/www/pkg.bin" | cut -d' ' -f1)
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mbps() { python3 -c "print(f'{$1 / $2 / 1048576:.1f}')"; }

engine_total=0 curl_total=0 peak_rss=0
for round in $(seq "$rounds"); do
    rm -f "$work/engine/pkg.bin" "$work/curl/pkg.bin"
    out=$("$bin" download "$url" "$work/engine" 2>>"$work/engine.log")
    secs=$(sed -n 's/^seconds //p' <<<"$out")
    got=$(sed -n 's/^bytes //p' <<<"$out")
    rss=$(sed -n 's/^peak_rss_kb //p' <<<"$out")
    [ "$got" = "$bytes" ] || { echo "engine: wrong size: $out" >&2; exit 1; }
    [ "$rss" -gt "$peak_rss" ] && peak_rss=$rss
    engine_total=$(python3 -c "print($engine_total + $secs)")
    csecs=$(curl -s -o "$work/curl/pkg.bin" -w '%{time_total}' "$url")
    curl_total=$(python3 -c "print($curl_total + $csecs)")
    echo "round $round: engine $(mbps "$bytes" "$secs") MiB/s ($secs s, peak RSS $((rss / 1024)) MiB), curl $(mbps "$bytes" "$csecs") MiB/s ($csecs s)"
done
engine_mean=$(python3 -c "print($engine_total / $rounds)")
curl_mean=$(python3 -c "print($curl_total / $rounds)")
[ "$(md5sum "$work/engine/pkg.bin" | cut -d' ' -f1)" = "$expected" ] || { echo "engine file differs" >&2; exit 1; }

# MD5 on the same (cached) file: the manager's worker thread against md5sum.
md5sum "$work/engine/pkg.bin" >/dev/null
md5_engine=$("$bin" md5 "$work/engine/pkg.bin" "$expected" 2>>"$work/engine.log" | sed -n 's/^seconds //p')
[ -n "$md5_engine" ] || { echo "engine MD5 check failed" >&2; exit 1; }
start=$(date +%s.%N); md5sum "$work/engine/pkg.bin" >/dev/null; end=$(date +%s.%N)
md5_tool=$(python3 -c "print(f'{$end - $start:.3f}')")

echo "engine throughput $(mbps "$bytes" "$engine_mean") MiB/s (mean of $rounds)"
echo "curl throughput $(mbps "$bytes" "$curl_mean") MiB/s (mean of $rounds)"
echo "engine peak RSS $((peak_rss / 1024)) MiB"
echo "md5 engine ${md5_engine} s, md5sum ${md5_tool} s, ratio $(python3 -c "print(f'{$md5_tool / $md5_engine:.2f}')")"
echo "ratio $(python3 -c "print(f'{$curl_mean / $engine_mean:.2f}')")"
