#!/usr/bin/env bash
# The kill-during-save test on USB sticks, which have no hard links: exFAT
# (exfat-fuse on a loop device) and FAT32 (fusefat, Latin names only), then a
# stick whose device fails as one pulled out. Needs root, loop devices, FUSE.
#   tests/sticks.sh [--wine] TST_STORYSAVE   (Wine: sticks as drives S: and T:)
set -euo pipefail
run=()
[ "$1" != --wine ] || { run=("${WINE:-wine}"); shift; }
skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] && [ -w /dev/fuse ] || skip "needs root and /dev/fuse"
dir=$(mktemp -d) loop=
trap 'set +e; umount "$dir"/exfat "$dir"/fat32; [ -z "$loop" ] || losetup -d "$loop"; rm -rf "$dir"' EXIT
mkdir "$dir/exfat" "$dir/fat32" && truncate -s 64M "$dir/exfat.img" "$dir/fat32.img"
loop=$(losetup -f --show "$dir/exfat.img") || skip "no loop device"
{ mkfs.exfat "$loop" && mount.exfat-fuse "$loop" "$dir/exfat" && mkfs.vfat -F 32 "$dir/fat32.img" \
    && fusefat -o rw+ "$dir/fat32.img" "$dir/fat32" && mountpoint -q "$dir/exfat" \
    && mountpoint -q "$dir/fat32"; } >/dev/null 2>&1 || skip "exFAT and FAT32 cannot be mounted"
exfat=$dir/exfat fat32=$dir/fat32
# A prefix whose folder of drives is there before its first start gets no
# drive C: and hangs; so it starts first.
[ -z "${run[*]}" ] || { "${run[@]}" wineboot --init >/dev/null 2>&1 && ln -sfn "$exfat" "$WINEPREFIX/dosdevices/s:" \
    && ln -sfn "$fat32" "$WINEPREFIX/dosdevices/t:"; exfat=S: fat32=T:; }
# Stories of 640 KiB keep the rounds quick; FAT32 through FUSE is slow.
export TROPINETS_KILL_ROUNDS=${TROPINETS_KILL_ROUNDS:-300} TROPINETS_KILL_TEXT_BYTES=65536
TROPINETS_KILL_STORY=$exfat/рассказ.txt "${run[@]}" "$1" killedAtRandom
TROPINETS_KILL_STORY=$fat32/story.txt "${run[@]}" "$1" killedAtRandom
truncate -s 0 "$dir/exfat.img" && losetup -c "$loop"
TROPINETS_FAILING_STICK=$exfat "${run[@]}" "$1" pulledStick
