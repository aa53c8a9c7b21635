# make run    build, prepare a Wine prefix with a demo, start vemotool.exe
# make test   build both builds and run every test
# make build  build both builds (build/native, build/windows/vemotool.exe)
# make bench  the rewrite's benchmark (native, optimised)
# make fuzz   the libFuzzer targets, 60 s each (FUZZ_SECONDS=n for longer; needs clang)
# BUILD=dir   put everything under another folder (default: build)

BUILD ?= build
export BUILD
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
BENCH := $(BUILD)/bench

.PHONY: all build deps native windows test run bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps native windows

native:
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(NATIVE)

windows:
	cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake
	cmake --build $(WINDOWS)

test: build
	@scripts/test.sh

run: build
	@scripts/run.sh

bench: deps
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DVEMO_BENCH=ON -DVEMO_SANITIZE=OFF -DVEMO_TESTS=OFF
	cmake --build $(BENCH) -j2
	@scripts/bench.sh

fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
