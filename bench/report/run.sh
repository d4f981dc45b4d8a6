#!/usr/bin/env bash
# Load benchmark of `lunmere-publish report`: N generated report lines (default 10 000 000) as
# an nginx log, loaded into a new database, against `sqlite3 .import` of the same reports as
# CSV into a table of the same columns (the reference: SQLite's own bulk loader, which parses
# no URLs). Rounds alternate which goes first.
#   bench/report/run.sh [build dir] [rounds (default 5)] [lines (default 10000000)]
# Prints each round, then for both sides the median and spread (min..max) of the wall time, the
# processor time (user + system; on a shared machine the wall time mostly measures waiting for
# a core) and the peak memory (RSS), and the loader's lines per second.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build}
rounds=${2:-5}
lines=${3:-10000000}
tool=$build/tools/lunmere-publish
[ -x "$tool" ] || { echo "missing $tool (cmake --build $build --target lunmere-publish)" >&2; exit 1; }
command -v sqlite3 >/dev/null || { echo "missing sqlite3 (tools/install-deps)" >&2; exit 1; }

work=$(mktemp -d "${BENCH_TMPDIR:-/tmp}/bench-report.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "generating $lines report lines"
# The generator writes about 10 000 lines a second here: beyond a million lines the log is a
# million generated lines repeated (the loader does the same work for each copy).
base=$((lines < 1000000 ? lines : 1000000))
((lines % base == 0)) || { echo "lines must be a multiple of $base" >&2; exit 1; }
python3 "$top/bench/report/makelog.py" "$base" "$work/base.log" "$work/base.csv"
if ((lines == base)); then
    mv "$work/base.log" "$work/reports.log"
    mv "$work/base.csv" "$work/reports.csv"
else
    for ((i = 0; i < lines / base; ++i)); do
        cat "$work/base.log" >> "$work/reports.log"
        cat "$work/base.csv" >> "$work/reports.csv"
    done
    rm "$work/base.log" "$work/base.csv"
fi
echo "log $(du -h "$work/reports.log" | cut -f1), csv $(du -h "$work/reports.csv" | cut -f1)"

# The reports table without its row id: .import fills every column of an existing table.
schema="PRAGMA journal_mode=DELETE; PRAGMA synchronous=NORMAL;
CREATE TABLE reports (source_id INTEGER, received TEXT, day TEXT, action TEXT, step TEXT,
 error_code INTEGER, error_reason TEXT, device_id TEXT, transaction_no TEXT,
 launcher_version TEXT, game_version TEXT, target_version TEXT, package_kind TEXT,
 download_kbs REAL, channel TEXT, sub_channel TEXT, register_cps TEXT, client_language TEXT,
 os TEXT, env TEXT, cts TEXT, log_time INTEGER, ext_msg TEXT);"

tool_s=() tool_cpu=() tool_kb=() ref_s=() ref_cpu=() ref_kb=()
measure() { # command... -> "seconds kilobytes cpu-seconds"
    /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >/dev/null
    awk '{printf "%s %s %.2f\n", $1, $2, $3 + $4}' "$work/time"
}
run_tool() {
    rm -f "$work/t.db" "$work/t.db-wal" "$work/t.db-shm"
    read -r s kb cpu < <(measure "$tool" report "$work/reports.log" --db "$work/t.db")
    local rows
    rows=$(sqlite3 "$work/t.db" 'SELECT COUNT(*) FROM reports')
    [ "$rows" = "$lines" ] || { echo "tool loaded $rows of $lines" >&2; exit 1; }
    tool_s+=("$s") tool_kb+=("$kb") tool_cpu+=("$cpu")
    echo "  report   ${s}s (cpu ${cpu}s) ${kb} KiB"
}
run_ref() {
    rm -f "$work/r.db" "$work/r.db-wal" "$work/r.db-shm"
    sqlite3 "$work/r.db" "$schema" >/dev/null
    read -r s kb cpu < <(measure sqlite3 "$work/r.db" -cmd '.mode csv' ".import $work/reports.csv reports")
    tool_rows=$(sqlite3 "$work/r.db" 'SELECT COUNT(*) FROM reports')
    [ "$tool_rows" = "$lines" ] || { echo "import loaded $tool_rows of $lines" >&2; exit 1; }
    ref_s+=("$s") ref_kb+=("$kb") ref_cpu+=("$cpu")
    echo "  .import  ${s}s (cpu ${cpu}s) ${kb} KiB"
}
for ((r = 1; r <= rounds; ++r)); do
    echo "round $r"
    if ((r % 2)); then run_tool; run_ref; else run_ref; run_tool; fi
done

stats() { # values... -> "median min..max"
    printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END {
        m = NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2
        printf "%s (%s..%s)", m, v[1], v[NR]}'
}
echo "lines $lines, rounds $rounds"
echo "report  seconds $(stats "${tool_s[@]}"), cpu $(stats "${tool_cpu[@]}"), peak KiB $(stats "${tool_kb[@]}")"
echo "import  seconds $(stats "${ref_s[@]}"), cpu $(stats "${ref_cpu[@]}"), peak KiB $(stats "${ref_kb[@]}")"
median=$(printf '%s\n' "${tool_s[@]}" | sort -g | awk '{v[NR]=$1} END {print NR % 2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}')
python3 -c "print(f'report lines/s {int($lines / $median)}')"
