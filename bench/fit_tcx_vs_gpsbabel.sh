#!/usr/bin/env bash
# Reading the same generated outing of 1,000,000 points as a FIT file (written by bench_fit_tcx
# with our own encoder) and as a TCX file with `hakuvo-cli track` and with gpsbabel, timed as whole
# programs by hyperfine, the two commands of a pair alternating run by run. gpsbabel is run as
# `gpsbabel -t -i garmin_fit|gtrnctr -f FILE -o unicsv -F /dev/null`: it reads the whole file and
# hands every track point to the writer. Before timing, both are checked to take every point.
# Both run with the same TZ (UTC unless the caller sets another): without it the C library looks
# at /etc/localtime again at every conversion of a time.
#
#   bench/fit_tcx_vs_gpsbabel.sh                       builds into build-bench-gps and runs
#   BUILD_DIR=build-x RUNS=5 POINTS=100000 TZ=Asia/Tokyo bench/fit_tcx_vs_gpsbabel.sh
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

# hakuvo-cli and the bench need no Qt.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHAKUVO_GUI=OFF -DHAKUVO_TESTS=OFF \
  -DHAKUVO_BENCH=ON >/dev/null
cmake --build "$build" --target hakuvo-cli bench_fit_tcx

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_fit_tcx" --write-tracks="$work" --points="$points"
cli=$build/src/hakuvo-cli

declare -A babel=([fit]=garmin_fit [tcx]=gtrnctr)
for format in fit tcx; do
  file=$work/track.$format
  ours=$("$cli" track "$file" | sed -n 's/^points=//p')
  theirs=$(gpsbabel -t -i "${babel[$format]}" -f "$file" -o unicsv -F - | tail -n +2 | wc -l)
  echo "$format: hakuvo-cli takes $ours points, gpsbabel $theirs"
  if [[ $ours != "$points" || $theirs != "$points" ]]; then
    echo "fit_tcx_vs_gpsbabel: a reader missed points of $file" >&2
    exit 1
  fi
done

# hyperfine runs each command's runs together; pairs that alternate are run here by hand, one
# run of each in turns (which goes first alternating), each timed by hyperfine alone.
for format in fit tcx; do
  file=$work/track.$format
  hyperfine --warmup 1 --runs "$runs" --export-markdown "$work/$format.md" --export-json "$work/$format.json" \
    -n "hakuvo-cli track ($format)" "$cli track $file" \
    -n "gpsbabel -t -i ${babel[$format]}" "gpsbabel -t -i ${babel[$format]} -f $file -o unicsv -F /dev/null"
  for ((pair = 0; pair < runs; ++pair)); do
    if ((pair % 2 == 0)); then order=(ours theirs); else order=(theirs ours); fi
    for side in "${order[@]}"; do
      if [[ $side == ours ]]; then command="$cli track $file"; else
        command="gpsbabel -t -i ${babel[$format]} -f $file -o unicsv -F /dev/null"
      fi
      hyperfine --runs 1 --export-json "$work/$format-$pair-$side.json" "$command" >/dev/null
    done
  done
done

echo
echo "Summary ($points points, $runs runs each, TZ=$TZ, $(date -u '+%Y-%m-%d %H:%M'), load $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores):"
for format in fit tcx; do
  echo
  cat "$work/$format.md"
done

if command -v python3 >/dev/null; then
  echo
  python3 - "$work" "$runs" <<'PY'
import json, statistics, sys
work, runs = sys.argv[1], int(sys.argv[2])
print("| format | hakuvo-cli min / median | gpsbabel min / median | paired ratio gpsbabel / hakuvo-cli, min / median "
      "| CPU ratio (means) |")
print("|---|---:|---:|---:|---:|")
for fmt in ("fit", "tcx"):
    ours, theirs = json.load(open(f"{work}/{fmt}.json"))["results"]
    cpu = lambda r: r["user"] + r["system"]
    wall = lambda side, pair: json.load(open(f"{work}/{fmt}-{pair}-{side}.json"))["results"][0]["mean"]
    ratios = [wall("theirs", p) / wall("ours", p) for p in range(runs)]
    print(f"| {fmt} | {ours['min']:.3f} / {ours['median']:.3f} s | {theirs['min']:.3f} / {theirs['median']:.3f} s "
          f"| {min(ratios):.1f}x / {statistics.median(ratios):.1f}x | {cpu(theirs) / cpu(ours):.1f}x |")
PY
fi
