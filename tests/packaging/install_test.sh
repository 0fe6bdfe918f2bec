#!/usr/bin/env bash
# The installed programs, run from a scratch root: installs the build tree with DESTDIR (prefix /usr),
# checks the layout (program folder, links on the PATH, udev rule, desktop files, no test helpers),
# updates a virtual controller on a private bus with the installed `tessaflash -silent` started through
# its link in /usr/bin, lists it with the installed halcyractl, and shows the installed programs'
# windows under Xvfb with a screenshot each.
#
# install_test.sh BUILD_DIR WORK_DIR VIRTUAL_CONTROLLER SCREEN_GRAB PROGRAMS...
#   PROGRAMS: the programs the build installs (tessaflash, halcyra, halcyractl as far as they are built).
set -euo pipefail

build=$1 work=$2 controller_program=$3 screen_grab=$4
shift 4
programs=("$@")

rm -rf "$work"
mkdir -p "$work"
root=$work/root
folder=$root/usr/lib/halcyra
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log"

# --- Layout.
for f in usr/lib/halcyra/Skins.xml usr/lib/halcyra/Strings.xml usr/lib/halcyra/Languages/de/Strings.xml \
         usr/lib/halcyra/Skins/PopDlg usr/lib/halcyra/libtarnlink.so usr/lib/udev/rules.d/70-tarnlink.rules \
         usr/share/doc/halcyra/copyright; do
  [ -e "$root/$f" ] || fail "$f is not installed"
done
for res in 1920x1080 1366x768 960x540; do
  [ -f "$folder/Skins/$res/Buttons.xml" ] || fail "the $res skin is not installed"
done
declare -A in_folder=([halcyra]=halcyra [tessaflash]=Tessaflash/tessaflash [halcyractl]=halcyractl)
declare -A app_id=([halcyra]=com.marovell.Halcyra [tessaflash]=com.marovell.Tessaflash)
windowed=()
for p in "${programs[@]}"; do
  [ -n "${in_folder[$p]:-}" ] || { fail "unknown program $p"; continue; }
  [ -f "$root/usr/share/man/man1/$p.1.gz" ] || fail "the manual page of $p is not installed"
  link=$root/usr/bin/$p
  target=$(readlink "$link" || true)
  case $target in
    /*|"") fail "/usr/bin/$p is not a relative link (target: '$target')" ;;
  esac
  [ "$(readlink -f "$link")" = "$(readlink -f "$folder/${in_folder[$p]}")" ] ||
    fail "/usr/bin/$p does not lead to the program folder"
  [ -n "${app_id[$p]:-}" ] || continue
  windowed+=("$p")
  for f in "usr/share/applications/${app_id[$p]}.desktop" "usr/share/metainfo/${app_id[$p]}.metainfo.xml" \
           "usr/share/icons/hicolor/scalable/apps/${app_id[$p]}.svg" \
           "usr/share/icons/hicolor/48x48/apps/${app_id[$p]}.png"; do
    [ -f "$root/$f" ] || fail "$f is not installed"
  done
done
for helper in skin-gallery virtual-controller; do
  found=$(find "$root" -name "$helper")
  [ -z "$found" ] || fail "the test helper $helper is installed: $found"
done

# --- A private bus, runtime folder and home for the programs.
export TARNLINK_BUS=$work/bus XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
export XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$TARNLINK_BUS" "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

controller=
started=()
cleanup() {
  local p
  for p in "${started[@]}" $controller; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
}
trap cleanup EXIT

start_controller() {
  "$controller_program" --bus "$TARNLINK_BUS" --state-dir "$work/state" --no-window "$@" \
    </dev/null >"$work/controller.log" 2>&1 &
  controller=$!
  local i
  for i in $(seq 50); do
    grep -q ' on ' "$work/controller.log" 2>/dev/null && return 0
    sleep 0.1
  done
  cat "$work/controller.log" >&2
  return 1
}

# tessaflash through its link: it finds its package in its own file (exit 5 otherwise) and updates.
start_controller --fresh
code=0
"$root/usr/bin/tessaflash" -silent 2>"$work/tessaflash.log" >/dev/null || code=$?
[ "$code" -eq 0 ] || fail "tessaflash -silent ended with $code: $(cat "$work/tessaflash.log")"
grep -q 'done 100%' "$work/tessaflash.log" || fail "tessaflash printed no completed progress"
# The controller kept the new firmware: a second run refuses an equal version.
code=0
"$root/usr/bin/tessaflash" -silent 2>"$work/tessaflash-again.log" >/dev/null || code=$?
[ "$code" -eq 4 ] || fail "a second tessaflash -silent ended with $code, not 4: $(cat "$work/tessaflash-again.log")"

# halcyractl through its link lists the controller it finds on the bus.
if [[ " ${programs[*]} " == *" halcyractl "* ]]; then
  code=0
  "$root/usr/bin/halcyractl" list >"$work/halcyractl.log" 2>&1 || code=$?
  [ "$code" -eq 0 ] || fail "halcyractl list ended with $code: $(cat "$work/halcyractl.log")"
  grep -q "$TARNLINK_BUS" "$work/halcyractl.log" || fail "halcyractl list shows no controller on the bus: $(cat "$work/halcyractl.log")"
fi

# --- The windows under Xvfb: each installed program started through its link, the screen saved.
# The updater opens on the virtual controller with its compiled-in page; the configuration program
# opens without a controller (nodev) on the 1366x768 skin (ui:1), and its window must be the size of
# that skin's main page picture: it found its skin in the program folder behind the link.
declare -A window_args=([halcyra]="nodev ui:1" [tessaflash]=-force)
declare -A window_picture=([halcyra]=$folder/Skins/1366x768/Main_Normal.jpg [tessaflash]=)
for p in "${windowed[@]}"; do
  shot=$work/$p.png
  code=0
  xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
    "$1" $2 >"$3.log" 2>&1 &
    program=$!
    code=0
    "$4" "$5" 15 ${6:+"$6"} || code=$?
    kill $program 2>/dev/null
    wait $program 2>/dev/null
    exit $code' _ "$root/usr/bin/$p" "${window_args[$p]}" "$work/$p-window" "$screen_grab" "$shot" \
    "${window_picture[$p]}" \
    >"$work/$p-grab.log" 2>&1 || code=$?
  if [ "$code" -ne 0 ]; then
    fail "$p showed no window: $(cat "$work/$p-grab.log" "$work/$p-window.log")"
  else
    echo "$p window: $(cat "$work/$p-grab.log"), saved as $shot"
  fi
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; the scratch root is $root" >&2
  exit 1
fi
echo "installed programs run from $root"
