#!/usr/bin/env bash
# Makes 32-bit Windows programs start under Wine on this machine, and exports what they need.
# Sourced before anything makes or uses the Wine prefix (scripts/wine-prefix.sh sources it
# too): a prefix made while 32-bit programs cannot start gets no 32-bit half.
#  - Where qemu-i386 is registered for i386 binaries (by us, or by anyone before), the kernel
#    hands every 32-bit program to it, so its environment is exported, whether or not the
#    kernel could run them itself.
#  - Else, where the kernel runs 32-bit binaries, nothing is needed.
#  - Else ("Exec format error": 32-bit emulation switched off) qemu-i386 is registered once
#    per boot (needs root) and its environment exported.
# Exports VEMO_WINE32 (native or qemu), so that a script sourced again under a caller that
# has done this returns at once. Returns non-zero, with the reason, when 32-bit programs
# cannot start.
wine32_loader=/usr/lib/wine/wine
wine32_binfmt=/proc/sys/fs/binfmt_misc

# Guest address space of a 32-bit program under qemu: 2 GiB and 16 MiB. Without a reserved
# size Wine's loader cannot map the shared user data (c0000018); with the whole 4 GiB
# (0xffff0000) every start takes about 50 s, as Wine (no wine-preloader in Debian) reserves the
# space above 2 GiB in 64 KiB steps under a qemu that ignores MAP_FIXED_NOREPLACE, and each
# step costs qemu a search of that space; at 0x80200000 and below no program starts (seen
# here). The programs are large-address aware, but none needs more than 2 GiB: the largest list
# a test rewrites is 2 MiB, and vemofix.exe rewrites the benchmark's 18.7 MB list in this space.
wine32_reserved_va=0x81000000

# True when qemu-i386 is registered and enabled: the kernel hands 32-bit binaries to it.
wine32_qemu_registered() {
  [ -e "$wine32_binfmt/qemu-i386" ] && head -n 1 "$wine32_binfmt/qemu-i386" | grep -qx enabled
}

# Registers qemu-i386 for i386 ELF executables and shared objects; F: qemu is opened now, so
# it works in any mount namespace.
wine32_register_qemu() {
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  [ -e "$wine32_binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$wine32_binfmt"
  [ -e "$wine32_binfmt/qemu-i386" ] ||
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' |
    $sudo tee "$wine32_binfmt/register" >/dev/null
  # Registered but switched off by someone: switched on again.
  wine32_qemu_registered || echo 1 | $sudo tee "$wine32_binfmt/qemu-i386" >/dev/null
}

# The loader's own words when it does not start (an "Exec format error", say), else nothing.
wine32_loader_fails() {
  local words
  words=$( (export LC_ALL=C && "$wine32_loader" --version) 2>&1 >/dev/null) && return 1
  echo "${words:-$wine32_loader exited with status $?}"
}

# Builds scripts/qemu-mmap-preload.c for the guest's address space (once per build folder;
# built aside and moved in, as several scripts may start at once) and has qemu preload it into
# every 32-bit program: a start takes about half a second instead of three. Without it (no
# compiler, say) everything still works, slowly.
wine32_preload() {
  local source="$top/scripts/qemu-mmap-preload.c"
  local library="$build_dir/qemu/mmap-preload-$wine32_reserved_va.so"
  if [ ! -f "$library" ] || [ "$source" -nt "$library" ]; then
    mkdir -p "$build_dir/qemu"
    local made
    made=$(mktemp "$build_dir/qemu/.mmap-preload.XXXXXX")
    # 32-bit code from the 64-bit compiler, linked to the i386 C library wine32 brings.
    if gcc -m32 -O2 -fPIC -ffreestanding -nostdinc -nostdlib -shared -Wall -Werror \
      -DVEMO_GUEST_TOP="${wine32_reserved_va}ULL" -o "$made" "$source" \
      /usr/lib/i386-linux-gnu/libc.so.6 >/dev/null 2>&1; then
      mv -f "$made" "$library"
    else
      rm -f "$made"
      echo "warning: could not build $source: 32-bit programs start slowly" >&2
      return 0
    fi
  fi
  export QEMU_SET_ENV="LD_PRELOAD=$library"
}

wine32_setup() {
  if [ ! -x "$wine32_loader" ]; then
    echo "error: $wine32_loader is missing (package wine32:i386, scripts/install-deps.sh)" >&2
    return 1
  fi
  local failure
  if ! wine32_qemu_registered; then
    failure=$(wine32_loader_fails) || {
      export VEMO_WINE32=native
      return 0
    }
    echo "32-bit programs do not start here ($failure): registering qemu-i386"
    wine32_register_qemu || return 1
  fi
  export QEMU_RESERVED_VA=$wine32_reserved_va
  wine32_preload
  if failure=$(wine32_loader_fails); then
    echo "error: 32-bit programs do not start, not even under qemu-i386: $failure" >&2
    return 1
  fi
  export VEMO_WINE32=qemu
}

# Done once per run: a caller's setup stands while qemu's registration is as it found it.
if [ "${VEMO_WINE32:-}" = native ] && ! wine32_qemu_registered; then
  true
elif [ "${VEMO_WINE32:-}" = qemu ] && wine32_qemu_registered &&
  [ "${QEMU_RESERVED_VA:-}" = "$wine32_reserved_va" ] && [ -n "${QEMU_SET_ENV:-}" ]; then
  true
else
  unset VEMO_WINE32
  wine32_setup
fi
