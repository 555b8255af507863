#!/usr/bin/env bash
# zoltcfg's card commands on this machine. A card root that is a plain
# folder is never offered, so nothing here can write to a real card.
# Usage: zoltcfg-card-check.sh ZOLTCFG
set -uo pipefail
zoltcfg=${1:?zoltcfg}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() { # description, condition
    if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

"$zoltcfg" volumes >"$dir/out" 2>"$dir/err"
check "the root file system is never offered" "grep -q '^Offered:' '$dir/out' && ! sed -n '/^Offered:/,/^Not offered:/p' '$dir/out' | grep -q '^  / '"

"$zoltcfg" defaults "$dir/s.zlx"
mkdir "$dir/card"
"$zoltcfg" write "$dir/s.zlx" "$dir/card" >"$dir/out" 2>"$dir/err"
check "write to a folder fails" "[ $? -eq 1 ]"
check "write says why" "grep -Eq 'No media found!|is not among the cards offered' '$dir/err'"
check "nothing written to the folder" "[ -z \"\$(ls -A '$dir/card')\" ]"

"$zoltcfg" defaults "$dir/card/ZOLT.CFG"
"$zoltcfg" read "$dir/card" "$dir/o.zlx" >"$dir/out" 2>"$dir/err"
check "read from a folder fails" "[ $? -eq 1 ]"
check "read says why" "grep -Eq 'No configuration file found!|is not among the cards offered' '$dir/err'"
check "no settings document written" "[ ! -e '$dir/o.zlx' ]"

echo "$failures failed"
[ "$failures" -eq 0 ]
