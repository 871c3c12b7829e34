#!/usr/bin/env bash
# Configures (once) and builds everything in a build folder.
# Usage: tools/build.sh [build folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw32.cmake" >/dev/null
fi
cmake --build "$build"
