#!/usr/bin/env bash
# First paint and memory of the desktop program against a bare Qt main window with as many list
# rows, run by run in turn under one virtual display: per round the program on the small diary,
# the bare window, the program on the large diary. Each run is stopped once it has painted and
# (the program) read its diary; its time comes from HAKUVO_TIMING=1 (from the process's start),
# its memory from /usr/bin/time -v (maximum resident set).
#   bench/first_paint.sh BUILD SMALL_DIARY LARGE_DIARY [RUNS]
#   BARE=PROGRAM takes another bare window (to time an older build against the same one).
# The whole list shown (the program's "list painted with the diary rows", or "diary read" in a
# build that does not report it) is set against a bare parse-and-walk of the same diary as a whole
# process (bench_bare_walk, timed from before its start to its end) plus the bare window's first
# paint with as many rows: per round, each diary's walk runs right after its program run and its
# bare window.
#   (bench_bare_window: cmake --build BUILD --target hakuvo bench_bare_window bench_bare_walk, -DHAKUVO_BENCH=ON;
#    diaries: BUILD/data/sample/make_sample --years 1 FILE, --years 80 FILE)
set -euo pipefail
build=${1:?usage: bench/first_paint.sh BUILD SMALL_DIARY LARGE_DIARY [RUNS]}
small=$(realpath "${2:?small diary}")
large=$(realpath "${3:?large diary}")
runs=${4:-11}
# A build from before the diary was read on a worker has no "diary read" line.
export WAIT_FOR=${WAIT_FOR:-list painted with the diary rows}
program=$(realpath "$build/src/hakuvo")
bare=$(realpath "${BARE:-$build/bench/bench_bare_window}")
walk=$(realpath "$build/bench/bench_bare_walk")
rows=$("$build/src/hakuvo-cli" list "$small" | tail -n +2 | wc -l)
largeRows=$("$build/src/hakuvo-cli" list "$large" | tail -n +2 | wc -l)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC'), load average: $(cut -d' ' -f1-3 /proc/loadavg), rows: $rows, $largeRows"

# One run: COMMAND... with its log in $1; waits for the line $2, then stops the process.
cat >"$logs/run.sh" <<'RUN'
#!/usr/bin/env bash
log=$1; wait_for=$2; shift 2
HAKUVO_TIMING=1 /usr/bin/time -v -o "$log.time" "$@" 2>"$log" &
pid=$!
for _ in $(seq 1200); do grep -qs "$wait_for" "$log" && break; sleep 0.02; done
sleep 0.2
pkill -TERM -P "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
RUN
chmod +x "$logs/run.sh"
# The bare parse-and-walk as a whole process, in milliseconds from before its start to its end.
cat >"$logs/walk.sh" <<'WALK'
#!/usr/bin/env bash
start=$EPOCHREALTIME
"$2" "$3" >/dev/null
end=$EPOCHREALTIME
echo "hakuvo: bare walk: $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) * 1000 }') ms" >"$1"
WALK
chmod +x "$logs/walk.sh"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  logs=$1; runs=$2; program=$3; bare=$4; small=$5; large=$6; rows=$7; walk=$8; largeRows=$9
  for run in $(seq "$runs"); do
    "$logs/run.sh" "$logs/small.$run" "$WAIT_FOR" "$program" "$small"
    "$logs/run.sh" "$logs/bare.$run" "window painted" "$bare" "$rows"
    "$logs/walk.sh" "$logs/walk-small.$run" "$walk" "$small"
    "$logs/run.sh" "$logs/large.$run" "$WAIT_FOR" "$program" "$large"
    "$logs/run.sh" "$logs/bare-large.$run" "window painted" "$bare" "$largeRows"
    "$logs/walk.sh" "$logs/walk-large.$run" "$walk" "$large"
  done' _ "$logs" "$runs" "$program" "$bare" "$small" "$large" "$rows" "$walk" "$largeRows"

value() { local v; v=$(sed -n "s/^hakuvo: $2: \([0-9.]*\) ms$/\1/p" "$1" | head -1); echo "${v:-0}"; }
# The rows painted, or in an older build the diary read and listed.
shown() { local v; v=$(value "$1" "list painted with the diary rows"); [[ $v != 0 ]] || v=$(value "$1" 'diary read'); echo "$v"; }
rss() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1.time"; }
for run in $(seq "$runs"); do
  printf '%s %s %s %s %s %s %s %s %s %s\n' \
    "$(value "$logs/small.$run" 'window painted with its list')" "$(value "$logs/bare.$run" 'window painted with its list')" \
    "$(value "$logs/large.$run" 'window painted with its list')" "$(shown "$logs/small.$run")" \
    "$(shown "$logs/large.$run")" "$(rss "$logs/small.$run")" "$(rss "$logs/bare.$run")" \
    "$(value "$logs/walk-small.$run" 'bare walk')" "$(value "$logs/walk-large.$run" 'bare walk')" \
    "$(value "$logs/bare-large.$run" 'window painted with its list')"
done >"$logs/table"
size=$(stat -c %s "$small")
awk -v size="$size" '
  function stats(name, values, n,    i, j, t, median) {
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (values[j] < values[i]) { t = values[i]; values[i] = values[j]; values[j] = t }
    median = n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    printf "%-58s min %8.3f  median %8.3f\n", name, values[1], median
  }
  NF == 10 {
    n++
    a[n] = $1; b[n] = $2; c[n] = $3; d[n] = $4; e[n] = $5; f[n] = $6 / 1024; g[n] = $7 / 1024
    h[n] = $8; k[n] = $9; l[n] = $10
    r1[n] = $1 / $2; r2[n] = $3 / $1; r3[n] = $6 / ($7 * 1.5 + 4 * size / 1024)
    r4[n] = $4 / ($8 + $2); r5[n] = $5 / ($9 + $10)
  }
  END {
    stats("program first paint, small diary (ms)", a, n); stats("bare window first paint (ms)", b, n)
    stats("program first paint, large diary (ms)", c, n)
    stats("program list shown with its rows, small (ms from start)", d, n)
    stats("program list shown with its rows, large (ms from start)", e, n)
    stats("bare parse-and-walk process, small (ms)", h, n); stats("bare parse-and-walk process, large (ms)", k, n)
    stats("bare window first paint, large diary rows (ms)", l, n)
    stats("program max RSS, small diary (MiB)", f, n); stats("bare window max RSS (MiB)", g, n)
    stats("ratio: paint small / bare (goal <= 1.3)", r1, n)
    stats("ratio: paint large / small (goal <= 1.1)", r2, n)
    stats("ratio: RSS small / (1.5 bare + 4 diary) (goal <= 1)", r3, n)
    stats("ratio: list shown small / (walk + bare paint) (goal <= 1.2)", r4, n)
    stats("ratio: list shown large / (walk + bare paint) (goal <= 1.2)", r5, n)
  }' "$logs/table"
