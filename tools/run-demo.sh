#!/usr/bin/env bash
# Runs the demo program kydemo.exe under Wine.
#   tools/run-demo.sh [--private] [--dpi N] [--folder DIR] [win64|win32] [SHOT.png]
# With a working $DISPLAY (and no --private or --dpi) the demo opens on the user's own
# display in the user's own Wine prefix, and the script returns when the demo ends.
# Otherwise it starts a private Xvfb display and a throwaway Wine prefix under
# build/demo-run/, waits for the form, saves a screenshot (SHOT.png, default
# build/demo-run/demo.png), and stops what it started. --dpi N sets that prefix's screen
# resolution to N dots per inch (96 unless given) and grows the display with it, as a
# 1024x768 desktop scaled to N/96 would be. The program comes from DIR (`make demo` gives
# the build's bin/), else from dist/ (`make`), else from build/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
private=0 arch=win64 shot= dpi=96 given=
while [ $# -gt 0 ]; do
  case "$1" in
    --private) private=1 ;;
    --dpi)
      dpi=${2:-}
      case "$dpi" in ''|*[!0-9]*) echo "run-demo: --dpi needs a number of dots per inch" >&2; exit 2 ;; esac
      if [ "$dpi" -lt 96 ] || [ "$dpi" -gt 480 ]; then echo "run-demo: --dpi $dpi is outside 96 to 480" >&2; exit 2; fi
      private=1
      shift ;;
    --folder) given=${2:?--folder needs a folder}; shift ;;
    win64|win32) arch=$1 ;;
    -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
    *) shot=$1 ;;
  esac
  shift
done

folder=
candidates=("$here/dist/$arch" "$here/build/$arch/bin")
[ -z "$given" ] || candidates=("$given")
for candidate in "${candidates[@]}"; do
  if [ -f "$candidate/kydemo.exe" ] && [ -f "$candidate/kydoru.dll" ]; then folder=$(cd "$candidate" && pwd); break; fi
done
if [ -z "$folder" ]; then
  echo "run-demo: no kydemo.exe with kydoru.dll in ${candidates[*]}; run make first" >&2
  exit 1
fi

if [ "$arch" = win32 ]; then
  wine=$(command -v wine)
else
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || wine=/usr/lib/wine/wine64
fi

# The user's own display: the demo is theirs to use and close.
if [ "$private" = 0 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run-demo: $folder/kydemo.exe on display $DISPLAY"
  cd "$folder"
  exec "$wine" ./kydemo.exe
fi

# A private display and prefix, removed or stopped on the way out.
work=$here/build/demo-run/$arch
mkdir -p "$work"
shot=${shot:-$here/build/demo-run/demo.png}
case "$shot" in /*) ;; *) shot=$PWD/$shot ;; esac
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ "$arch" = win32 ] && export WINEARCH=win32

xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] || return 0
  # An Xvfb closing down can loop for ever in its keyboard clean-up: killed after 5 s.
  kill "$xvfb_pid" 2>/dev/null || true
  for _ in $(seq 25); do kill -0 "$xvfb_pid" 2>/dev/null || return 0; sleep 0.2; done
  kill -9 "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

for n in $(seq 200 260); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 "$((1024 * dpi / 96))x$((768 * dpi / 96))x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$n" ] && break; sleep 0.2; done
  if [ -S "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; break; fi
  kill "$xvfb_pid" 2>/dev/null || true; xvfb_pid=
done
[ -n "$xvfb_pid" ] || { echo "run-demo: no private X display could be started" >&2; exit 1; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run-demo: creating a throwaway $arch Wine prefix in $WINEPREFIX"
  timeout 900 "$wine" wineboot -i >"$work/wineboot.log" 2>&1
  # No window manager here: Wine draws the title bars itself.
  timeout 300 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$work/wineboot.log" 2>&1
  timeout 120 wineserver -w || true
fi
"$here/tools/wine-fonts.sh" "$WINEPREFIX"
timeout 300 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >>"$work/wineboot.log" 2>&1

echo "run-demo: $folder/kydemo.exe on private display $DISPLAY"
(cd "$folder" && exec "$wine" ./kydemo.exe) >"$work/demo.log" 2>&1 &
demo_pid=$!
for _ in $(seq 240); do
  xwininfo -root -tree 2>/dev/null | grep -q 'KY Computer Software' && break
  kill -0 "$demo_pid" 2>/dev/null || { echo "run-demo: the demo ended early (see $work/demo.log)" >&2; exit 1; }
  sleep 0.5
done
sleep 2
mkdir -p "$(dirname "$shot")"
import -window root "$work/screen.png"
# The root window is black around the form: trim to the form itself.
convert "$work/screen.png" -trim +repage "$shot"
echo "run-demo: screenshot saved to $shot"
