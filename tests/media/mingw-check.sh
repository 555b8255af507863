#!/usr/bin/env bash
# Compiles the Windows volume layer and the resource script with Debian's
# mingw-w64 cross tools. Usage: mingw-check.sh SOURCE_DIR RESOURCE_SCRIPT
set -euo pipefail
src=${1:?source dir}
cxx=x86_64-w64-mingw32-g++
windres=x86_64-w64-mingw32-windres
if ! command -v "$cxx" >/dev/null; then
    echo "mingw-check: $cxx is missing (scripts/bootstrap installs it)" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

shopt -s nullglob
sources=("$src"/src/media/win/*.cpp)
if [ ${#sources[@]} -eq 0 ]; then
    echo "mingw-check: no Windows sources found" >&2
    exit 1
fi
for f in "${sources[@]}"; do
    echo "mingw-check: $cxx $f"
    "$cxx" -std=c++17 -Wall -Wextra -Werror -I"$src/src/media" -I"$src/src/media/win" \
        -c "$f" -o "$out/$(basename "$f").o"
done

rc=${2:?resource script}
if [ -f "$rc" ]; then
    echo "mingw-check: $windres $rc"
    "$windres" -I"$src/res" "$rc" -O coff -o "$out/q417sd.res.o"
else
    echo "mingw-check: $rc is not there yet, not compiled"
fi
echo "mingw-check: all compiled"
