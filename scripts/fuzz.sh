#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, natively) and runs each for FUZZ_SECONDS (60 by
# default) from the seed corpus in tests/fuzz_corpus/<target>; the font name reader's seeds
# are the heads of the machine's font files (scripts/font_seeds.py). New inputs go to a scratch
# corpus under the build folder, never into the repository; a crash leaves its input there
# too and fails the run.
#   FUZZ_SECONDS=600 scripts/fuzz.sh            both targets, ten minutes each
#   scripts/fuzz.sh table                        one target (table, rewrite, font_names)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}/fuzz
seconds=${FUZZ_SECONDS:-60}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(table rewrite font_names)

if ! command -v clang++ >/dev/null; then
  echo "error: clang++ is missing (Debian: apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build"

status=0
for target in "${targets[@]}"; do
  scratch="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$scratch" "$artifacts"
  seeds="tests/fuzz_corpus/$target"
  if [ "$target" = font_names ]; then
    seeds="$build/seeds/font_names"
    python3 scripts/font_seeds.py "$seeds"
  fi
  echo "== $target: $seconds s"
  if ! "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -dict="fuzz/$target.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
      "$scratch" "$seeds"; then
    echo "error: $target found a fault; the input is in $artifacts" >&2
    status=1
  fi
done
exit $status
