#!/usr/bin/env bash
# `hakuvo-cli list` of a 20-year diary timed as a whole process beside bench_bare_walk, which only
# parses the same file with pugixml and converts its numbers. Both run in one hyperfine session,
# alternating, so a busy machine slows both alike; the ratio of the minima and of the medians is
# printed. Needs hyperfine (Debian package).
#
#   bench/cli_list_vs_bare.sh [BUILD] [RUNS]     (BUILD defaults to build-listperf, a Release build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-listperf}
runs=${2:-30}
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
hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/times.json" \
  -n bare "$build/bench/bench_bare_walk $diary" -n list "$build/src/hakuvo-cli list $diary" \
  -n "list --energy" "$build/src/hakuvo-cli list --energy $diary" >/dev/null
python3 - "$work/times.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
bare = results[0]
for other in results[1:]:
    for key in ("min", "median"):
        print(f"{other['command']:>14} {key:>6}: {other[key] * 1e3:7.1f} ms, bare {bare[key] * 1e3:7.1f} ms, "
              f"ratio {other[key] / bare[key]:.2f}")
PY
