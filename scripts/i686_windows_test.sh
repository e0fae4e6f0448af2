#!/usr/bin/env bash
# The i686 Windows build under 32-bit Wine, in an emulated x86 system: QEMU
# without KVM boots a small Debian 12 (scripts/i686_windows/make_image.sh,
# made once and kept in build/i686-windows-guest until its scripts change),
# this tree shared into it over 9p. Inside (guest_job.sh), in a win32 prefix:
# the saver's full-screen, golden-frame and dialog tests, the setup program's,
# and the Windows build's own test programs. Needs the GCC build (build/gcc,
# whose test programs run inside) and the i686 build (build/windows-i686).
# Fails with the output of every step that failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${I686_WINDOWS_PACKAGES[@]}"
guest=build/i686-windows-guest
results=$guest/results

image_id=$(cat scripts/i686_windows/make_image.sh scripts/i686_windows/guest_init.sh | sha256sum | cut -c1-16)
if [ "$(cat "$guest/image-id" 2>/dev/null)" != "$image_id" ]; then
    start=$SECONDS
    rm -f "$guest/image-id"
    mkdir -p "$guest"
    bash scripts/i686_windows/make_image.sh "$guest" >"$guest/image.log" 2>&1 ||
        { tail -n 40 "$guest/image.log"; exit 1; }
    echo "$image_id" >"$guest/image-id"
    echo "-- system image made in $((SECONDS - start)) s"
fi

rm -rf "$results"
mkdir -p "$results"
start=$SECONDS
# QEMU 7.2's emulated SMAP faults 32-bit code's user stack, and five-level
# paging is not needed: both off. The job powers the system off when done;
# the hour is only a backstop for a system that hangs.
timeout 3600 qemu-system-x86_64 -machine q35 -accel tcg,thread=multi -cpu max,-smap,-la57 -smp 2 -m 3072 \
    -nographic -vga none -net none -no-reboot -kernel "$guest/vmlinuz" -initrd "$guest/initrd.img" \
    -append "console=ttyS0 root=/dev/vda rw init=/sbin/lumara-init panic=-1 lumara.tree=$PWD" \
    -drive "file=$guest/root.img,format=raw,if=virtio" \
    -virtfs "local,path=$PWD,mount_tag=lumara,security_model=none" >"$results/console.log" 2>&1 || true
echo "-- emulated system: booted in $(cat "$results/booted" 2>/dev/null || echo ?) s, ran $((SECONDS - start)) s"

status=0
for step in prefix programs saver setup; do
    line=$(grep "^$step " "$results/steps" 2>/dev/null || true)
    if [ -z "$line" ]; then
        [ "$step" = prefix ] && continue  # kept from an earlier run
        echo "-- $step did not run; the system's console:"
        tail -n 40 "$results/console.log"
        status=1
        continue
    fi
    read -r _ code seconds <<<"$line"
    echo "-- $step: exit status $code, $seconds s"
    if [ "$code" != 0 ]; then
        cat "$results/$step.log"
        status=1
    fi
done
exit "$status"
