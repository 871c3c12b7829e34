#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 wine64
          cmake ninja-build googletest)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq >/dev/null
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
