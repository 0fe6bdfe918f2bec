#!/usr/bin/env bash
# The project's one entry script.
#   ./run.sh run     install what is missing, build the configuration program and the virtual
#                    controller, and open the program on the attached controller, or else on a virtual
#                    controller with current firmware on a private bus, its LED window beside it (needs a
#                    display); further arguments go to the program
#   ./run.sh update  the same for the firmware updater: a virtual controller with older firmware is
#                    updated in the updater's window (silently without a display); further arguments go
#                    to the updater
#   ./run.sh test    install what is missing, build (normal, AddressSanitizer+UBSan, ThreadSanitizer)
#                    and run the whole test suite through CTest
#   ./run.sh bench   Release build of bench/, runs every benchmark and prints the figures
#   ./run.sh fuzz    clang + libFuzzer build, a bounded run of every fuzz target
#   ./run.sh package Release build of the programs, the Debian package (build/package/deb/) and its
#                    lintian check
#   ./run.sh walkthrough  builds halcyra and the virtual controller and walks through the LED page
#                    under Xvfb, saving pictures of each step (build/debug/walkthrough/); further
#                    arguments go to tools/walkthrough/led-walkthrough.sh (--ui N, --check, --out DIR)
# Environment: JOBS (default 2), FUZZ_SECONDS (default 60 per target), RUN_BUILD_DIR (default build/debug).
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
JOBS=${JOBS:-2}

# Debian packages each command needs. Everything the project uses is listed here and nowhere else.
BASE_PACKAGES=(g++ cmake ninja-build pkg-config ccache git python3
  qt6-base-dev libfontconfig-dev libjpeg62-turbo-dev libgl-dev libgtest-dev libgmock-dev libudev-dev libsystemd-dev
  xvfb xauth xdotool librsvg2-bin
  qemu-system-x86 busybox-static cpio
  python3-fonttools fonts-noto-core fonts-roboto-unhinted fonts-play)
BENCH_PACKAGES=(libbenchmark-dev libpugixml-dev libtinyxml2-dev shared-mime-info)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils appstream)
# The programs' windows on a Wayland desktop (the X11 plugin comes with qt6-base).
RUN_PACKAGES=(qt6-wayland)
# The LED page walk-through: input, window captures and picture conversion under Xvfb.
WALKTHROUGH_PACKAGES=(xdotool x11-apps x11-utils imagemagick)
# What a screen reader sees, end to end: the AT-SPI registry on a private D-Bus session and its
# Python client.
ACCESSIBILITY_PACKAGES=(at-spi2-core python3-pyatspi dbus-daemon)

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
# ccache keys on paths relative to the repository, so a fresh clone in another folder (as CI makes)
# reuses what an earlier build compiled.
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1

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
  ensure_packages "${BASE_PACKAGES[@]}" "${WALKTHROUGH_PACKAGES[@]}" "${ACCESSIBILITY_PACKAGES[@]}"
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

