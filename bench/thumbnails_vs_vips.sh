#!/usr/bin/env bash
# Thumbnails of the same 50 generated 24-megapixel photographs (6000 x 4000, quality 90) made by
# `hakuvo-cli thumbnail` and by vipsthumbnail, both fitting them into 120 x 120 and writing
# quality-90 JPEG files, timed as whole programs by hyperfine. vipsthumbnail is run twice: as it
# comes (it spreads its work over every core) and held to one thread like hakuvo-cli.
#
#   bench/thumbnails_vs_vips.sh            builds into build-bench and runs
#   BUILD_DIR=build-x RUNS=10 bench/thumbnails_vs_vips.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=${RUNS:-5}

missing=()
command -v vipsthumbnail >/dev/null || missing+=(libvips-tools)
command -v hyperfine >/dev/null || missing+=(hyperfine)
if ((${#missing[@]})); then
  sudo=
  [[ $(id -u) -eq 0 ]] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHAKUVO_GUI=ON -DHAKUVO_BENCH=ON >/dev/null
cmake --build "$build" --target hakuvo-cli bench_thumbnails

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_thumbnails" --write-photos="$work/photos"
mkdir -p "$work/ours" "$work/vips"

cli=$build/src/hakuvo-cli
hyperfine --warmup 1 --runs "$runs" \
  --prepare "rm -f $work/ours/*.jpg $work/vips/*.jpg" \
  -n "hakuvo-cli thumbnail" "$cli thumbnail $work/photos/*.jpg --size 120 --out $work/ours" \
  -n "vipsthumbnail" "vipsthumbnail $work/photos/*.jpg --size 120 -o '$work/vips/%s.jpg[Q=90]'" \
  -n "vipsthumbnail, one thread" "VIPS_CONCURRENCY=1 vipsthumbnail $work/photos/*.jpg --size 120 -o '$work/vips/%s.jpg[Q=90]'"

# Both must have made the same thing: 50 files of 120 x 80.
rm -f "$work"/ours/*.jpg "$work"/vips/*.jpg
"$cli" thumbnail "$work"/photos/*.jpg --size 120 --out "$work/ours" >/dev/null
vipsthumbnail "$work"/photos/*.jpg --size 120 -o "$work/vips/%s.jpg[Q=90]"
for folder in ours vips; do
  count=$(find "$work/$folder" -name '*.jpg' | wc -l)
  sizes=$(for f in "$work/$folder"/*.jpg; do vipsheader "$f" | grep -o '[0-9]\+x[0-9]\+'; done | sort | uniq -c | xargs)
  echo "$folder: $count thumbnails, $sizes"
done
