#!/usr/bin/env bash
# Quadrantine Cubestacks: set-up, build, run and test.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev ccache xvfb xauth xdotool imagemagick)
BUILD_DIR=${BUILD_DIR:-build}
BUILD_TYPE=${BUILD_TYPE:-Release}

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing missing packages: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
      sudo="sudo"
    else
      echo "error: these packages are missing and cannot be installed without root:" >&2
      echo "  apt-get install -y $missing" >&2
      exit 1
    fi
  fi
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
}

build() {
  install_packages
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "$@"
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

case "${1:-}" in
  run)
    shift
    build
    exec "$BUILD_DIR/bin/cubestacks" "$@"
    ;;
  test)
    shift
    build
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)" "$@"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
