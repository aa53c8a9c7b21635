#!/usr/bin/env bash
# Builds the two Windows programs a second time, from a copy of the sources in another folder,
# and checks that they and the release zip come out byte for byte as build/windows and
# build/dist have them: no time stamp and no build path reaches the programs or the zip.
# Needs `make dist` first (make dist-check does it).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${BUILD:-build}
case "$build" in /*) ;; *) build="$top/$build" ;; esac
windows=$build/windows
dist=$build/dist
zip=$(ls "$dist"/vemotool-*.zip)

# The second build takes the first's toolchain, build type and options.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$windows/CMakeCache.txt"; }
toolchain=$(cache CMAKE_TOOLCHAIN_FILE)
options=()
while IFS= read -r option; do options+=("-D$option"); done < <(grep -E '^VEMO_[A-Z_]+:BOOL=' "$windows/CMakeCache.txt")

other=$(mktemp -d "${TMPDIR:-/tmp}/vemotool-again.XXXXXX")
trap 'rm -rf "$other"' EXIT
mkdir "$other/src"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
  tar -c --null -T - | tar -x -C "$other/src"

echo "== building vemotool.exe and vemofix.exe again in $other/src"
cmake -S "$other/src" -B "$other/src/build/windows" -G Ninja "${options[@]}" -DVEMO_TESTS=OFF \
  -DCMAKE_BUILD_TYPE="$(cache CMAKE_BUILD_TYPE)" \
  -DCMAKE_TOOLCHAIN_FILE="${toolchain/#$top/$other/src}" >/dev/null
cmake --build "$other/src/build/windows" --target vemotool vemofix -j 2 >/dev/null
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) \
  python3 "$other/src/scripts/dist.py" "$other/src/build/windows" "$other/dist" >/dev/null

status=0
for file in vemotool.exe vemofix.exe; do
  if cmp "$windows/$file" "$other/src/build/windows/$file"; then
    echo "same bytes: $file"
  else
    echo "FAIL: $file differs between the two builds"
    status=1
  fi
done
if cmp "$zip" "$other/dist/$(basename "$zip")"; then
  echo "same bytes: $(basename "$zip")"
else
  echo "FAIL: the release zip differs between the two builds"
  status=1
fi
exit $status
