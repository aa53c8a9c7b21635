# make run    build, prepare a Wine prefix with a demo, start vemotool.exe
# make test   build both builds and a native test build, and run every test
# make build  the programs users run: build/native/vemofix (optimised), build/windows/*.exe
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
BENCH := $(BUILD)/bench

.PHONY: all build deps native native-test windows test run bench fuzz format clean \
        dist dist-check install uninstall

all: build

deps:
	@scripts/install-deps.sh

build: native windows

# Every build waits for the dependencies, so `make -j` installs them before compiling.
native native-test windows: deps

# What Linux users run: optimised, no sanitizers, no tests; vemofix at $(NATIVE)/vemofix.
native:
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVEMO_SANITIZE=OFF -DVEMO_TESTS=OFF
	cmake --build $(NATIVE)

# The unit tests, with sanitizers.
native-test:
	cmake -S . -B $(NATIVE_TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(NATIVE_TEST)

windows:
	cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake
	cmake --build $(WINDOWS)

test: build native-test
	@scripts/test.sh

run: build
	@scripts/run.sh

bench: deps
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DVEMO_BENCH=ON -DVEMO_SANITIZE=OFF -DVEMO_TESTS=OFF
	cmake --build $(BENCH)
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
