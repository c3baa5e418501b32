#!/usr/bin/env bash
# Runs every benchmark program of a 64-bit build under Wine in the private test environment.
set -euo pipefail
build=$(cd "${1:-build/win64}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
env=$build/testenv
"$here/tests/harness/testenv.sh" start "$env" win64
trap '"$here/tests/harness/testenv.sh" stop "$env" >/dev/null' EXIT
# The start-up pairs measure what ships: the stripped binaries in dist/ (Wine's Z: is /).
dist=$here/dist/$(basename "$build")
cd "$build/bin"
for b in bench_*.exe; do
  [ -e "$b" ] || continue
  args=()
  if [ "$b" = bench_startup.exe ] && [ -d "$dist" ]; then args=(--from "Z:${dist//\//\\}"); fi
  echo "== $b"
  timeout 900 "$here/tests/harness/wine-run.sh" "$env" "./$b" "${args[@]}"
done
