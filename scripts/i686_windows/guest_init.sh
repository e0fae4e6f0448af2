#!/bin/sh
# The emulated system's first process (the kernel's init=/sbin/lumara-init):
# mounts what Wine needs, mounts the host's source tree (shared over 9p) at
# the path it has on the host (lumara.tree= on the kernel's command line),
# runs the job from there and powers the system off. If the job cannot run,
# init ends, the kernel panics and QEMU (-no-reboot) ends all the same.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
# The initrd leaves /proc, /sys and /dev mounted.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sysfs /sys
mountpoint -q /dev || mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mount -o remount,rw /
tree=$(tr ' ' '\n' </proc/cmdline | sed -n 's/^lumara\.tree=//p')
mkdir -p "$tree"
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 lumara "$tree"
sh "$tree/scripts/i686_windows/guest_job.sh" "$tree"
sync
echo o >/proc/sysrq-trigger
sleep 600
