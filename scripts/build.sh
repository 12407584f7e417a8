#!/usr/bin/env bash
# Configures and builds the project into build/ (extra CMake arguments are passed on).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja "$@" >/dev/null
cmake --build build
