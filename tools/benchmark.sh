#!/usr/bin/env bash
# Builds everything and runs the benchmark of both libraries under Wine: the
# table of figures against their floors, then the leak check. The exit status
# is 0 when every target is met, 1 when one is missed.
# Usage: tools/benchmark.sh [build folder] [--quick] [--only standalone|server|registry|leaks]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build"
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
    build="$1"
    shift
fi

bash "$here/tools/setup.sh"
bash "$here/tools/build.sh" "$build" >&2
cd "$build/bin"
exec "$build/wine-run" ./tallow_benchmark.exe "$@"
