#!/usr/bin/env bash
# Start-up cost of hakuvo-cli beside a bare C++ program built with the same compiler and flags:
# `hakuvo-cli --version` does nothing but start, print and end, so the ratio is what loading the
# program and its libraries costs. The two alternate run by run (bench/paired_runs.sh). Needs
# hyperfine (Debian package) and a build in BUILD.
#
#   bench/cli_startup.sh [BUILD] [PAIRS]        (BUILD defaults to build/, PAIRS to 300)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/paired_runs.sh
build=${1:-build}
pairs=${2:-300}
cli=$build/src/hakuvo-cli
command -v hyperfine >/dev/null || { echo "cli_startup: hyperfine is missing (apt-get install hyperfine)" >&2; exit 1; }
[ -x "$cli" ] || { echo "cli_startup: build $cli first (cmake --build $build --target hakuvo-cli)" >&2; exit 1; }

compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
flags=$(sed -n "s/^CMAKE_CXX_FLAGS_${type^^}:[A-Z]*=//p" "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo 'int main() {}' >"$work/bare.cpp"
# shellcheck disable=SC2086  # the flags are a list
"${compiler:-c++}" -std=c++20 $flags "$work/bare.cpp" -o "$work/bare"

echo "libraries loaded by hakuvo-cli:"
ldd "$cli" | awk '{print "  " $1}'
echo "$(date -u '+%Y-%m-%d %H:%M') UTC, load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
# On a busy machine the mean is mostly time spent waiting for a processor; the median and the
# minimum show the work itself.
paired_runs "$work/startup" "$pairs" bare "$work/bare" "hakuvo-cli --version" "$cli --version" -N --warmup 3
paired_summary "$work/startup"
