#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) in
# their own build folder and runs each for a number of seconds, seeded from fuzz/corpus/<name>.
#   tools/fuzz.sh [seconds (default 60)] [build dir (default build-fuzz)]
# A crash stops the run with the fuzzer's report and a crash-* input in the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build_dir=${2:-"$here/build-fuzz"}

CC=clang CXX=clang++ cmake -G Ninja -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DONDRAKE_FUZZ=ON -DONDRAKE_BUILD_TESTS=OFF -DONDRAKE_BUILD_BENCH=OFF
cmake --build "$build_dir" -j "$(nproc)" --target fuzz_all

# The targets that read files get them in a folder of this run, in memory where there is
# /dev/shm; a crash leaves nothing behind either.
memory=/dev/shm
[ -w "$memory" ] || memory=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$memory/ondrake-fuzz-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"

status=0
for src in "$here"/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  seeds="$here/fuzz/corpus/${name%_fuzz}"
  work="$build_dir/fuzz-corpus/$name"   # grows while fuzzing; the checked-in seeds stay as they are
  mkdir -p "$work"
  echo "=== $name for ${seconds}s"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  (cd "$build_dir" && "$build_dir/bin/$name" -max_total_time="$seconds" -max_len=4096 \
     -print_final_stats=1 "${args[@]}") || status=1
done
exit $status
