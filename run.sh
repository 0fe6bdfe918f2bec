#!/usr/bin/env bash
# The project's one entry script.
#   ./run.sh test    install what is missing, build (normal, AddressSanitizer+UBSan, ThreadSanitizer)
#                    and run the whole test suite through CTest
#   ./run.sh bench   Release build of bench/, runs every benchmark and prints the figures
#   ./run.sh fuzz    clang + libFuzzer build, a bounded run of every fuzz target
# Environment: JOBS (default 2), FUZZ_SECONDS (default 60 per target).
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
JOBS=${JOBS:-2}

# Debian packages each command needs. Everything the project uses is listed here and nowhere else.
BASE_PACKAGES=(g++ cmake ninja-build pkg-config ccache git python3
  qt6-base-dev libgl-dev libgtest-dev libgmock-dev libudev-dev libsystemd-dev
  xvfb xauth
  qemu-system-x86 busybox-static cpio
  python3-fonttools fonts-noto-core fonts-roboto-unhinted fonts-play)
BENCH_PACKAGES=(libbenchmark-dev libpugixml-dev libtinyxml2-dev shared-mime-info)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# Installs the packages that are missing (as root), or prints the exact apt-get line and stops.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local line="apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Run as root:" >&2
    echo "  apt-get update && $line" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure <dir> <cmake args...>: configures once; later runs only re-check (CMake regenerates itself).
configure() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
  fi
}

build() { cmake --build "$1" --parallel "$JOBS"; }

run_ctest() {
  local dir=$1; shift
  ctest --test-dir "$dir" --output-on-failure --parallel "$JOBS" --no-tests=ignore "$@"
}

cmd_test() {
  ensure_packages "${BASE_PACKAGES[@]}"
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

  # ThreadSanitizer: the device-access code, no Qt.
  configure build/tsan -DCMAKE_BUILD_TYPE=Debug -DHALCYRA_SANITIZE=thread -DHALCYRA_WITH_QT=OFF
  build build/tsan
  run_ctest build/tsan -L tsan

  # AddressSanitizer + UndefinedBehaviorSanitizer: every unit test.
  configure build/asan -DCMAKE_BUILD_TYPE=Debug -DHALCYRA_SANITIZE=address
  build build/asan
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest build/asan -L unit

  # Normal build: the whole suite.
  configure build/debug -DCMAKE_BUILD_TYPE=Debug
  build build/debug
  run_ctest build/debug
}

cmd_bench() {
  ensure_packages "${BASE_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
  configure build/release -DCMAKE_BUILD_TYPE=Release -DHALCYRA_BENCH=ON -DHALCYRA_TESTS=OFF
  build build/release
  local b
  for b in build/release/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
  done
}

cmd_fuzz() {
  ensure_packages "${BASE_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
  configure build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DHALCYRA_FUZZ=ON -DHALCYRA_WITH_QT=OFF -DHALCYRA_WERROR=OFF
  build build/fuzz
  local seconds=${FUZZ_SECONDS:-60} f name corpus
  for f in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    echo "== $name ($seconds s)"
    # Seeds committed next to the target start the corpus.
    "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "$corpus" "tests/fuzz/seeds/${name#fuzz_}"
  done
}

case "${1:-}" in
  test) cmd_test ;;
  bench) cmd_bench ;;
  fuzz) cmd_fuzz ;;
  *) echo "usage: $0 test | bench | fuzz" >&2; exit 2 ;;
esac
