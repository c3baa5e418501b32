#!/usr/bin/env bash
# Runs the whole suite: CTest in the 64-bit build (Wine tests, static checks), then in the
# 32-bit build (static checks and every test in one emulated 32-bit Wine process), and
# closes with one summary line over both.
set -uo pipefail
build=${1:-build}
passed=0 failed=0 status=0

run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  echo "== ctest in $dir"
  (cd "$dir" && ctest --output-on-failure) 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -n "$line" ]; then
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
  else
    failed=$((failed + 1))
  fi
  [ "$rc" -eq 0 ] || status=1
  rm -f "$log"
}

start=$(date +%s)
run_ctest "$build/win64"
t64=$(( $(date +%s) - start ))
if [ "${KY_SKIP_WIN32:-0}" != 1 ]; then
  run_ctest "$build/win32"
fi
total=$(( $(date +%s) - start ))
echo "suite time: 64-bit ${t64} s, all ${total} s"
echo "${passed} passed, ${failed} failed"
exit $status
