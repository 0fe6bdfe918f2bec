#!/bin/busybox sh
# The guest's init: the file systems the kernel does not mount by itself, the HID modules (hid first:
# it carries hidraw), each test program, the result marker, power off.
/bin/busybox --install -s /bin
export PATH=/bin HOME=/tmp LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
echo "guest: init started"
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs tmpfs /tmp
for module in hid hid-generic uhid; do
  insmod "/lib/modules/$module.ko" || echo "guest: insmod $module failed"
done
echo "guest: kernel $(uname -r)"
failed=""
for program in /tests/*; do
  echo "guest: running $program"
  "$program" --gtest_color=no || failed="$failed $(basename "$program")"
done
if [ -z "$failed" ]; then
  echo "GUEST-RESULT: PASS"
else
  echo "GUEST-RESULT: FAIL:$failed"
fi
sync
poweroff -f
