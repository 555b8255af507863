# Sourced by the card scripts, with $d the test's folder: check(), and in $r a /proc,
# /sys and /run of the test's own with one USB reader sdb whose card partition sdb1 is 8:17.
failures=0
check() { # description, condition
    eval "$2" && echo "ok: $1" && return
    echo "FAILED: $1" && sed 's/^/    /' "$d/out" "$d/err" && failures=$((failures + 1))
}
r=$d/root
dev=devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb
mkdir -p "$r/sys/$dev/sdb1" "$r/sys/class/block" "$r/sys/dev/block" "$r/proc/self" \
    "$r/run/udev/data" "$r/dev"
echo 1 | tee "$r/sys/$dev/removable" "$r/sys/$dev/sdb1/partition" >/dev/null
echo 8:17 >"$r/sys/$dev/sdb1/dev"
for l in class/block/sdb1 dev/block/8:17; do ln -s "../../$dev/sdb1" "$r/sys/$l"; done
echo "1 0 254:1 / / rw - ext4 /dev/vda1 rw" >"$r/proc/self/mountinfo"
export ZOLT_SYSTEM_ROOT=$r
