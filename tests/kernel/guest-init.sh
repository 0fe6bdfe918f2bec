#!/bin/busybox sh
# The guest's init: the file systems the kernel does not mount by itself, the HID modules (hid first:
# it carries hidraw), the test program, its result marker, power off.
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
echo "guest: kernel $(uname -r), running the test"
/kernel_guest_test --gtest_color=no
result=$?
if [ "$result" -eq 0 ]; then
  echo "GUEST-RESULT: PASS"
else
  echo "GUEST-RESULT: FAIL ($result)"
fi
sync
poweroff -f
