#!/usr/bin/env bash
# Runs one test program with its own temporary HOME and XDG folders, a fixed time zone and the
# offscreen Qt platform, so no test touches the user's settings, windows or clock.
set -u
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ondrake-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/config" "$tmp/runtime" "$tmp/work"
chmod 700 "$tmp/runtime"
here=$(cd "$(dirname "$0")" && pwd)
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/runtime"
export TMPDIR="$tmp/work"
export QT_QPA_PLATFORM=offscreen TZ=Asia/Tokyo LANG=C.UTF-8 LC_ALL=C.UTF-8
# Never let a test set the machine's clock.
export ONDRAKE_CLOCK_DRY_RUN=1
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export TSAN_OPTIONS="suppressions=$here/tsan.supp:second_deadlock_stack=1${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
"$@"
