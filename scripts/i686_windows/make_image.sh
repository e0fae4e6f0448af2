#!/usr/bin/env bash
# Makes the emulated x86 system that runs the i686 Windows build under
# 32-bit Wine: a Debian 12 amd64 system with i386 beside it, from Debian's
# packages, as a disk image with its kernel and initrd beside it for QEMU's
# -kernel/-initrd. Needs root (mmdebstrap writes the system as its owner).
#   make_image.sh FOLDER
# writes FOLDER/root.img, FOLDER/vmlinuz and FOLDER/initrd.img. The system's
# first process is guest_init.sh, as /sbin/lumara-init.
set -euo pipefail
folder=$1
tree="$folder/tree"
rm -rf "$tree" "$folder/root.img"
mkdir -p "$folder"
# The initrd only has to find the root disk: virtio's disk and ext4, and
# nothing of the host's hardware, which keeps building it short. Recommends
# stay out; Wine's X11 driver loads the X libraries and OpenGL (on which its
# Direct3D draws) by name, so they are named here. The host's test programs run in the system too, so
# it has the C++ library and Xlib they link.
mmdebstrap --variant=essential --architectures=amd64,i386 --aptopt='APT::Install-Recommends "false"' \
    --essential-hook='mkdir -p "$1/etc/initramfs-tools/conf.d" "$1/etc/initramfs-tools/hooks"
        echo MODULES=list > "$1/etc/initramfs-tools/conf.d/lumara"
        printf "#!/bin/sh\n[ \"\$1\" = prereqs ] && exit 0\n. /usr/share/initramfs-tools/hook-functions\nforce_load virtio_pci\nforce_load virtio_blk\nforce_load ext4\n" \
            > "$1/etc/initramfs-tools/hooks/lumara"
        chmod +x "$1/etc/initramfs-tools/hooks/lumara"' \
    --include=mount,libstdc++6,libx11-6,kmod,linux-image-amd64,initramfs-tools,wine,wine32:i386,libgl1:i386,libglx-mesa0:i386,libgl1-mesa-dri:i386,libgl1-mesa-dri,xvfb,xdotool,libxrandr2:i386,libxcursor1:i386,libxi6:i386,libxinerama1:i386,libxcomposite1:i386,libxrender1:i386,libxext6:i386,libfreetype6:i386,libfontconfig1:i386,fonts-dejavu-core \
    --customize-hook="copy-in $(dirname "$0")/guest_init.sh /sbin" --customize-hook='mv "$1/sbin/guest_init.sh" "$1/sbin/lumara-init"' \
    --customize-hook='rm -rf "$1/var/cache/apt" "$1/var/lib/apt/lists" "$1/usr/share/doc" "$1/usr/share/man" "$1/usr/share/locale"' \
    bookworm "$tree" http://deb.debian.org/debian
cp "$tree"/boot/vmlinuz-* "$folder/vmlinuz"
cp "$tree"/boot/initrd.img-* "$folder/initrd.img"
mkfs.ext4 -q -F -L lumara -d "$tree" "$folder/root.img" 6G
rm -rf "$tree"
