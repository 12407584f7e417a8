#!/usr/bin/env bash
# `hakuvo-cli list` of a 20-year diary timed as a whole process beside bench_bare_walk, which only
# parses the same file with pugixml and converts its numbers. The two alternate run by run
# (bench/paired_runs.sh), so a busy machine slows both alike; the minimum and median of the paired
# ratio are printed. Needs hyperfine (Debian package).
#
#   bench/cli_list_vs_bare.sh [BUILD] [PAIRS]     (BUILD defaults to build-listperf, a Release build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/paired_runs.sh
build=${1:-build-listperf}
pairs=${2:-30}
command -v hyperfine >/dev/null || { echo "cli_list_vs_bare: hyperfine is missing (apt-get install hyperfine)" >&2; exit 1; }
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHAKUVO_GUI=OFF -DHAKUVO_TESTS=OFF \
    -DHAKUVO_BENCH=ON >/dev/null
fi
cmake --build "$build" --target hakuvo-cli bench_bare_walk make_sample >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
diary=$work/diary20.hkvj
"$build/data/sample/make_sample" --years 20 "$diary" >/dev/null
ls -l "$diary" | awk '{print "diary: " $5 " bytes"}'
echo "$(date -u '+%Y-%m-%d %H:%M') UTC, load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
bare="$build/bench/bench_bare_walk $diary"
paired_runs "$work/list" "$pairs" bare "$bare" list "$build/src/hakuvo-cli list $diary" -N --warmup 1
paired_summary "$work/list"
paired_runs "$work/energy" "$pairs" bare "$bare" "list --energy" "$build/src/hakuvo-cli list --energy $diary" -N \
  --warmup 1
paired_summary "$work/energy"
