#!/usr/bin/env bash
# Makes 32-bit Windows programs start under Wine on this machine. Where the kernel runs
# 32-bit Linux binaries this does nothing. Where it does not ("Exec format error": 32-bit
# emulation switched off), Wine's 32-bit loader runs under qemu's user-mode i386 emulation,
# registered once per boot (needs root; about 50 s a program start). Sourced by wine-env.sh
# callers that start 32-bit programs: it exports what qemu needs.
wine32_loader=/usr/lib/wine/wine
if [ ! -x "$wine32_loader" ]; then
  echo "error: $wine32_loader is missing (package wine32:i386, scripts/install-deps.sh)" >&2
  return 1 2>/dev/null || exit 1
fi
if ! "$wine32_loader" --version >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    # i386 ELF executables and shared objects; F: qemu is opened now, so it works in any
    # mount namespace.
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' |
      $SUDO tee "$binfmt/register" >/dev/null
  fi
  # Without it the 32-bit loader cannot map the shared user data (c0000018).
  export QEMU_RESERVED_VA=0xffff0000
  if ! "$wine32_loader" --version >/dev/null 2>&1; then
    echo "error: 32-bit programs do not start, not even under qemu-i386" >&2
    return 1 2>/dev/null || exit 1
  fi
fi
