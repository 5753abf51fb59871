#!/usr/bin/env bash
# Builds the native core with its tests and, through it, the Windows program.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
