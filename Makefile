# make run    build, prepare a Wine prefix with a demo, start vemotool.exe
# make test   build everything, the Windows test build too, and run every test
# make build  the programs users run: build/windows/vemotool.exe and vemofix.exe (32-bit, for
#             Windows XP SP3 to 11) and build/native/vemofix (optimised)
# make demo   the driver of make run's demo without a display: build/windows/demo/vemo_demo.exe
# make dist   the release zip and its checksums at build/dist/
# make dist-check   build the Windows programs again elsewhere: same bytes, same zip
# make install / uninstall   vemofix and its man page (PREFIX=/usr/local, DESTDIR honoured)
# make bench  the rewrite's benchmark (native, optimised)
# make fuzz   the libFuzzer targets, 60 s each (FUZZ_SECONDS=n for longer; needs clang)
# BUILD=dir   put everything under another folder (default: build)

BUILD ?= build
export BUILD
NATIVE := $(BUILD)/native
NATIVE_TEST := $(BUILD)/native-test
DIST := $(BUILD)/dist
PREFIX ?= /usr/local
WINDOWS := $(BUILD)/windows
WINDOWS_TEST := $(BUILD)/windows-test
BENCH := $(BUILD)/bench

.PHONY: all build deps native native-test windows windows-test demo test run bench fuzz \
        format clean dist dist-check install uninstall

all: build

deps:
	@scripts/install-deps.sh

build: native windows

# Every build waits for the dependencies, so `make -j` installs them before compiling.
native native-test windows windows-test: deps

# Each build is the preset of its name in CMakePresets.json, in $(BUILD)/<name>; make gives
# only the folders.
#   native        what Linux users run: vemofix at $(NATIVE)/vemofix, optimised, no tests
#   native-test   the unit tests, with sanitizers
#   windows       the programs users get: 32-bit, nothing else in the folder
#   windows-test  the Windows tests, built 32-bit like the programs users get; the end-to-end
#                 tests drive the programs of $(WINDOWS) themselves
#   bench         the benchmark
native:
	cmake --preset native -B $(NATIVE)
	cmake --build $(NATIVE)

native-test:
	cmake --preset native-test -B $(NATIVE_TEST)
	cmake --build $(NATIVE_TEST)

windows:
	@# A folder configured by an older tree for the 64-bit compilers is made anew.
	@if [ -f $(WINDOWS)/CMakeCache.txt ] && ! grep -q mingw-w64-i686 $(WINDOWS)/CMakeCache.txt; \
	  then rm -rf $(WINDOWS); fi
	cmake --preset windows -B $(WINDOWS)
	cmake --build $(WINDOWS)

TESTS_TOOLCHAIN := $(CURDIR)/cmake/mingw-w64-i686-tests.cmake
windows-test: windows
	@# A folder configured for another toolchain is made anew.
	@if [ -f $(WINDOWS_TEST)/CMakeCache.txt ] && \
	  ! grep -q "=$(TESTS_TOOLCHAIN)\$$" $(WINDOWS_TEST)/CMakeCache.txt; then rm -rf $(WINDOWS_TEST); fi
	cmake --preset windows-test -B $(WINDOWS_TEST) \
	      -DVEMO_SHIPPED_DIR=$(abspath $(WINDOWS)) -DVEMO_RELEASE_PROGRAMS=$(abspath $(WINDOWS))
	cmake --build $(WINDOWS_TEST)

# make run's demo driver, built on demand in the programs' own build, without the tests.
demo: windows
	cmake --build $(WINDOWS) --target vemo_demo

test: build native-test windows-test
	@scripts/test.sh

run: build demo
	@scripts/run.sh

bench: deps
	cmake --preset bench -B $(BENCH)
	cmake --build $(BENCH) -j2
	@scripts/bench.sh

fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh

dist: windows
	@scripts/dist.py $(WINDOWS) $(DIST)

dist-check: dist
	@scripts/dist-check.sh

install: native
	install -D -m 755 $(NATIVE)/vemofix $(DESTDIR)$(PREFIX)/bin/vemofix
	install -D -m 644 doc/vemofix.1 $(DESTDIR)$(PREFIX)/share/man/man1/vemofix.1

uninstall:
	rm -f $(DESTDIR)$(PREFIX)/bin/vemofix $(DESTDIR)$(PREFIX)/share/man/man1/vemofix.1

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
