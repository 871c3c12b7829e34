#!/usr/bin/env bash
# Builds everything and runs the benchmark of both libraries under Wine: the
# table of figures against their floors, then the leak check. The exit status
# is 0 when every target is met, 1 when one is missed.
#
# Usage: tools/benchmark.sh [build folder] [--quick] [--only standalone|server|registry|leaks]
#        tools/benchmark.sh [build folder] --requests
# --requests counts the requests Wine's server receives in one call of each
# step of a standalone login: figures that a busy machine does not change.
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
if [ "${1:-}" != "--requests" ]; then
    exec "$build/wine-run" ./tallow_benchmark.exe "$@"
fi

trace="$(mktemp)"
trap 'rm -f "$trace"' EXIT
WINEDEBUG=+server "$build/wine-run" ./tallow_benchmark.exe --mark-requests 2>"$trace"
printf '| Step (one call) | Wine server requests |\n|---|---|\n'
# Only the calling thread's requests count: Wine's own threads send some of
# their own at any moment. The calling thread is the one that sends the most
# between the marks.
awk 'FNR == 1 {
         pass++; marked = 0; step = ""
         if (pass == 2) for (t in sent) if (sent[t] > most) { most = sent[t]; caller = t }
     }
     /^=== / {
         marked = 1
         if (pass == 2 && step != "") printf "| %s | %d |\n", step, count
         step = substr($0, 5); count = 0; next
     }
     !marked || !/^[0-9a-f]+: [a-z_]+\(/ || /^[0-9a-f]+: [a-z_]+\(\) = / { next }
     pass == 1 { sent[$1]++ }
     pass == 2 && $1 == caller { count++ }' "$trace" "$trace"
