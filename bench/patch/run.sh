#!/usr/bin/env bash
# Patch package benchmark: three releases of a generated game (text, incompressible blobs, a
# big pack with a 4 KiB edit, renames) published with lunmere-publish. Prints, per release, the
# patch package's bytes against the ordinary difference package and against the sum of
# per-file `zstd --patch-from` deltas of the same files (same level, each against the base the
# patch used, or alone); then the patch apply time against `zstd -d --patch-from` over the same
# files, alternating which goes first, with median and spread.
#   bench/patch/run.sh [build dir] [rounds]
# BENCH_PACK_MIB (default 50) sets the big pack's size.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
pack_mib=${BENCH_PACK_MIB:-50}
tool=$build/tools/lunmere-publish
apply=$build/bench/bench_patchapply
for b in "$tool" "$apply"; do
    [ -x "$b" ] || { echo "missing $b (cmake --build $build --target lunmere-publish bench_patchapply)" >&2; exit 1; }
done
command -v zstd > /dev/null || { echo "missing zstd (tools/install-deps)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-patch.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "generating three releases (big pack ${pack_mib} MiB)"
python3 "$top/bench/patch/makereleases.py" "$work" "$pack_mib"
publish() { "$tool" game --site "$work/site" --base-url http://127.0.0.1:9 --name Bench "$@" > /dev/null; }
publish 1.0.0="$work/v1"
publish 1.0.1="$work/v2"
cp "$work/site/game/Bench_1.0.0_1.0.1.patch" "$work/"
publish 1.0.2="$work/v3"

# Per-file zstd deltas of what each patch carries, against the same bases.
reference() { # patch old new -> bytes of zstd --patch-from per file
    python3 - "$@" <<'PY'
import json, os, struct, subprocess, sys
patch, old, new = sys.argv[1:4]
with open(patch, "rb") as f:
    f.read(8)
    n = struct.unpack("<Q", f.read(8))[0]
    index = json.loads(f.read(n))
total = 0
for item in index["files"]:
    target = os.path.join(new, item["path"])
    cmd = ["zstd", "-q", "-3", "-c", target]
    if item["kind"] != "whole":
        cmd[2:2] = ["--patch-from=" + os.path.join(old, item["base"])]
    size = len(subprocess.run(cmd, check=True, capture_output=True).stdout)
    total += size
    if item["path"] == "Data/world.pak":
        print("  Data/world.pak (4 KiB rewritten in %d MiB): in the patch %d bytes, zstd "
              "--patch-from %d bytes" % (item["size"] >> 20, item["length"], size), file=sys.stderr)
    if item["kind"] == "copy" and item["size"] > 1 << 20:
        entry = len(json.dumps(item))
        print("  %s renamed (%d MiB): about %d bytes of index" % (item["path"], item["size"] >> 20,
              entry), file=sys.stderr)
print(total)
PY
}
for r in "1.0.0 1.0.1 v1 v2" "1.0.1 1.0.2 v2 v3"; do
    set -- $r
    if [ "$1" = 1.0.0 ]; then p=$work/Bench_1.0.0_1.0.1.patch; else p=$work/site/game/Bench_$1_$2.patch; fi
    d=$(find "$work/site/game" "$work/site/.publish" -name "Bench_$1_$2.7z" | head -1)
    pb=$(stat -c %s "$p")
    db=$(stat -c %s "$d" 2>/dev/null || echo 0)
    zb=$(reference "$p" "$work/$3" "$work/$4")
    printf 'release %s -> %s: patch package %d bytes, difference package %d bytes, per-file zstd --patch-from %d bytes; patch/zstd %.3f, patch/difference %.5f\n' \
        "$1" "$2" "$pb" "$db" "$zb" "$(echo "$pb / $zb" | bc -l)" "$(echo "$pb / ($db + 1)" | bc -l)"
done

# Apply time, 1.0.0 -> 1.0.1: the launcher's applier on a copy of v1 against zstd -d
# --patch-from of the same files (deltas made once, outside the timing).
mkdir -p "$work/ref"
python3 - "$work/Bench_1.0.0_1.0.1.patch" "$work/v1" "$work/v2" "$work/ref" > "$work/ref.sh" <<'PY'
import json, os, shlex, struct, subprocess, sys
patch, old, new, ref = sys.argv[1:5]
with open(patch, "rb") as f:
    f.read(8)
    n = struct.unpack("<Q", f.read(8))[0]
    index = json.loads(f.read(n))
print("set -e")
for i, item in enumerate(index["files"]):
    target = os.path.join(new, item["path"])
    frame = os.path.join(ref, "%d.zst" % i)
    out = os.path.join(ref, "%d.out" % i)
    if item["kind"] == "copy":
        print("cp %s %s" % (shlex.quote(os.path.join(old, item["base"])), shlex.quote(out)))
        continue
    base = ["--patch-from=" + os.path.join(old, item["base"])] if item["kind"] == "delta" else []
    subprocess.run(["zstd", "-q", "-f", "-3"] + base + [target, "-o", frame], check=True)
    print(" ".join(shlex.quote(a) for a in ["zstd", "-q", "-f", "-d", "--long=31"] + base + [frame, "-o", out]) + " 2>/dev/null")
PY
now() { date +%s.%N; }
ours_once() {
    rm -rf "$work/game"; cp -a "$work/v1" "$work/game"; sync
    "$apply" "$work/game" "$work/Bench_1.0.0_1.0.1.patch"
}
zstd_once() {
    rm -f "$work"/ref/*.out; sync
    local t0; t0=$(now); bash "$work/ref.sh"; echo "$(now) - $t0" | bc -l
}
stats() {
    printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {m = NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2;
        printf "median %.3fs spread %.3f-%.3fs", m, v[1], v[NR]}'
}
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {print NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
ours=(); theirs=()
for r in $(seq 1 "$rounds"); do
    if [ $((r % 2)) = 1 ]; then a=$(ours_once); z=$(zstd_once); else z=$(zstd_once); a=$(ours_once); fi
    ours+=("$a"); theirs+=("$z")
    printf 'round %d: patch apply %.3fs, zstd -d --patch-from %.3fs\n' "$r" "$a" "$z"
done
cmp -s <(cd "$work/game" && find . -type f -exec md5sum {} + | sort) \
       <(cd "$work/v2" && find . -type f -exec md5sum {} + | sort) || { echo "applied tree differs from v2" >&2; exit 1; }
echo "patch apply:          $(stats "${ours[@]}")"
echo "zstd -d --patch-from: $(stats "${theirs[@]}")"
echo "speed ratio (zstd time / apply time) $(echo "scale=3; $(median "${theirs[@]}") / $(median "${ours[@]}")" | bc -l)"
