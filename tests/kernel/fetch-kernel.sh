#!/usr/bin/env bash
# fetch-kernel.sh <cache folder>
# Puts a Debian cloud kernel with UHID into the cache folder once: vmlinuz and the modules hid.ko,
# hid-generic.ko and uhid.ko (hidraw is built into hid.ko). Later runs reuse it. Exits 77 (the guest
# test's "skipped") when the package cannot be fetched, e.g. without access to the package archive.
set -euo pipefail
cache=$1
skip() { echo "SKIPPED: $*"; exit 77; }

if [ -f "$cache/ready" ]; then
  echo "kernel in cache: $(cat "$cache/ready")"
  exit 0
fi
command -v apt-get >/dev/null && command -v dpkg-deb >/dev/null || skip "apt-get and dpkg-deb are needed to fetch the kernel"

mkdir -p "$cache"
work=$(mktemp -d "$cache/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The versioned image package the cloud kernel's meta-package points at.
package=$(apt-cache depends linux-image-cloud-amd64 2>/dev/null |
          sed -n 's/^ *Depends: \(linux-image-[0-9][^ ]*-cloud-amd64\)$/\1/p' | head -n 1)
[ -n "$package" ] || skip "no linux-image-cloud-amd64 in the package lists (run apt-get update)"
# apt drops privileges to _apt for downloads; let it write into the work folder.
chmod 0777 "$work"
(cd "$work" && apt-get download -q "$package") || skip "apt-get download $package failed"
dpkg-deb -x "$work"/"$package"_*.deb "$work/root" || skip "cannot unpack $package"

vmlinuz=$(ls "$work"/root/boot/vmlinuz-* | head -n 1)
cp "$vmlinuz" "$cache/vmlinuz"
for module in hid hid-generic uhid; do
  file=$(find "$work/root/lib/modules" -name "$module.ko" | head -n 1)
  [ -n "$file" ] || { echo "$package has no $module.ko" >&2; exit 1; }
  cp "$file" "$cache/$module.ko"
done
echo "$package" > "$cache/ready"
echo "kernel fetched: $package"
