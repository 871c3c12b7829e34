#!/usr/bin/env bash
# The main job: installs what is missing, builds both libraries and shows that
# they load under Wine, with the exports each one offers.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"

bash "$here/tools/setup.sh"
bash "$here/tools/build.sh" "$build" >/dev/null
for dll in tallowsolo tallowhub; do
    echo "== $dll.dll"
    file -b "$build/bin/$dll.dll"
    echo "exports:"
    i686-w64-mingw32-objdump -p "$build/bin/$dll.dll" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n '2,$s/.*\] //p' | sed 's/^/  /'
    echo "imports:"
    i686-w64-mingw32-objdump -p "$build/bin/$dll.dll" | sed -n 's/.*DLL Name: /  /p'
done
