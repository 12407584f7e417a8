#!/usr/bin/env bash
# The checks CI makes besides the normal build and tests: the core stays free of Qt, the core
# and command-line tests pass under AddressSanitizer and UndefinedBehaviorSanitizer, the thumbnail
# worker's under ThreadSanitizer, every fuzz
# target runs briefly over its seeds, the desktop entry, icon and MIME types install into a
# temporary prefix (from the GUI build in build/ that scripts/test.sh makes), and the Debian
# packages build, satisfy lintian, run unpacked and hold exactly what cmake installs.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

if grep -rnE '#\s*include\s*[<"]Q' src/core; then
  echo "ci: a file under src/core includes a Qt header" >&2
  exit 1
fi

# The GUI's layers (one library per Qt module): common uses no other GUI folder; the Widgets-only
# features never reach the chart, map or main folders; graph and map do not reach each other.
gui_includes() { # FOLDERS... -- PATTERN
  local folders=() pattern
  while [ "$1" != "--" ]; do folders+=("src/gui/$1"); shift; done
  pattern=$2
  grep -rnE "#\s*include\s*\"gui/($pattern)/" "${folders[@]}" 2>/dev/null || true
}
layer_faults=$(
  gui_includes common -- 'document|list|search|record|categories|links|graph|map|main'
  gui_includes document list search record categories links -- 'graph|map|main'
  gui_includes graph -- 'map|main'
  gui_includes map -- 'graph|main'
)
if [ -n "$layer_faults" ]; then
  echo "$layer_faults"
  echo "ci: a GUI folder includes a folder above its layer" >&2
  exit 1
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHAKUVO_GUI=OFF -DHAKUVO_SANITIZE=ON \
  -DHAKUVO_WERROR=ON >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

# The thumbnail worker is the program's one second thread: its tests run under ThreadSanitizer.
# Only the worker's own tests: Qt's library is not instrumented, and its internal thread pool
# (smooth scaling of large pictures) reads as races to the sanitizer.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHAKUVO_WERROR=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
cmake --build build-tsan --target test_imaging
QT_QPA_PLATFORM=offscreen TSAN_OPTIONS=halt_on_error=1 \
  build-tsan/tests/test_imaging --gtest_filter='ThumbnailWorkerTest.*:FittedPictureRect.*'

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHAKUVO_GUI=OFF \
  -DHAKUVO_TESTS=OFF -DHAKUVO_FUZZ=ON >/dev/null
cmake --build build-fuzz
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=fuzz/seeds/${name#fuzz_}
  mkdir -p "build-fuzz/corpus/$name"
  echo "ci: fuzzing $name for 20 s"
  if [ -d "$seeds" ]; then
    "$target" -max_total_time=20 -rss_limit_mb=2048 "build-fuzz/corpus/$name" "$seeds" >/dev/null 2>"build-fuzz/$name.log" \
      || { tail -n 40 "build-fuzz/$name.log"; exit 1; }
  else
    "$target" -max_total_time=20 -rss_limit_mb=2048 "build-fuzz/corpus/$name" >/dev/null 2>"build-fuzz/$name.log" \
      || { tail -n 40 "build-fuzz/$name.log"; exit 1; }
  fi
done
./scripts/check-install.sh build
./scripts/check-deb.sh
echo "ci: checks passed"
