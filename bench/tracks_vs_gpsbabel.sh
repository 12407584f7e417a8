#!/usr/bin/env bash
# Reading the same generated outing of 1,000,000 points in each track format (GPX, KML with
# gx:Track, NMEA with GGA and RMC sentences, written by bench_tracks; FIT and TCX, written by
# bench_fit_tcx with our own FIT encoder) with `hakuvo-cli track` and with gpsbabel, timed as
# whole programs in pairs that alternate run by run (bench/paired_runs.sh), with each run's peak
# memory. gpsbabel is run as `gpsbabel -t -i FORMAT -f FILE -o unicsv -F /dev/null`: it reads and
# parses the whole file and hands every track point to the writer (without -t unicsv writes only
# waypoints and a track has none, so the points would be read and dropped). `hakuvo-cli track`
# reads the file and prints the number of points, the total distance and the first and last
# times. Before timing, both are checked to take every point of each file. Last, the KML reader
# is paired with the GPX reader on the same points (time and peak memory).
#
# Both programs run with the same TZ, set here when the caller has none. Without TZ the C library
# looks at /etc/localtime again at every conversion of a time: gpsbabel then makes 6 stat calls a
# point for GPX and 21 for NMEA, which alone takes three to four times the CPU time it needs with
# TZ set (strace -c and /usr/bin/time on 20,000 points).
#
#   bench/tracks_vs_gpsbabel.sh                             builds into build-bench-gps and runs
#   BUILD_DIR=build-x PAIRS=5 POINTS=100000 FORMATS="fit tcx" TZ=Asia/Tokyo bench/tracks_vs_gpsbabel.sh
set -euo pipefail

export TZ=${TZ:-UTC}

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/bench/paired_runs.sh"
build=${BUILD_DIR:-$root/build-bench-gps}
case $build in /*) ;; *) build=$root/$build ;; esac
pairs=${PAIRS:-${RUNS:-5}}
points=${POINTS:-1000000}
formats=${FORMATS:-gpx kml nmea fit tcx}

missing=()
command -v gpsbabel >/dev/null || missing+=(gpsbabel)
command -v hyperfine >/dev/null || missing+=(hyperfine)
[[ -x /usr/bin/time ]] || missing+=(time)
if ((${#missing[@]})); then
  sudo=
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# hakuvo-cli and the track benches need no Qt.
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHAKUVO_GUI=OFF -DHAKUVO_TESTS=OFF \
    -DHAKUVO_BENCH=ON >/dev/null
fi
cmake --build "$build" --target hakuvo-cli bench_tracks bench_fit_tcx >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_tracks" --write-tracks="$work" --points="$points"
"$build/bench/bench_fit_tcx" --write-tracks="$work" --points="$points"
cli=$build/src/hakuvo-cli

declare -A babel=([gpx]=gpx [kml]=kml [nmea]=nmea [fit]=garmin_fit [tcx]=gtrnctr)
for format in $formats; do
  file=$work/track.$format
  ours=$("$cli" track "$file" | sed -n 's/^points=//p')
  theirs=$(gpsbabel -t -i "${babel[$format]}" -f "$file" -o unicsv -F - | tail -n +2 | wc -l)
  echo "$format: hakuvo-cli takes $ours points, gpsbabel $theirs"
  if [[ $ours != "$points" || $theirs != "$points" ]]; then
    echo "tracks_vs_gpsbabel: a reader missed points of $file" >&2
    exit 1
  fi
done

echo
echo "$points points, $pairs pairs, TZ=$TZ, $(date -u '+%Y-%m-%d %H:%M') UTC, load average" \
  "$(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
export PAIRED_MEMORY=1
for format in $formats; do
  file=$work/track.$format
  paired_runs "$work/$format" "$pairs" "hakuvo-cli track ($format)" "$cli track $file" \
    "gpsbabel -t -i ${babel[$format]}" "gpsbabel -t -i ${babel[$format]} -f $file -o unicsv -F /dev/null" --warmup 1
  paired_summary "$work/$format"
done
if [[ " $formats " == *" gpx "* && " $formats " == *" kml "* ]]; then
  paired_runs "$work/kml-gpx" "$pairs" "hakuvo-cli track (gpx)" "$cli track $work/track.gpx" \
    "hakuvo-cli track (kml)" "$cli track $work/track.kml" --warmup 1
  paired_summary "$work/kml-gpx"
fi
echo "load average afterwards $(cut -d' ' -f1-3 /proc/loadavg)"
