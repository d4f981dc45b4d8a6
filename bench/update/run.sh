#!/usr/bin/env bash
# Replacement benchmark: the updater's journalled replacement of a launcher tree against
# `cp -a` (in bench_updatetransfer), then what flushing to disk costs: the same benchmark with
# fsync/fdatasync turned into no-ops by a preloaded shim, alternating with the real thing.
#   bench/update/run.sh [build dir] [rounds] [tree files] [tree MiB]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
files=${3:-400}
mib=${4:-100}
bin=$build/bench/bench_updatetransfer
[ -x "$bin" ] || { echo "missing $bin (cmake --build $build --target bench_updatetransfer)" >&2; exit 1; }
work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-update.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "== $rounds rounds, against cp -a"
BENCH_TMPDIR=$work "$bin" 0 "$files" "$mib" "$rounds"

cat > "$work/nosync.c" <<'C'
int fsync(int fd) { (void)fd; return 0; }
int fdatasync(int fd) { (void)fd; return 0; }
C
cc -shared -fPIC -o "$work/nosync.so" "$work/nosync.c"
echo "== flushing: $rounds rounds each, alternating"
synced=() unsynced=()
for round in $(seq "$rounds"); do
    for turn in 0 1; do
        if [ $(((round + turn) % 2)) = 0 ]; then
            t=$(BENCH_TMPDIR=$work "$bin" 0 "$files" "$mib" 1 | sed -n 's/^replace, every file changed.*median \([0-9.]*\) s.*/\1/p')
            synced+=("$t")
        else
            t=$(BENCH_TMPDIR=$work LD_PRELOAD=$work/nosync.so "$bin" 0 "$files" "$mib" 1 | sed -n 's/^replace, every file changed.*median \([0-9.]*\) s.*/\1/p')
            unsynced+=("$t")
        fi
    done
done
python3 - "${synced[*]}" "${unsynced[*]}" <<'PY'
import statistics, sys
synced = [float(x) for x in sys.argv[1].split()]
unsynced = [float(x) for x in sys.argv[2].split()]
for name, xs in (("replace with flushing", synced), ("replace without flushing", unsynced)):
    print(f"{name:28s} median {statistics.median(xs):.3f} s, spread {min(xs):.3f}..{max(xs):.3f} s")
print(f"flushing costs {statistics.median(synced) / statistics.median(unsynced):.2f}x the replacement without it")
PY
