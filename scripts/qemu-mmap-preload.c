/* Preloaded into Wine's 32-bit loader where it runs under qemu-i386 (scripts/wine.sh
 * builds it and has qemu set LD_PRELOAD for the guest). Not part of any program users get.
 *
 * At every start Wine reserves the address space above 2 GiB with mmap(MAP_FIXED_NOREPLACE),
 * halving what it asks for down to 64 KiB pieces whenever a request does not land where it
 * asked. qemu 7.2 ignores MAP_FIXED_NOREPLACE and maps each request elsewhere in the guest's
 * address space (QEMU_RESERVED_VA), which Wine then unmaps: about 65,000 calls, each a walk of
 * qemu's page tables, two seconds of every start. A request that reaches beyond the guest's
 * address space is answered here at once, as the kernel answers one that finds no room.
 *
 * Built without the C library's headers (a 64-bit machine has none for i386): the few
 * declarations it needs are written out. VEMO_GUEST_TOP is QEMU_RESERVED_VA. */
typedef unsigned int size_t;
typedef long off_t;
typedef long long off64_t;

void *dlsym(void *handle, const char *name);
int *__errno_location(void);
int unsetenv(const char *name);

#define RTLD_NEXT ((void *)-1)
#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void *)-1)
#define ENOMEM 12

static int BeyondTheGuest(void *addr, size_t length, int flags) {
  return (flags & MAP_FIXED_NOREPLACE) &&
         (unsigned long long)(unsigned long)addr + length > VEMO_GUEST_TOP;
}

void *mmap64(void *addr, size_t length, int prot, int flags, int fd, off64_t offset) {
  static void *(*next)(void *, size_t, int, int, int, off64_t);
  if (BeyondTheGuest(addr, length, flags)) {
    *__errno_location() = ENOMEM;
    return MAP_FAILED;
  }
  if (!next) next = (void *(*)(void *, size_t, int, int, int, off64_t))dlsym(RTLD_NEXT, "mmap64");
  return next(addr, length, prot, flags, fd, offset);
}

void *mmap(void *addr, size_t length, int prot, int flags, int fd, off_t offset) {
  return mmap64(addr, length, prot, flags, fd, offset);
}

/* The 64-bit programs a 32-bit one starts must not inherit LD_PRELOAD (their loader would
 * complain of a 32-bit library); qemu sets it again for every 32-bit one. */
__attribute__((constructor)) static void ForgetThePreload(void) {
  unsetenv("LD_PRELOAD");
}
