#!/usr/bin/env bash
# The virtual controller with a DISPLAY that names no server (a stale remote session) keeps running on
# the terminal, says in one line that it has no LED window, and stops cleanly on SIGTERM.
# Usage: stale_display_test.sh VIRTUAL_CONTROLLER
set -u
program=${1:?virtual-controller}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- output:"; cat "$work/out"; exit 1; }

for display in ":97" "unix:/nonexistent/socket:0"; do
  : >"$work/out"
  env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" TARNLINK_BUS="$work/bus" \
    "$program" --no-state >"$work/out" 2>&1 &
  pid=$!
  # It is up once it has joined the bus; an abort ends it long before.
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    grep -q "no LED window" "$work/out" && break
    sleep 0.1
  done
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "DISPLAY=$display: ended by itself with $?"; }
  kill -TERM "$pid"
  wait "$pid"; code=$?
  [ "$code" = 0 ] || fail "DISPLAY=$display: ended with $code after SIGTERM"
  grep -q "no LED window" "$work/out" || fail "DISPLAY=$display: no line says the window is missing"
  grep -q "stopped" "$work/out" || fail "DISPLAY=$display: did not stop cleanly"
done
echo "ok"
