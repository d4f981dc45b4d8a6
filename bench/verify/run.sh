#!/usr/bin/env bash
# Verification benchmark: a 1 GiB package from nginx on 127.0.0.1 through the real download
# manager, once as a launcher with publisher keys (MD5 and SHA-256 taken while the bytes
# arrive, then the Ed25519 signature) and once as one without (MD5 after the last byte), and
# `md5sum` plus `sha256sum` of the same file as the reference for the time after the last
# byte. Each round runs both engines; odd rounds start with the keyed one, even rounds with the
# unkeyed one.
#   bench/verify/run.sh [build dir] [rounds (default 5)]
# Prints each round, the medians and spreads (min..max) of throughput and of the time from the
# last byte to "verified", and last `ratio R` with R = keyed / unkeyed median throughput.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/bench/common/nginx.sh"
build=${1:-$top/build}
rounds=${2:-5}
size_mib=${BENCH_SIZE_MIB:-1024}
bin=$build/bench/bench_verify
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_verify)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-verify.XXXXXX")
nginx_pid=
cleanup() {
    if [ -n "$nginx_pid" ]; then kill "$nginx_pid" 2>/dev/null || true; wait "$nginx_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/engine" "$work/nginx" "$work/home" "$work/keys"

echo "generating ${size_mib} MiB test file"
head -c $((size_mib * 1024 * 1024)) /dev/urandom > "$work/www/pkg.7z"

bench_nginx_start "$work" "$work/www" /pkg.7z
url=$base/pkg.7z
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config

keyed_mibs=() unkeyed_mibs=() keyed_verify=() unkeyed_verify=() tools=()
bytes=$(stat -c %s "$work/www/pkg.7z")
run_engine() { # mode
    rm -f "$work/engine/pkg.7z"
    local out mibs verify
    out=$("$bin" "$1" "$url" "$work/engine" "$work/www/pkg.7z" "$work/keys/publisher" 2>>"$work/engine.log")
    grep -q '^verify_seconds ' <<<"$out" || { echo "$1 engine failed: $out" >&2; exit 1; }
    mibs=$(python3 -c "print(f'{$bytes / $(sed -n 's/^download_seconds //p' <<<"$out") / 1048576:.1f}')")
    verify=$(sed -n 's/^verify_seconds //p' <<<"$out")
    if [ "$1" = keyed ]; then keyed_mibs+=("$mibs") keyed_verify+=("$verify")
    else unkeyed_mibs+=("$mibs") unkeyed_verify+=("$verify"); fi
}
run_tools() {
    local start end
    start=$(date +%s.%N)
    md5sum "$work/engine/pkg.7z" >/dev/null
    sha256sum "$work/engine/pkg.7z" >/dev/null
    end=$(date +%s.%N)
    tools+=("$(python3 -c "print(f'{$end - $start:.4f}')")")
}
run_engine keyed # warms the served file and makes the key; not counted
keyed_mibs=() keyed_verify=()
for round in $(seq "$rounds"); do
    if (( round % 2 )); then run_engine keyed; run_engine unkeyed; else run_engine unkeyed; run_engine keyed; fi
    run_tools
    echo "round $round: keyed ${keyed_mibs[-1]} MiB/s, verified ${keyed_verify[-1]} s after the last byte;" \
         "unkeyed ${unkeyed_mibs[-1]} MiB/s, verified ${unkeyed_verify[-1]} s after; md5sum+sha256sum ${tools[-1]} s"
done
stats() { # unit values...
    python3 -c "import statistics,sys; u=sys.argv[1]; v=[float(x) for x in sys.argv[2:]]; print(f'median {statistics.median(v):.4g} {u}, spread {min(v):.4g}..{max(v):.4g} {u}')" "$@"
}
echo "keyed throughput: $(stats MiB/s "${keyed_mibs[@]}")"
echo "unkeyed throughput: $(stats MiB/s "${unkeyed_mibs[@]}")"
echo "keyed last byte to verified: $(stats s "${keyed_verify[@]}")"
echo "unkeyed last byte to verified: $(stats s "${unkeyed_verify[@]}")"
echo "md5sum + sha256sum: $(stats s "${tools[@]}")"
echo "ratio $(python3 -c "import statistics,sys; n=len(sys.argv)//2; a=[float(x) for x in sys.argv[1:n+1]]; b=[float(x) for x in sys.argv[n+1:]]; print(f'{statistics.median(a) / statistics.median(b):.2f}')" "${keyed_mibs[@]}" "${unkeyed_mibs[@]}")"
