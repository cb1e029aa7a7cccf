#!/usr/bin/env bash
# Quadrantine Cubestacks: set-up, build, run and test.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run every test
#   ./build.sh sanitize   build the tests with AddressSanitizer and UndefinedBehaviorSanitizer
#                         in build-asan and run them; any report fails the run
#   ./build.sh fuzz [SECONDS]   build the libFuzzer targets with clang in build-fuzz and run
#                         each for SECONDS (default 30); a crash, hang or leak fails the run
#   ./build.sh package    build, then make a Debian package with CPack in build/packages
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libdeflate-dev ccache xvfb xauth xdotool imagemagick
          # the desktop tests: a window manager, a Wayland compositor with Xwayland,
          # their command-line tools, and Qt's Wayland plugin for the fallback
          openbox weston xwayland wmctrl x11-utils qt6-wayland
          # the install test: the desktop's own checkers; the package: dpkg-shlibdeps
          desktop-file-utils shared-mime-info appstream dpkg-dev file)
BUILD_DIR=${BUILD_DIR:-build}
# ccache serves every checkout of the project: paths inside it are taken as relative.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(pwd)}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
BUILD_TYPE=${BUILD_TYPE:-Release}
ASAN_BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
FUZZ_BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
# Only the fuzzers need clang and its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages "${PACKAGES[@]}" "$@")
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

# Sanitizer reports end the run with an error; leaks that Qt, fontconfig and
# the other system libraries keep on purpose are suppressed, ours are not.
sanitizer_env() {
  local supp
  supp="$(pwd)/tests/hardening/lsan.supp"
  export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:exitcode=23:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:report_error_type=1"
  export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
}

# The fuzz targets, each run for the given number of seconds from inputs made
# by the program's own writers (and the generated model and block sets, when
# the normal build has made them). What a target finds is kept in
# $FUZZ_BUILD_DIR/findings/<target>/ and fails the run.
FUZZ_TARGETS=(model_file set_file picture chunk)
run_fuzzers() {
  local seconds=${1:-30} corpus="$FUZZ_BUILD_DIR/corpus" target file failed=0
  install_packages "${FUZZ_PACKAGES[@]}"
  sanitizer_env
  export QT_QPA_PLATFORM=offscreen
  CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCUBESTACKS_FUZZ=ON -DCUBESTACKS_TESTS=OFF -DCUBESTACKS_BENCH=OFF
  cmake --build "$FUZZ_BUILD_DIR" --target fuzzers -j "$(nproc)"
  rm -rf "$corpus"
  "$FUZZ_BUILD_DIR/fuzz/fuzz_make_seeds" "$corpus"
  for file in "$BUILD_DIR"/bin/Models/*.cst "$BUILD_DIR"/bin/models/*.cst; do
    if [ -f "$file" ]; then cp "$file" "$corpus/model_file/"; fi
  done
  for file in "$BUILD_DIR"/bin/System/*.csd; do
    # the set file input starts with the number of copies to load
    if [ -f "$file" ]; then { printf '\001'; cat "$file"; } > "$corpus/set_file/$(basename "$file")"; fi
  done
  for file in "$BUILD_DIR"/bin/System/*.csb; do
    if [ -f "$file" ] && [ "$(stat -c %s "$file")" -le 65536 ]; then cp "$file" "$corpus/picture/"; fi
  done
  for target in "${FUZZ_TARGETS[@]}"; do
    mkdir -p "$FUZZ_BUILD_DIR/findings/$target"
    echo "== fuzz_$target for ${seconds} s"
    "$FUZZ_BUILD_DIR/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=512 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$FUZZ_BUILD_DIR/findings/$target/" \
      "$corpus/$target" || failed=1
  done
  if [ "$failed" -ne 0 ]; then
    echo "error: a fuzz target found a fault; the input is in $FUZZ_BUILD_DIR/findings/" >&2
    return 1
  fi
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
  sanitize)
    shift
    install_packages
    sanitizer_env
    export QT_QPA_PLATFORM=offscreen
    cmake -S . -B "$ASAN_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCUBESTACKS_SANITIZE=ON \
          -DCUBESTACKS_BENCH=OFF
    cmake --build "$ASAN_BUILD_DIR" -j "$(nproc)"
    ctest --test-dir "$ASAN_BUILD_DIR" --output-on-failure -j "$(nproc)" "$@"
    ;;
  fuzz)
    shift
    run_fuzzers "$@"
    ;;
  package)
    shift
    build
    # The dependencies come from the libraries the executables link (dpkg-shlibdeps).
    (cd "$BUILD_DIR" && cpack -G DEB)
    ls -1 "$BUILD_DIR"/packages/*.deb
    ;;
  *)
    echo "usage: $0 run|test|sanitize|fuzz|package" >&2
    exit 2
    ;;
esac
