#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need (qemu-user: where the
# kernel cannot run 32-bit programs, Wine's 32-bit loader runs under its emulation; the
# Japanese fonts and python3-fonttools: vemofix --suggest is tested on real fonts against an
# independent reader, and the demo registers them).
# Does nothing when everything is already there.
#   scripts/install-deps.sh fuzz   also clang and its libFuzzer runtime, for `make fuzz` only
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  libgtest-dev googletest libbenchmark-dev
  wine wine64 wine32:i386 qemu-user python3
  xvfb xauth x11-apps imagemagick
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-vlgothic fonts-noto-cjk python3-fonttools
  locales
  python3 groff-base man-db
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
# wine32 runs the 32-bit programs users get.
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
# A mirror in the middle of a sync serves some index files with the wrong size for a while
# (seen for the i386 security updates): the update is tried again, and when an index still
# fails, the install goes on with the indexes that came. It fails only if what is missing
# cannot be found in them.
apt_get() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o Acquire::Retries=3 "$@"; }
for attempt in 1 2 3; do
  apt_get update -qq && break
  if [ "$attempt" -eq 3 ]; then
    echo "warning: some package indexes did not download; installing from the others" >&2
  else
    echo "apt-get update failed; trying again in $((attempt * 10)) s" >&2
    sleep $((attempt * 10))
  fi
done
apt_get install -y -qq --no-install-recommends "${missing[@]}"
