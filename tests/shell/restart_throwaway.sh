#!/usr/bin/env bash
# Shows that kyPerformReboot's forced restart really reaches the system, without acting
# on anything that matters: the request is made by restart_child.exe inside a throwaway
# Wine prefix of its own (its own wineserver), which Wine "restarts" by killing every
# process in that prefix. The prefix is made here from the test prefix (registry copied,
# system files hard-linked: nothing there is rewritten) and removed afterwards.
#   restart_throwaway.sh TESTENV WORKDIR CHILD.exe
set -euo pipefail
testenv=$(cd "$1" && pwd) child=$3
rm -rf "$2" && mkdir -p "$2"
work=$(cd "$2" && pwd)
source_prefix=$testenv/prefix
prefix=$work/throwaway-prefix
log=$work/child.log

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=":$(cat "$testenv/display")"

cleanup() {
  if [ -d "$prefix" ]; then timeout 60 wineserver -k 2>/dev/null || true; fi
  rm -rf "$prefix"
}
trap cleanup EXIT

mkdir -p "$prefix"
cp "$source_prefix"/*.reg "$source_prefix"/.update-timestamp "$prefix"/
cp -al "$source_prefix/drive_c" "$prefix/drive_c"
mkdir "$prefix/dosdevices" && ln -s ../drive_c "$prefix/dosdevices/c:" && ln -s / "$prefix/dosdevices/z:"
cp "$child" "$(dirname "$child")/kydoru.dll" "$work"/

status=0
windows_log="Z:$(echo "$log" | tr / '\\')"
timeout 240 /usr/lib/wine/wine64 "$work/$(basename "$child")" "$windows_log" >"$work/child.out" 2>&1 || status=$?
echo "child exit status: $status"
echo "--- child log"; cat "$log" 2>/dev/null || true

fail() { echo "FAILED: $*"; exit 1; }
[ -f "$log" ] || fail "the child wrote no log"
grep -qx 'reboot=1' "$log" || fail "the forced restart was not accepted"
grep -qx 'suspend=1' "$log" || fail "suspend did not return Wine's TRUE"
grep -qx 'hibernate=1' "$log" || fail "hibernate did not return Wine's TRUE"
grep -q '^monitor=' "$log" || fail "no monitor result"
! grep -qx 'survived' "$log" || fail "the child outlived the forced restart: it never reached the system"
echo "PASSED: the forced restart reached Wine and ended the child in the throwaway prefix"
