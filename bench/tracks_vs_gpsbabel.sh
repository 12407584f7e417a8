#!/usr/bin/env bash
# Reading the same generated tracks of 1,000,000 points (GPX, KML with gx:Track, NMEA with GGA and
# RMC sentences) with `hakuvo-cli track` and with gpsbabel, timed as whole programs by hyperfine.
# gpsbabel is run as `gpsbabel -i FORMAT -f FILE -o unicsv -F /dev/null`: it reads and parses the
# whole file and writes nothing (unicsv writes waypoints, and a track has none), the least work it
# can be asked to do with a track. `hakuvo-cli track` reads the file and prints the number of
# points, the total distance and the first and last times. Before timing, both are checked to take
# every point of each file.
#
#   bench/tracks_vs_gpsbabel.sh                             builds into build-bench-gps and runs
#   BUILD_DIR=build-x RUNS=5 POINTS=100000 bench/tracks_vs_gpsbabel.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench-gps}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=${RUNS:-3}
points=${POINTS:-1000000}

missing=()
command -v gpsbabel >/dev/null || missing+=(gpsbabel)
command -v hyperfine >/dev/null || missing+=(hyperfine)
if ((${#missing[@]})); then
  sudo=
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# hakuvo-cli and the track bench need no Qt.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHAKUVO_GUI=OFF -DHAKUVO_TESTS=OFF \
  -DHAKUVO_BENCH=ON >/dev/null
cmake --build "$build" --target hakuvo-cli bench_tracks

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_tracks" --write-tracks="$work" --points="$points"
cli=$build/src/hakuvo-cli

for format in gpx kml nmea; do
  file=$work/track.$format
  ours=$("$cli" track "$file" | sed -n 's/^points=//p')
  theirs=$(gpsbabel -t -i "$format" -f "$file" -o unicsv -F - | tail -n +2 | wc -l)
  echo "$format: hakuvo-cli takes $ours points, gpsbabel $theirs"
  if [[ $ours != "$points" || $theirs != "$points" ]]; then
    echo "tracks_vs_gpsbabel: a reader missed points of $file" >&2
    exit 1
  fi
done

for format in gpx kml nmea; do
  file=$work/track.$format
  hyperfine --warmup 1 --runs "$runs" --export-markdown "$work/$format.md" --export-json "$work/$format.json" \
    -n "hakuvo-cli track ($format)" "$cli track $file" \
    -n "gpsbabel -i $format" "gpsbabel -i $format -f $file -o unicsv -F /dev/null"
done

echo
echo "Summary ($points points, $runs runs each, $(date -u +%Y-%m-%d), $(nproc) cores):"
for format in gpx kml nmea; do
  echo
  cat "$work/$format.md"
done

# On a machine whose cores are shared, the time a program spends waiting for a core swells its
# wall time; its own CPU time (user + system) is the steadier figure, so both ratios are shown.
if command -v python3 >/dev/null; then
  echo
  python3 - "$work" <<'PY'
import json, sys
print("| format | hakuvo-cli wall | gpsbabel wall | ratio | hakuvo-cli CPU | gpsbabel CPU | ratio |")
print("|---|---:|---:|---:|---:|---:|---:|")
for fmt in ("gpx", "kml", "nmea"):
    ours, theirs = json.load(open(f"{sys.argv[1]}/{fmt}.json"))["results"]
    cpu = lambda r: r["user"] + r["system"]
    print(f"| {fmt} | {ours['mean']:.3f} s | {theirs['mean']:.3f} s | {theirs['mean'] / ours['mean']:.1f}x "
          f"| {cpu(ours):.3f} s | {cpu(theirs):.3f} s | {cpu(theirs) / cpu(ours):.1f}x |")
PY
fi
