#!/usr/bin/env bash
# Verification benchmark: how long after the last byte of a signed 1 GiB package is on disk
# the download manager has it verified (MD5, SHA-256 and the publisher's Ed25519 signature),
# against `md5sum` plus `sha256sum` of the same file. The package comes from nginx on
# 127.0.0.1; rounds alternate which side goes first.
#   bench/verify/run.sh [build dir] [rounds (default 5)]
# Prints each round, the medians and spreads (min..max), and last `ratio R` with
# R = (md5sum + sha256sum) / engine time after the last byte.
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

engine=() tools=() downloads=()
run_engine() {
    rm -f "$work/engine/pkg.7z"
    local out
    out=$("$bin" "$url" "$work/engine" "$work/www/pkg.7z" "$work/keys/publisher" 2>>"$work/engine.log")
    grep -q '^verify_seconds ' <<<"$out" || { echo "engine failed: $out" >&2; exit 1; }
    engine+=("$(sed -n 's/^verify_seconds //p' <<<"$out")")
    downloads+=("$(sed -n 's/^download_seconds //p' <<<"$out")")
}
run_tools() {
    local start end
    start=$(date +%s.%N)
    md5sum "$work/engine/pkg.7z" >/dev/null
    sha256sum "$work/engine/pkg.7z" >/dev/null
    end=$(date +%s.%N)
    tools+=("$(python3 -c "print(f'{$end - $start:.4f}')")")
}
run_engine # a first download, so that the tools have the file in round 1
engine=() downloads=()
for round in $(seq "$rounds"); do
    if (( round % 2 )); then run_engine; run_tools; else run_tools; run_engine; fi
    echo "round $round: engine ${engine[-1]} s after the last byte (download ${downloads[-1]} s), md5sum+sha256sum ${tools[-1]} s"
done
stats() { python3 -c "import statistics,sys; v=[float(x) for x in sys.argv[1:]]; print(f'median {statistics.median(v):.4f} s, spread {min(v):.4f}..{max(v):.4f} s')" "$@"; }
echo "engine after last byte: $(stats "${engine[@]}")"
echo "engine download: $(stats "${downloads[@]}")"
echo "md5sum + sha256sum: $(stats "${tools[@]}")"
echo "ratio $(python3 -c "import statistics,sys; n=len(sys.argv)//2; a=[float(x) for x in sys.argv[1:n+1]]; b=[float(x) for x in sys.argv[n+1:]]; print(f'{statistics.median(b) / statistics.median(a):.1f}')" "${engine[@]}" "${tools[@]}")"
