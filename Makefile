# make run    build, prepare a Wine prefix with a demo, start vemotool.exe
# make test   build everything, the 64-bit Windows test build too, and run every test
# make build  the programs: build/windows/vemotool.exe and vemofix.exe (32-bit, for Windows
#             XP SP3 to 11) and the native build (build/native)
# make bench  the rewrite's benchmark (native, optimised)
# make fuzz   the libFuzzer targets, 60 s each (FUZZ_SECONDS=n for longer; needs clang)
# BUILD=dir   put everything under another folder (default: build)

BUILD ?= build
export BUILD
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
WINDOWS_X64 := $(BUILD)/windows-x64
BENCH := $(BUILD)/bench

.PHONY: all build deps native windows windows-x64 test run bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps native windows

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(NATIVE)

# The programs users get: 32-bit, nothing else in the folder.
windows: deps
	@# A folder configured by an older tree for the 64-bit compilers is made anew.
	@if [ -f $(WINDOWS)/CMakeCache.txt ] && ! grep -q mingw-w64-i686 $(WINDOWS)/CMakeCache.txt; \
	  then rm -rf $(WINDOWS); fi
	cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEMO_TESTS=OFF \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-i686.cmake
	cmake --build $(WINDOWS)

# The same sources built 64-bit, with the Windows tests: these machines start 32-bit programs
# only under emulation, so the bulk of the tests drive this build; a smoke test drives the
# 32-bit programs of $(WINDOWS).
windows-x64: deps
	cmake -S . -B $(WINDOWS_X64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	      -DVEMO_SHIPPED_DIR=$(abspath $(WINDOWS))
	cmake --build $(WINDOWS_X64)

test: build windows-x64
	@scripts/test.sh

run: build windows-x64
	@scripts/run.sh

bench: deps
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DVEMO_BENCH=ON -DVEMO_SANITIZE=OFF -DVEMO_TESTS=OFF
	cmake --build $(BENCH)
	@scripts/bench.sh

fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
