#!/usr/bin/env bash
# Builds the program and starts it with the diary given, or with the bundled sample diary.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
diary=${1:-}
if [ -z "$diary" ] && [ -f data/sample/sample.hkvj ]; then
  diary=data/sample/sample.hkvj
fi
exec ./build/src/hakuvo ${diary:+"$diary"}