# Whether a real controller (application firmware or boot loader) is attached through hidraw.
real_controller_attached() {
  grep -qsiE '^HID_ID=[0-9a-f]+:00002516:0000(004F|0050)$' /sys/class/hidraw/*/device/uevent
}

# The processes and folder of ./run.sh run and update, stopped and removed however it ends, and the
# program folder whose programs use the virtual controller.
RUN_PROGRAM= RUN_CONTROLLER= RUN_WORK= RUN_PROGRAM_FOLDER=
run_cleanup() {
  local p
  for p in $RUN_PROGRAM $RUN_CONTROLLER; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  [ -n "$RUN_WORK" ] && rm -rf "$RUN_WORK"
  return 0
}

# The package's firmware version: a virtual controller that already runs it needs no update.
PACKAGE_FIRMWARE=1.1.0

cmd_run() {
  ensure_packages "${BASE_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
  local dir=${RUN_BUILD_DIR:-build/debug}
  configure "$dir" -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$dir" --parallel "$JOBS" --target halcyra halcyractl virtual-controller
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the configuration program needs one." >&2
    return 3
  fi
  local program=$dir/program/halcyra
  # Words after "run" go to the program (for example "ui:1" for the 1366x768 skin, "debug"), except
  # "--fresh", which starts the virtual controller afresh.
  local words=() fresh=()
  local word
  for word in "$@"; do
    if [ "$word" = --fresh ]; then fresh=(--fresh); else words+=("$word"); fi
  done
  if real_controller_attached; then
    echo "A controller is attached: configuring it."
    exec "$program" "${words[@]}"
  fi

  # A virtual controller with the updater's firmware, with its LED window. Like a real one it keeps
  # what was applied from one run to the next: its state lives in the person's state folder (the
  # controller's default, $XDG_STATE_HOME/halcyra/virtual-controller), which --fresh forgets. The
  # program keeps the person's own settings files.
  start_virtual_controller "$dir" --firmware "$PACKAGE_FIRMWARE" "${fresh[@]}"
  run_until_it_ends halcyra "$program" "${words[@]}"
}

# Puts a virtual controller (build tree $1, further options for it) on a private bus in a temporary
# folder, removed again when this command ends. Without a display it has no window.
start_virtual_controller() {
  local dir=$1; shift
  local work
  work=$(mktemp -d "${TMPDIR:-/tmp}/halcyra-run.XXXXXX")
  export TARNLINK_BUS=$work/bus
  mkdir -p "$TARNLINK_BUS"
  local options=(--bus "$TARNLINK_BUS" "$@")
  [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && options+=(--no-window)
  "$dir/simulator/virtual-controller" "${options[@]}" </dev/null >"$work/controller.log" 2>&1 &
  RUN_CONTROLLER=$!
  RUN_WORK=$work
  RUN_PROGRAM_FOLDER=$(realpath "$dir/program")
  trap run_cleanup EXIT
  trap 'exit 130' INT TERM HUP
  wait_for_controller "$work/controller.log"
}

# Runs program $2 (named $1 in the last line) with the remaining arguments and returns its exit code;
# in the background so that an interrupt is handled at once (the trap stops it too).
run_until_it_ends() {
  local name=$1 program=$2; shift 2
  local code=0
  "$program" "$@" &
  RUN_PROGRAM=$!
  wait "$RUN_PROGRAM" || code=$?
  RUN_PROGRAM=
  echo "$name ended with exit code $code."
  # The configuration program ends with 1 without a word when another copy runs (it asks that copy to
  # bring its window forward): say why here, where a person started it.
  if [ "$name" = halcyra ] && [ "$code" -eq 1 ]; then
    echo "Another copy of halcyra is running (perhaps from another checkout or session): its window was asked to come forward."
  fi
  # An update started from the configuration program goes on after the program has closed, and starts
  # it again when it succeeds: the virtual controller stays until every program of the folder has ended.
  if program_folder_busy "$RUN_PROGRAM_FOLDER"; then
    echo "The updater (or the program it started again) is still running: the virtual controller stays until it ends."
    while program_folder_busy "$RUN_PROGRAM_FOLDER"; do sleep 0.5; done
  fi
  return "$code"
}

# Whether a program of program folder $1 (the configuration program or the updater) runs on this
# command's virtual bus (it inherited TARNLINK_BUS from it; another run's programs have their own bus).
program_folder_busy() {
  local folder=$1 process exe
  [ -n "$folder" ] || return 1
  for process in /proc/[0-9]*; do
    exe=$(readlink "$process/exe" 2>/dev/null) || continue
    case "$exe" in
      "$folder/halcyra" | "$folder/Tessaflash/tessaflash")
        tr '\0' '\n' <"$process/environ" 2>/dev/null | grep -qxF "TARNLINK_BUS=$TARNLINK_BUS" && return 0 ;;
    esac
  done
  return 1
}

# Waits until the virtual controller logging to $1 is on its bus, and shows its first line.
wait_for_controller() {
  local i
  for i in $(seq 50); do
    grep -q ' on ' "$1" 2>/dev/null && break
    kill -0 "$RUN_CONTROLLER" 2>/dev/null || { cat "$1" >&2; exit 1; }
    sleep 0.1
  done
  head -n 1 "$1"
}

cmd_update() {
  ensure_packages "${BASE_PACKAGES[@]}" "${RUN_PACKAGES[@]}"
  local dir=${RUN_BUILD_DIR:-build/debug}
  configure "$dir" -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$dir" --parallel "$JOBS" --target tessaflash_firmware_package virtual-controller
  local updater=$dir/program/Tessaflash/tessaflash
  local display=${DISPLAY:-${WAYLAND_DISPLAY:-}}
  # Options after "update" go to the updater (for example "true": start the update without waiting for OK).
  local args=("$@")
  if [ -z "$display" ]; then
    echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running the silent update instead of the window."
    args+=(-silent)
  fi

  if real_controller_attached; then
    echo "A controller is attached: updating it."
    exec "$updater" "${args[@]}"
  fi

  # A virtual controller with the factory firmware, older than the updater's package. Its flash takes
  # no time; each write's reply comes 25 ms late so that the progress bar can be watched.
  # It keeps no state: every update starts from the factory firmware.
  start_virtual_controller "$dir" --no-state --fault delay:1F,ms=25
  run_until_it_ends tessaflash "$updater" "${args[@]}"
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
  # The skin-folder target needs Qt: a tree of its own with Qt, only that target built.
  configure build/fuzz-qt -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DHALCYRA_FUZZ=ON -DHALCYRA_WITH_QT=ON -DHALCYRA_WERROR=OFF
  cmake --build build/fuzz-qt --parallel "$JOBS" --target fuzz_skin_folder
  for f in build/fuzz/tests/fuzz/fuzz_* build/fuzz-qt/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    echo "== $name ($seconds s)"
    # Seeds committed next to the target start the corpus. Each input has at most 10 s and 2 GB (the
    # whole process, Qt included) and no single allocation above 512 MB.
    QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=tests/fuzz/lsan.supp "$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
      -print_final_stats=1 "$corpus" "tests/fuzz/seeds/${name#fuzz_}"
  done
}

# The .deb of the installed programs (packaging/): a Release tree without tests, CPack, then lintian,
# which must report no errors.
cmd_package() {
  ensure_packages "${BASE_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
  local dir=build/package
  configure "$dir" -DCMAKE_BUILD_TYPE=Release -DHALCYRA_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
  build "$dir"
  rm -f "$dir"/deb/*.deb
  (cd "$dir" && cpack -G DEB)
  local deb
  deb=$(ls "$dir"/deb/*.deb)
  echo "== lintian $deb"
  lintian --fail-on error --info "$deb"
  # The desktop entries and the AppStream metadata as the package holds them.
  local unpacked=$dir/deb/unpacked
  rm -rf "$unpacked"
  dpkg-deb -x "$deb" "$unpacked"
  desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
  appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
  rm -rf "$unpacked"
  echo "Package: $deb"
}

cmd_walkthrough() {
  ensure_packages "${BASE_PACKAGES[@]}" "${WALKTHROUGH_PACKAGES[@]}"
  local dir=${RUN_BUILD_DIR:-build/debug}
  configure "$dir" -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$dir" --parallel "$JOBS" --target halcyra virtual-controller
  tools/walkthrough/led-walkthrough.sh --build "$dir" "$@"
}

case "${1:-}" in
  run) shift; cmd_run "$@" ;;
  update) shift; cmd_update "$@" ;;
  test) cmd_test ;;
  bench) cmd_bench ;;
  fuzz) cmd_fuzz ;;
  package) cmd_package ;;
  walkthrough) shift; cmd_walkthrough "$@" ;;
  *) echo "usage: $0 run | update | test | bench | fuzz | package | walkthrough" >&2; exit 2 ;;
esac
