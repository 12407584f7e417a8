#!/usr/bin/env bash
# Start-up cost of hakuvo-cli beside a bare C++ program built with the same compiler and flags:
# `hakuvo-cli --version` does nothing but start, print and end, so the ratio is what loading the
# program and its libraries costs. Needs hyperfine (Debian package) and a build in BUILD.
#
#   bench/cli_startup.sh [BUILD]        (BUILD defaults to build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
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
# On a busy machine the mean is mostly time spent waiting for a processor; the median and the
# minimum show the work itself.
hyperfine -N --warmup 100 --runs 2000 --export-json "$work/times.json" \
  -n bare "$work/bare" -n "hakuvo-cli --version" "$cli --version"
python3 - "$work/times.json" <<'PY'
import json, sys
bare, cli = json.load(open(sys.argv[1]))["results"]
for key in ("median", "min"):
    print(f"{key}: bare {bare[key] * 1e3:.3f} ms, hakuvo-cli --version {cli[key] * 1e3:.3f} ms, "
          f"ratio {cli[key] / bare[key]:.2f}")
PY
