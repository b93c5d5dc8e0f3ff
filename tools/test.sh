#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: a release build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
#   tools/test.sh [--no-sanitize] [--only-sanitize] [ctest arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
normal=1; sanitize=1
while [ $# -gt 0 ]; do
  case "$1" in
    --no-sanitize) sanitize=0; shift ;;
    --only-sanitize) normal=0; shift ;;
    *) break ;;
  esac
done
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen TZ=Asia/Tokyo

run_suite() {  # build-dir label setup-args...
  local dir=$1 label=$2; shift 2
  echo "=== $label build ($dir)"
  bash "$here/tools/setup.sh" --build-dir "$dir" "$@"
  echo "=== $label tests"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" "${extra[@]}")
}

extra=("$@")
status=0
[ $normal -eq 1 ] && { run_suite "$here/build" "release" || status=1; }
[ $sanitize -eq 1 ] && { run_suite "$here/build-asan" "sanitizer" --sanitize --type RelWithDebInfo || status=1; }
exit $status
