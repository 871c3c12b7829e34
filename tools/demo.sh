#!/usr/bin/env bash
# The main job: installs what is missing, builds both libraries, and loads each
# under Wine the way the host does, showing the entry points it offers.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

bash "$here/tools/setup.sh"
bash "$here/tools/build.sh" "$build" >/dev/null
for dll in tallowsolo tallowhub; do
    echo "== $dll.dll: $(file -b "$build/bin/$dll.dll")"
    (cd "$build/bin" && "$build/wine-run" load_check.exe "$dll.dll")
done
