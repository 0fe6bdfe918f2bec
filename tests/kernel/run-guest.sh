#!/usr/bin/env bash
# run-guest.sh <kernel cache> <work folder> <test program>...
# Boots the guest (the cached kernel, an initramfs with the test programs) in QEMU and passes when the
# guest prints its pass marker, which it does when every program passed. Exits 77 (skipped) when there is no kernel in the cache, no QEMU, or
# QEMU cannot run a guest here; a guest that boots and does not pass fails.
set -euo pipefail
cache=$1 work=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }

[ -f "$cache/ready" ] || skip "no kernel in $cache (its fetch was skipped or failed)"
qemu=$(command -v qemu-system-x86_64) || skip "qemu-system-x86_64 is not installed"
command -v busybox >/dev/null || skip "busybox is not installed"
command -v cpio >/dev/null || skip "cpio is not installed"

mkdir -p "$work"
"$here/build-initramfs.sh" "$cache" "$here/guest-init.sh" "$work/initramfs.cpio" "$@"

log=$work/console.log
boot() {
  start=$(date +%s%N)
  status=0
  timeout 300 "$qemu" "$@" -m 512M -smp 1 -nographic -no-reboot \
    -kernel "$cache/vmlinuz" -initrd "$work/initramfs.cpio" \
    -append "console=ttyS0 quiet panic=-1" </dev/null >"$log" 2>&1 || status=$?
  milliseconds=$(( ($(date +%s%N) - start) / 1000000 ))
  tr -d '\r' <"$log"
  echo "guest run: ${milliseconds} ms (QEMU $*, exit status $status)"
}

# KVM when this machine offers it, software emulation otherwise. A KVM that refuses the guest's CPU
# (seen: "failed to set MSR 0x10a", QEMU exit 134) before the guest has started is no reason to skip:
# the same guest runs again under software emulation.
kvm=${GUEST_KVM_DEVICE:-/dev/kvm}
if [ -w "$kvm" ]; then
  boot -accel kvm -cpu host
  if ! grep -q 'guest: init started' "$log" && [ "$status" -ne 0 ] && [ "$status" -ne 124 ]; then
    echo "KVM could not run the guest (exit status $status): again with software emulation"
    boot -accel tcg
  fi
else
  boot -accel tcg
fi

if grep -q '^GUEST-RESULT: PASS' <(tr -d '\r' <"$log"); then exit 0; fi
if grep -q 'GUEST-RESULT: FAIL' "$log"; then exit 1; fi
if ! grep -q 'guest: init started' "$log" && [ "$status" -ne 0 ] && [ "$status" -ne 124 ]; then
  # QEMU refused to start a guest here (no usable emulation, no memory): nothing was tested.
  skip "QEMU could not start the guest here (exit status $status)"
fi
echo "the guest stopped without a result marker (exit status $status; 124: time-out)" >&2
exit 1
