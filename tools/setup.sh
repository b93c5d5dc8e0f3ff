#!/usr/bin/env bash
# Installs what the build needs (Debian packages only), then configures and builds.
#   tools/setup.sh [--deps-only] [--build-dir DIR] [--sanitize | --tsan] [--type Release|Debug]
#                  [--werror] [--targets "NAME..."]
# --targets builds only the targets named (tools/demo.sh: the two programs and the demo station
# writer); the configuration is the same as for a full build, which later goes on from there.
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer (in build-asan),
# --tsan with ThreadSanitizer (in build-tsan; only the tests labelled `threads`, no benchmarks).
# --werror makes every compiler warning an error; without it the build folder's last choice stays.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-alsa gstreamer1.0-tools
  timgm6mb-soundfont
  libasound2-dev libhidapi-dev
  clang libclang-rt-14-dev
  fonts-ipafont-gothic fontconfig
  xvfb xauth
  libc-bin locales
)

deps_only=0; sanitize=0; tsan=0; werror=0; build_dir=""; build_type=Release; targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --deps-only) deps_only=1 ;;
    --sanitize) sanitize=1 ;;
    --tsan) tsan=1 ;;
    --werror) werror=1 ;;
    --build-dir) build_dir=$2; shift ;;
    --type) build_type=$2; shift ;;
    --targets) read -r -a targets <<<"$2"; shift ;;
    *) echo "setup.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "setup.sh: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update
  $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
[ $deps_only -eq 1 ] && exit 0

if [ $sanitize -eq 1 ] && [ $tsan -eq 1 ]; then
  echo "setup.sh: --sanitize and --tsan need separate builds" >&2; exit 2
fi
if [ -z "$build_dir" ]; then
  build_dir="$here/build"
  [ $sanitize -eq 1 ] && build_dir="$here/build-asan"
  [ $tsan -eq 1 ] && build_dir="$here/build-tsan"
fi
opts=(-G Ninja -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE="$build_type")
[ $sanitize -eq 1 ] && opts+=(-DONDRAKE_SANITIZE=ON)
[ $tsan -eq 1 ] && opts+=(-DONDRAKE_TSAN=ON)
[ $werror -eq 1 ] && opts+=(-DONDRAKE_WERROR=ON)
cmake "${opts[@]}"
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build_dir" -j "$(nproc)"
fi
