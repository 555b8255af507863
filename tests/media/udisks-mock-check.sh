#!/usr/bin/env bash
# zoltcfg's card commands against a stand-in udisks2 on a private bus, with a FAT card
# that is not mounted (see card-root.sh). Usage: udisks-mock-check.sh ZOLTCFG
set -uo pipefail
zoltcfg=${1:?zoltcfg}
here=$(cd "$(dirname "$0")" && pwd)
if ! /usr/bin/python3 -c 'import dbusmock' 2>/dev/null || ! command -v dbus-daemon >/dev/null; then
    echo "SKIP: python3-dbusmock or dbus-daemon is missing (scripts/bootstrap installs them)"
    exit 77
fi
d=$(mktemp -d) pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$d"' EXIT
run() { timeout 20 "$zoltcfg" "$@" >"$d/out" 2>"$d/err"; }
. "$here/card-root.sh"
# udev has looked at the card: FAT, named "Z CARD".
echo 62333952 >"$r/sys/$dev/sdb1/size"
printf 'E:ID_FS_USAGE=filesystem\nE:ID_FS_TYPE=vfat\nE:ID_FS_LABEL=Z_CARD\nE:ID_FS_LABEL_ENC=Z\\x20CARD\n' \
    >"$r/run/udev/data/b8:17"
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$d/bus
"$zoltcfg" defaults "$d/s.zlx"
run volumes
check "the card that is not mounted is offered by its label" \
    "grep -qx '  /dev/sdb1 (name: Z CARD) (not mounted)' '$d/out'"
run write "$d/s.zlx"
check "without udisks2 the card is offered and how to mount it is said" \
    "[ \$? -eq 1 ] && grep -q 'udisksctl mount -b /dev/sdb1' '$d/err'"

dbus-daemon --session --address="$DBUS_SYSTEM_BUS_ADDRESS" --nofork --nopidfile 2>/dev/null &
pids+=($!)
/usr/bin/python3 -m dbusmock --system --template "$here/udisks-mock.py" -p "{\"dir\": \"$d\"}" \
    >"$d/mock.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    dbus-send --system --print-reply --dest=org.freedesktop.UDisks2 /org/freedesktop/UDisks2 \
        org.freedesktop.DBus.ObjectManager.GetManagedObjects >/dev/null 2>&1 && break || sleep 0.1
done
touch "$d/refuse"
run write "$d/s.zlx"
check "a refusal of polkit is reported, nothing mounted" \
    "[ \$? -eq 1 ] && grep -q 'not allowed' '$d/err' && [ ! -e '$d/media/ZCARD' ]"
rm "$d/refuse"
run write "$d/s.zlx"
check "write mounts the card and writes it" \
    "[ \$? -eq 0 ] && [ \$(stat -c %s '$d/media/ZCARD/ZOLT.CFG') -eq 1048576 ]"
touch "$d/busy"
run eject "$d/media/ZCARD"
check "eject reports a busy card, which stays mounted and powered" "[ \$? -eq 1 ] &&
    grep -q 'is busy: a program still uses the card' '$d/err' && grep -q ' 8:17 ' '$r/proc/self/mountinfo' && [ ! -e '$d/powered-off' ]"
rm "$d/busy" "$d/media/ZCARD/ZOLT.CFG"
run write --eject "$d/s.zlx" "$d/media/ZCARD"
check "write --eject writes, unmounts and powers off" \
    "[ \$? -eq 0 ] && [ -e '$d/media/ZCARD/ZOLT.CFG' ] && [ -e '$d/powered-off' ] &&
    ! grep -q ' 8:17 ' '$r/proc/self/mountinfo' && grep -q ejected '$d/out'"
rm "$d/media/ZCARD/ZOLT.CFG"
run read /dev/sdb1 "$d/o.zlx"
check "read mounts the card, then finds no file on it" "[ \$? -eq 1 ] &&
    grep -q 'No configuration file found!' '$d/err' && grep -q ' 8:17 ' '$r/proc/self/mountinfo'"
echo "$failures failed"
[ "$failures" -eq 0 ]
