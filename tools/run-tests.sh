#!/usr/bin/env bash
# Runs the whole suite: CTest in the 64-bit build (Wine tests, static checks) and, at the
# same time, in the 32-bit build (static checks and every test in one emulated 32-bit
# Wine process). Each build has its own display and Wine prefix, and the emulated run
# keeps one core busy while the 64-bit suite mostly waits on windows, so running the two
# side by side saves the shorter one's time. The 64-bit log is shown as it runs, the
# 32-bit one when it ends; one summary line over both closes the run.
set -uo pipefail
build=${1:-build}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# run_ctest ARCH show|quiet [CTEST OPTIONS...]: CTest in $build/ARCH, output to
# $logs/ARCH.log (and the terminal with `show`), its exit code to $logs/ARCH.rc and its
# wall time to $logs/ARCH.time.
run_ctest() {
  local arch=$1 mode=$2 start
  shift 2
  start=$(date +%s)
  if [ "$mode" = show ]; then
    echo "== ctest in $build/$arch"
    (cd "$build/$arch" && ctest --output-on-failure "$@") 2>&1 | tee "$logs/$arch.log"
    echo "${PIPESTATUS[0]}" >"$logs/$arch.rc"
  else
    (cd "$build/$arch" && ctest --output-on-failure "$@") >"$logs/$arch.log" 2>&1
    echo $? >"$logs/$arch.rc"
  fi
  echo $(( $(date +%s) - start )) >"$logs/$arch.time"
}

start=$(date +%s)
archs=(win64)
if [ "${KY_SKIP_WIN32:-0}" != 1 ]; then
  # The 32-bit build's other entries (static checks, the programs built from dist/) run
  # beside its one long emulated entry.
  echo "== ctest in $build/win32 runs alongside; its log follows the 64-bit one"
  run_ctest win32 quiet -j2 &
  archs+=(win32)
fi
run_ctest win64 show
wait

passed=0 failed=0 status=0
for arch in "${archs[@]}"; do
  if [ "$arch" = win32 ]; then
    echo "== ctest in $build/$arch"
    cat "$logs/$arch.log"
  fi
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$arch.log" | tail -n1)
  if [ -n "$line" ]; then
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
  else
    failed=$((failed + 1))
  fi
  [ "$(cat "$logs/$arch.rc")" -eq 0 ] || status=1
done
echo "suite time: 64-bit $(cat "$logs/win64.time") s$([ -f "$logs/win32.time" ] && echo ", 32-bit $(cat "$logs/win32.time") s"), all $(( $(date +%s) - start )) s"
echo "${passed} passed, ${failed} failed"
exit $status
