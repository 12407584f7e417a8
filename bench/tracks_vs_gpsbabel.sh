#!/usr/bin/env bash
# Reading the same generated tracks of 1,000,000 points (GPX, KML with gx:Track, NMEA with GGA and
# RMC sentences) with `hakuvo-cli track` and with gpsbabel, timed as whole programs by hyperfine.
# gpsbabel is run as `gpsbabel -t -i FORMAT -f FILE -o unicsv -F /dev/null`: it reads and parses the
# whole file and hands every track point to the writer (without -t unicsv writes only waypoints and
# a track has none, so the points would be read and dropped). `hakuvo-cli track` reads the file and
# prints the number of points, the total distance and the first and last times. Before timing, both
# are checked to take every point of each file.
#
# Both programs run with the same TZ, set here when the caller has none. Without TZ the C library
# looks at /etc/localtime again at every conversion of a time: gpsbabel then makes 6 stat calls a
# point for GPX and 21 for NMEA, which alone takes three to four times the CPU time it needs with
# TZ set (strace -c and /usr/bin/time on 20,000 points).
#
#   bench/tracks_vs_gpsbabel.sh                             builds into build-bench-gps and runs
#   BUILD_DIR=build-x RUNS=5 POINTS=100000 TZ=Asia/Tokyo bench/tracks_vs_gpsbabel.sh
set -euo pipefail

export TZ=${TZ:-UTC}

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench-gps}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=${RUNS:-5}
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
    -n "gpsbabel -t -i $format" "gpsbabel -t -i $format -f $file -o unicsv -F /dev/null"
done

echo
echo "Summary ($points points, $runs runs each, TZ=$TZ, $(date -u +%Y-%m-%d), $(nproc) cores):"
for format in gpx kml nmea; do
  echo
  cat "$work/$format.md"
done

# On a machine whose cores are shared, a run that waited for a core is slower than the program is;
# the quickest run of each side is the least disturbed, so the ratio of the minima comes first, then
# the ratio of the medians, and the ratio of CPU time (user + system, means) as a third view.
if command -v python3 >/dev/null; then
  echo
  python3 - "$work" <<'PY'
import json, sys
print("| format | hakuvo-cli min / median | gpsbabel min / median | ratio of minima | ratio of medians "
      "| hakuvo-cli CPU | gpsbabel CPU | CPU ratio |")
print("|---|---:|---:|---:|---:|---:|---:|---:|")
for fmt in ("gpx", "kml", "nmea"):
    ours, theirs = json.load(open(f"{sys.argv[1]}/{fmt}.json"))["results"]
    cpu = lambda r: r["user"] + r["system"]
    print(f"| {fmt} | {ours['min']:.3f} / {ours['median']:.3f} s | {theirs['min']:.3f} / {theirs['median']:.3f} s "
          f"| {theirs['min'] / ours['min']:.1f}x | {theirs['median'] / ours['median']:.1f}x "
          f"| {cpu(ours):.3f} s | {cpu(theirs):.3f} s | {cpu(theirs) / cpu(ours):.1f}x |")
PY
fi
