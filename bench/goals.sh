#!/usr/bin/env bash
# Every start-up and long-track figure of the README in one sitting, one after the other, so that
# they share a machine and a load: first paint, memory and the whole list against the bare window;
# the speed graph and the map against reading and a prebuilt line; the track readers against
# gpsbabel and KML against GPX; the diary load against the bare walk. Each part pairs its two
# sides run by run and prints the minimum and median of the ratio itself; this only runs them in
# turn and keeps their output.
#   bench/goals.sh [BUILD] [LOG]     (BUILD: a Release build with -DHAKUVO_BENCH=ON, build-perf)
#   PAIRS=N sets the pairs of each part (11; the gpsbabel part takes 7 unless GPSBABEL_PAIRS says).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-perf}
log=${2:-/dev/null}
pairs=${PAIRS:-11}
cmake --build "$build" --target hakuvo hakuvo_map hakuvo-cli make_sample bench_bare_window bench_bare_walk \
  bench_speed_graph bench_map_track bench_tracks bench_fit_tcx bench_datafile >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/data/sample/make_sample" --years 1 "$work/1y.hkvj" >/dev/null
"$build/data/sample/make_sample" --years 80 "$work/80y.hkvj" >/dev/null

{
  echo "== $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
  echo "== first paint, memory, whole list: bench/first_paint.sh $build 1y 80y $pairs"
  "$here/first_paint.sh" "$build" "$work/1y.hkvj" "$work/80y.hkvj" "$pairs"
  echo "== speed graph: bench_speed_graph --benchmark_filter=NONE --pairs=$pairs --points=1000000"
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_speed_graph" --benchmark_filter=NONE --pairs="$pairs" --points=1000000
  echo "== map, 10,000 points: bench_map_track --paired=$((pairs * 3)) --points=10000"
  QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 "$build/bench/bench_map_track" --paired=$((pairs * 3)) \
    --points=10000
  echo "== diary load: bench_datafile --benchmark_filter=NONE"
  "$build/bench/bench_datafile" --benchmark_filter=NONE
  echo "== track readers: FORMATS='gpx kml nmea' PAIRS=${GPSBABEL_PAIRS:-7} bench/tracks_vs_gpsbabel.sh"
  BUILD_DIR=$build FORMATS="gpx kml nmea" PAIRS=${GPSBABEL_PAIRS:-7} "$here/tracks_vs_gpsbabel.sh"
  echo "== done $(date -u '+%H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
} 2>&1 | tee "$log"
