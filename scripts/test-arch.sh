#!/usr/bin/env bash
# Prints the architecture the Windows tests are built for: i686 where this machine starts
# 32-bit programs directly, so that the tests drive the programs users get; x86_64 where
# 32-bit programs would start only under qemu (about 50 s a start). VEMO_TEST_ARCH=i686 or
# x86_64 chooses.
set -uo pipefail
case "${VEMO_TEST_ARCH:-}" in
  i686 | x86_64)
    echo "$VEMO_TEST_ARCH"
    exit 0
    ;;
  "") ;;
  *)
    echo "error: VEMO_TEST_ARCH is i686 or x86_64, not $VEMO_TEST_ARCH" >&2
    exit 2
    ;;
esac
# A registered qemu-i386 takes 32-bit programs over even where the kernel could run them.
qemu=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1 &&
  { [ ! -e "$qemu" ] || head -n 1 "$qemu" | grep -qx disabled; }; then
  echo i686
else
  echo x86_64
fi
