#!/usr/bin/env bash
# kvm-fallback-test.sh <run-guest.sh>
# A machine whose KVM refuses the guest's CPU: run-guest.sh must boot the guest again under software
# emulation and pass, not report itself skipped. A stand-in QEMU fails (134) under KVM before the guest
# starts and passes under TCG; a stand-in kernel cache and test program make the initramfs.
set -euo pipefail
runGuest=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/cache"
cat >"$work/bin/qemu-system-x86_64" <<'QEMU'
#!/bin/sh
case " $* " in
  *" kvm "*) echo "qemu-system-x86_64: error: failed to set MSR 0x10a to 0x0"; exit 134 ;;
esac
echo "guest: init started"
echo "GUEST-RESULT: PASS"
QEMU
chmod 0755 "$work/bin/qemu-system-x86_64"
for file in vmlinuz hid.ko hid-generic.ko uhid.ko; do : >"$work/cache/$file"; done
echo stand-in >"$work/cache/ready"
: >"$work/kvm"
status=0
PATH=$work/bin:$PATH GUEST_KVM_DEVICE=$work/kvm "$runGuest" "$work/cache" "$work/guest" /bin/true \
  >"$work/out" 2>&1 || status=$?
cat "$work/out"
[ "$status" -eq 0 ] || { echo "FAIL: run-guest.sh ended with $status (77: skipped) instead of passing under TCG"; exit 1; }
grep -q -- '-accel tcg' "$work/out" || { echo "FAIL: no run under software emulation"; exit 1; }
echo "PASS"
