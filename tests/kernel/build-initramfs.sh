#!/usr/bin/env bash
# build-initramfs.sh <kernel cache> <init script> <output cpio> <test program>...
# The guest's root file system: busybox, the HID modules, the test programs in /tests with every shared
# library they load (as ldd lists them, with the dynamic loader) and the init script. Uncompressed: the kernel
# unpacks it faster than it would decompress it under emulation.
set -euo pipefail
cache=$1 init=$2 output=$3
shift 3
root=$output.root
rm -rf "$root"
mkdir -p "$root"/{bin,dev,proc,sys,tmp,tests,lib/modules}

cp "$(command -v busybox)" "$root/bin/busybox"
cp "$init" "$root/init"
chmod 0755 "$root/init"
cp "$cache"/{hid,hid-generic,uhid}.ko "$root/lib/modules/"
for program in "$@"; do
  # Debug information is of no use in the guest and would only slow the boot.
  strip -o "$root/tests/$(basename "$program")" "$program"
  # Shared libraries at the paths the loader looks for them (nothing for a static program); lines look like
  #   libQt6Core.so.6 => /lib/x86_64-linux-gnu/libQt6Core.so.6 (0x...)  and  /lib64/ld-linux-x86-64.so.2 (0x...)
  { ldd "$program" 2>/dev/null || true; } |
    sed -n -e 's/.*=> \(\/[^ ]*\) .*/\1/p' -e 's/^[[:space:]]*\(\/[^ ]*\) .*/\1/p' |
    while read -r library; do
      [ -e "$root$library" ] && continue
      mkdir -p "$root$(dirname "$library")"
      cp -L "$library" "$root$library"
    done
done

(cd "$root" && find . | cpio -o -H newc --quiet) > "$output"
rm -rf "$root"
echo "initramfs: $(du -h "$output" | cut -f1)"
