#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, and shows the
# whole system at work under Wine, as a person would use it:
#   an install directory made from the install package (plus the sample
#   logging libraries that tallowhub.dll links against), the sample project
#   server registered as "OrvisServer.OrvisServer", both modes recorded in the
#   mode table with tallowadmin, a standalone project created with its asset
#   tree, and tallowhost logging in and looking scripts up in each mode, the
#   library found through the mode table as the host finds it.
# Everything lives in <build>/demo, made afresh on every run, in the build's
# own Wine prefix. Usage: tools/demo.sh [build folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
build="$(mkdir -p "$build" && cd "$build" && pwd)"
demo="$build/demo"
install="$demo/install"

heading() { printf '\n== %s\n' "$*"; }
# The Windows name of a Linux path (Wine's drive Z: is the Linux root).
windows() { printf 'Z:%s' "$1" | tr / '\\'; }
# Shows a tool's command line, runs the tool from the install directory, and
# shows its exit status when it is not 0.
run() {
    local tool="$1" shown="$1" argument status=0
    shift
    for argument in "$@"; do
        case "$argument" in *[[:space:]]*|'') shown+=" \"$argument\"" ;; *) shown+=" $argument" ;; esac
    done
    printf '\n$ %s\n' "$shown"
    "$build/wine-run" "$install/$tool.exe" "$@" 2>&1 | tr -d '\r' || status=$?
    [ "$status" -eq 0 ] || printf '(exit status %d)\n' "$status"
}

started=$SECONDS
heading "Setting up and building (log: $demo/build.log)"
bash "$here/tools/setup.sh"
rm -rf "$demo" && mkdir -p "$demo"
if ! bash "$here/tools/build.sh" "$build" >"$demo/build.log" 2>&1; then
    tail -n 30 "$demo/build.log"
    exit 1
fi
echo "built in $build"
"$build/wine-run" cmd /c exit 0                          # makes the Wine prefix on first use
WINEPREFIX="$build/wineprefix" wineserver -p10 2>/dev/null || true   # keeps Wine warm between commands

heading "Install package: cmake --install $build --prefix $demo/package"
cmake --install "$build" --prefix "$demo/package" >/dev/null
(cd "$demo/package" && find . -type f | sort | sed 's|^\./|  |')

heading "Install directory $install"
echo "the package's bin/ (libraries and tools) and the sample tallowqel.dll and tallowcore.dll,"
echo "which stand in for the host's logging service and log viewer that tallowhub.dll links against"
mkdir -p "$install"
cp "$demo/package/bin/"* "$build/samples/tallowqel.dll" "$build/samples/tallowcore.dll" "$install/"
ls "$install" | sed 's/^/  /'
run tallowadmin install-dir "$(windows "$install")"

heading "Sample project server, registered as OrvisServer.OrvisServer"
mkdir -p "$demo/server/ServerDemo"
cp "$build/samples/sample_project_server.dll" "$demo/server/"
cp "$here/tools/sample_server/demo_project/ServerDemo.orvis" "$demo/server/ServerDemo/"
server_dll="$(windows "$demo/server/sample_project_server.dll")"
echo "\$ regsvr32 /s $server_dll"
"$build/wine-run" regsvr32 /s "$server_dll"
echo "its project, $(windows "$demo/server/ServerDemo/ServerDemo.orvis"):"
sed 's/^/  /' "$demo/server/ServerDemo/ServerDemo.orvis" | tr -d '\r'

heading "The mode table (AssetManager.xml): one library for each mode"
run tallowadmin add-mode tallowsolo.dll "Standalone"
run tallowadmin add-mode tallowhub.dll "Server"
run tallowadmin add-mode tallowhub.dll "Server again"
run tallowadmin modes

heading "A standalone project with its asset tree, registered"
project_folder="$(windows "$demo/projects/Demo")"
run tallowadmin create Demo "$project_folder" --comment "The demo project" --register --assets
run tallowadmin projects
echo "a script recorded into the project: $project_folder\\TestAssets\\Scripts\\Login.rec"
: > "$demo/projects/Demo/TestAssets/Scripts/Login.rec"

heading "Standalone mode: tallowhost loads the library of mode \"Standalone\" as the host does"
project_file="$project_folder\\Demo.project"
run tallowhost --mode Standalone login "$project_file"
run tallowhost --mode Standalone script "$project_file" Login
run tallowhost --mode Standalone script "$project_file" Logout

heading "Server mode: the same calls through tallowhub.dll and the sample project server"
server_project="$(windows "$demo/server/ServerDemo/ServerDemo.orvis")"
run tallowhost --mode Server login "$server_project" --user admin --password admin
run tallowhost --mode Server login "$server_project" --user admin --password wrong
run tallowhost --mode Server create-script "$server_project" Login --description "Logs the demo user in" --type 2 --user admin --password admin
run tallowhost --mode Server script "$server_project" Login --user admin --password admin
run tallowhost --mode Server viewer "$server_project" --user guest --password guest

heading "Done in $((SECONDS - started)) s"
echo "Everything above is in $demo; run the tools yourself with"
echo "  $build/wine-run $install/tallowhost.exe --mode Server login $server_project --user admin --password admin"
