#!/usr/bin/env bash
# build-initramfs.sh <kernel cache> <test program> <init script> <output cpio>
# The guest's root file system: busybox, the HID modules, the test program with every shared library
# it loads (as ldd lists them, with the dynamic loader) and the init script. Uncompressed: the kernel
# unpacks it faster than it would decompress it under emulation.
set -euo pipefail
cache=$1 program=$2 init=$3 output=$4
root=$output.root
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,tmp,lib/modules}

cp "$(command -v busybox)" "$root/bin/busybox"
cp "$init" "$root/init"
chmod 0755 "$root/init"
cp "$cache"/{hid,hid-generic,uhid}.ko "$root/lib/modules/"
# Debug information is of no use in the guest and would only slow the boot.
strip -o "$root/kernel_guest_test" "$program"

# Shared libraries at the paths the loader looks for them; lines look like
#   libQt6Core.so.6 => /lib/x86_64-linux-gnu/libQt6Core.so.6 (0x...)  and  /lib64/ld-linux-x86-64.so.2 (0x...)
ldd "$program" | sed -n -e 's/.*=> \(\/[^ ]*\) .*/\1/p' -e 's/^[[:space:]]*\(\/[^ ]*\) .*/\1/p' |
while read -r library; do
  mkdir -p "$root$(dirname "$library")"
  cp -L "$library" "$root$library"
done
(cd "$root" && find . | cpio -o -H newc --quiet) > "$output"
rm -rf "$root"
echo "initramfs: $(du -h "$output" | cut -f1)"
