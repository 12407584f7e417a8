#!/usr/bin/env bash
# Start-up time of the desktop program: runs it RUNS times on DIARY under a virtual display with
# HAKUVO_TIMING=1, stops it once its list is painted, and prints the minimum and median of every
# step it reports (milliseconds from the start of the process, or of the step).
#   bench/startup.sh BUILD DIARY [RUNS]      e.g. bench/startup.sh build /tmp/20y.hkvj 9
# A long diary: cmake --build BUILD --target make_sample; BUILD/data/sample/make_sample --years 20 FILE
set -euo pipefail
build=${1:?usage: bench/startup.sh BUILD DIARY [RUNS]}
diary=${2:?usage: bench/startup.sh BUILD DIARY [RUNS]}
runs=${3:-9}
program=$(realpath "$build/src/hakuvo")
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

for run in $(seq "$runs"); do
  xvfb-run -a bash -c '
    HAKUVO_TIMING=1 "$0" "$1" 2>"$2" &
    pid=$!
    for _ in $(seq 1200); do grep -qs "window painted" "$2" && break; sleep 0.05; done
    kill "$pid"
    wait "$pid" || true' "$program" "$diary" "$logs/$run.txt"
  grep -q "window painted" "$logs/$run.txt" || { cat "$logs/$run.txt"; echo "run $run: no paint" >&2; exit 1; }
  # The figure as it was counted before the loader's share was included: from main() on.
  awk -F': ' '/main\(\) reached/ { sub(/ ms$/, "", $3); main = $3 }
              /window painted/ { sub(/ ms$/, "", $3); painted = $3 }
              END { if (main != "") printf "hakuvo: painted, counted from main(): %.1f ms\n", painted - main }' \
    "$logs/$run.txt" >>"$logs/$run.txt"
done

# "hakuvo: <step>: <n> ms" lines of every run -> step, min, median
cat "$logs"/*.txt | awk -F': ' '/^hakuvo: .* ms$/ { sub(/ ms$/, "", $3); print $2 "\t" $3 }' |
  sort -t$'\t' -k1,1 -k2,2g |
  awk -F'\t' '
    { values[$1] = values[$1] " " $2; count[$1]++ }
    END {
      printf "%-32s %8s %8s %5s\n", "step", "min", "median", "runs"
      for (step in values) {
        n = split(substr(values[step], 2), v, " ")
        median = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        printf "%-32s %8.1f %8.1f %5d\n", step, v[1], median, n
      }
    }'
