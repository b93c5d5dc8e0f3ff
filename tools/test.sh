#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: a release build, in which every
# compiler warning is an error, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Then the tests labelled `threads` (those of
# our own threads) run a third time, built with ThreadSanitizer. The tests labelled `long` (a
# whole simulated broadcast day) run in the release build only.
# Last, the libFuzzer targets are built with clang and each runs briefly on its seed corpus.
#   tools/test.sh [--no-sanitize] [--only-sanitize] [--no-tsan] [--only-tsan] [--no-fuzz]
#                 [ctest arguments...]
# --no-sanitize runs the release build alone; --only-sanitize the two sanitizer builds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
normal=1; sanitize=1; tsan=1; fuzz=1
fuzz_seconds=${ONDRAKE_FUZZ_SECONDS:-10}
while [ $# -gt 0 ]; do
  case "$1" in
    --no-sanitize) sanitize=0; tsan=0; fuzz=0; shift ;;
    --only-sanitize) normal=0; fuzz=0; shift ;;
    --no-tsan) tsan=0; shift ;;
    --only-tsan) normal=0; sanitize=0; fuzz=0; shift ;;
    --no-fuzz) fuzz=0; shift ;;
    *) break ;;
  esac
done
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen TZ=Asia/Tokyo

run_suite() {  # build-dir label ctest-selection setup-args...  ("" runs every test)
  local dir=$1 label=$2 only=$3; shift 3
  echo "=== $label build ($dir)"
  bash "$here/tools/setup.sh" --build-dir "$dir" "$@"
  echo "=== $label tests"
  local log="$dir/ctest-summary.log" rc=0 select=()
  [ -n "$only" ] && read -r -a select <<<"$only"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" "${select[@]}" "${extra[@]}") 2>&1 |
    tee "$log" || rc=1
  # "NN% tests passed, F tests failed out of T"
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    total_failed=$((total_failed + f)); total_passed=$((total_passed + t - f))
  else
    rc=1
  fi
  return $rc
}

extra=("$@")
status=0; total_passed=0; total_failed=0
# The release build takes no warning: each is an error there.
[ $normal -eq 1 ] && { run_suite "$here/build" "release" "" --werror || status=1; }
[ $sanitize -eq 1 ] && { run_suite "$here/build-asan" "sanitizer" "-LE long" --sanitize --type RelWithDebInfo || status=1; }
[ $tsan -eq 1 ] && { run_suite "$here/build-tsan" "thread sanitizer" "-L threads" --tsan --type RelWithDebInfo || status=1; }
if [ $fuzz -eq 1 ]; then
  echo "=== fuzz targets (${fuzz_seconds}s each)"
  bash "$here/tools/fuzz.sh" "$fuzz_seconds" "$here/build-fuzz" || status=1
fi
echo "tests: $total_passed passed, $total_failed failed"
exit $status
