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
# GObjects (every GStreamer element, pad and bus) come from GLib's slice allocator, whose pages
# stay reachable, so a leaked one is invisible to LeakSanitizer; plain malloc makes each object a
# block of its own, and gc-friendly clears GLib's freed slots so stale pointers cannot keep one
# alive. GLib, GStreamer and their plugins have no frame pointers: only the slow unwinder gives
# the full stacks the narrow suppressions match. It makes a GStreamer test about three times as
# slow (everywhere it would double the whole run), so only AddressSanitizer programs that link
# GStreamer pay it.
asan_extra=""
dynamic=$(readelf --dynamic --dyn-syms "${1:-}" 2>/dev/null || true)
if grep -q '__asan_init' <<<"$dynamic" && grep -q 'libgstreamer-1\.0\.so' <<<"$dynamic"; then
  export G_SLICE=always-malloc G_DEBUG="${G_DEBUG:+$G_DEBUG,}gc-friendly"
  asan_extra=":fast_unwind_on_malloc=0"
fi
export TSAN_OPTIONS="suppressions=$here/tsan.supp:second_deadlock_stack=1${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1$asan_extra${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
"$@"
