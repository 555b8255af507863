#!/usr/bin/env bash
# No card command hangs on a card whose FUSE server stops answering: a FUSE
# file system of the test's own, in a private mount namespace, that the volume
# layer sees as a fuseblk volume on a USB card reader. Needs root, /dev/fuse.
# Usage: fuse-card-check.sh ZOLTCFG [GUI_TESTS XVFB_RUN]
set -uo pipefail
z=$(realpath "${1:?zoltcfg}")
here=$(cd "$(dirname "$0")" && pwd)
if [ "$(id -u)" -ne 0 ] || [ ! -c /dev/fuse ] || ! unshare -m true 2>/dev/null; then
    echo "SKIP: needs root, /dev/fuse and a mount namespace of its own"
    exit 77
fi
[ -n "${ZOLT_IN_NAMESPACE:-}" ] || ZOLT_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
d=$(mktemp -d) server=
# The server's end closes the connection; only then may the mount be touched.
trap '{ [ -n "$server" ] && kill $server && wait $server; umount -l "$d/card"; rm -rf "$d"; } 2>/dev/null' EXIT
run() { # COMMAND..., noting in $took how many seconds it needed
    local start=$SECONDS
    timeout -s KILL 60 "$@" >"$d/out" 2>"$d/err"
    rc=$? took=$((SECONDS - start))
}
. "$here/card-root.sh"
mkdir -p "$d/card"
echo "40 1 0:77 / $d/card rw,nosuid,nodev - fuseblk /dev/sdb1 rw,user_id=0" >>"$r/proc/self/mountinfo"
"$z" defaults "$d/s.zlx"
"$z" image "$d/s.zlx" "$d/image"
/usr/bin/python3 "$here/fuse-card.py" "$d/card" "$d/image" "$d" &
server=$!
for _ in $(seq 50); do grep -q " $d/card .* fuse.zoltcard " /proc/self/mountinfo && break; sleep 0.1; done

run "$z" read "$d/card" "$d/o.zlx"
check "an answering card is read" "[ $rc -eq 0 ] && cmp -s '$d/s.zlx' '$d/o.zlx'"
touch "$d/hang-open"
run "$z" read "$d/card" "$d/o2.zlx"
check "read gives up on a file that does not open ($took s)" \
    "[ $rc -eq 1 ] && [ $took -le 8 ] && grep -q 'No configuration file found!' '$d/err'"
run "$z" write "$d/s.zlx" "$d/card"
check "write gives up before writing to such a card ($took s)" \
    "[ $rc -eq 1 ] && [ $took -le 8 ] && grep -q 'No media found!' '$d/err'"
touch "$d/hang"
run "$z" volumes
check "volumes returns without the silent card ($took s)" \
    "[ $rc -eq 0 ] && [ $took -le 8 ] && ! grep -q '^  $d/card/' '$d/out'"
run "$z" write "$d/s.zlx"
check "write says a silent card is missing ($took s)" \
    "[ $rc -eq 1 ] && [ $took -le 8 ] && grep -q 'No media found!' '$d/err'"
if [ -n "${3:-}" ]; then
    ZOLT_DEAD_CARD=1 run "$here/../gui/harness/run-under-xvfb" "$3" "$2" --gtest_filter='DeadCardEditor.*'
    check "the editor's Write and Read give up on the silent card ($took s)" \
        "[ $rc -eq 0 ] && grep -q 'PASSED  ] 1 test' '$d/out' && ! grep -q SKIPPED '$d/out'"
fi
echo "$failures failed"
[ "$failures" -eq 0 ]
