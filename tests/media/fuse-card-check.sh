#!/usr/bin/env bash
# No card command hangs on a card whose FUSE server stops answering. A FUSE
# file system of the test's own is mounted in a private mount namespace; the
# volume layer sees it, through a /proc and /sys of the test's own, as a
# fuseblk volume on a USB card reader. Needs root and /dev/fuse.
# Usage: fuse-card-check.sh ZOLTCFG [GUI_TESTS XVFB_RUN]
set -uo pipefail
zoltcfg=$(realpath "${1:?zoltcfg}")
gui_tests=${2:-}
xvfb_run=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" -ne 0 ] || [ ! -c /dev/fuse ] || ! unshare -m true 2>/dev/null; then
    echo "SKIP: needs root, /dev/fuse and a mount namespace of its own"
    exit 77
fi
if [ -z "${ZOLT_IN_NAMESPACE:-}" ]; then
    ZOLT_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
fi

d=$(mktemp -d)
server=
cleanup() {
    # The server's end closes the connection; only then may the mount be touched.
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    umount -l "$d/card" 2>/dev/null
    rm -rf "$d"
}
trap cleanup EXIT
# Runs zoltcfg, noting in $took how many seconds it needed.
run() {
    local start=$SECONDS
    timeout -s KILL 30 "$zoltcfg" "$@" >"$d/out" 2>"$d/err"
    rc=$? took=$((SECONDS - start))
}
. "$here/card-root.sh"
mkdir -p "$d/card"
echo "40 1 0:77 / $d/card rw,nosuid,nodev - fuseblk /dev/sdb1 rw,user_id=0" >>"$r/proc/self/mountinfo"

"$zoltcfg" defaults "$d/s.zlx"
"$zoltcfg" image "$d/s.zlx" "$d/image"
/usr/bin/python3 "$here/fuse-card.py" "$d/card" "$d/image" "$d" &
server=$!
for _ in $(seq 50); do
    grep -q " $d/card .* fuse.zoltcard " /proc/self/mountinfo && break
    sleep 0.1
done

run volumes
check "an answering card is offered" "[ $rc -eq 0 ] && grep -q '^  $d/card/  (holds ZOLT.CFG)$' '$d/out'"
run read "$d/card" "$d/o.zlx"
check "an answering card is read" "[ $rc -eq 0 ] && cmp -s '$d/s.zlx' '$d/o.zlx'"

touch "$d/hang-open"
run read "$d/card" "$d/o2.zlx"
check "read gives up on a file that does not open ($took s)" \
    "[ $rc -eq 1 ] && [ $took -le 8 ] && grep -q 'No configuration file found!' '$d/err'"
run write "$d/s.zlx" "$d/card"
check "write gives up before writing to such a card ($took s)" \
    "[ $rc -eq 1 ] && [ $took -le 8 ] && grep -q 'No media found!' '$d/err'"

touch "$d/hang"
run volumes
check "volumes returns without the silent card ($took s)" \
    "[ $rc -eq 0 ] && [ $took -le 8 ] && ! grep -q '^  $d/card/' '$d/out'"
run write "$d/s.zlx"
check "write says a silent card is missing ($took s)" \
    "[ $rc -eq 1 ] && [ $took -le 8 ] && grep -q 'No media found!' '$d/err'"

if [ -n "$gui_tests" ] && [ -n "$xvfb_run" ]; then
    start=$SECONDS
    ZOLT_DEAD_CARD=1 timeout -s KILL 60 "$here/../gui/harness/run-under-xvfb" "$xvfb_run" \
        "$gui_tests" --gtest_filter='DeadCardEditor.*' >"$d/out" 2>"$d/err"
    rc=$?
    took=$((SECONDS - start))
    check "the editor's Write and Read give up on the silent card ($took s)" \
        "[ $rc -eq 0 ] && grep -q 'PASSED  ] 1 test' '$d/out' && ! grep -q SKIPPED '$d/out'"
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
