#!/usr/bin/env bash
# Download benchmark: the engine against curl on the same 1 GiB file served by nginx on
# 127.0.0.1, several rounds, then the MD5 check against md5sum.
#   bench/download/run.sh [build dir] [rounds]
# Prints per-round figures, the means, the engine's peak RSS, and last `ratio R` with
# R = engine throughput / curl throughput.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
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

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
user_line=""
[ "$(id -u)" = 0 ] && user_line="user root root;"
cat > "$work/nginx/nginx.conf" <<CONF
$user_line
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    sendfile on;
    tcp_nopush on;
    default_type application/octet-stream;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
    }
}
CONF
/usr/sbin/nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" &
nginx_pid=$!
url=http://127.0.0.1:$port/pkg.bin
for _ in $(seq 50); do curl -sfI "$url" >/dev/null 2>&1 && break; sleep 0.1; done
curl -sfI "$url" >/dev/null || { echo "nginx did not come up" >&2; cat "$work/nginx/error.log" >&2; exit 1; }

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
