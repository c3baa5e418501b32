#!/usr/bin/env bash
# Starts and stops the private test environment: an Xvfb display (1024x768, 24-bit) and a
# Wine prefix kept under the build folder, so tests never touch the user's own display or
# Wine setup (they hide the task bar and change display modes).
#   testenv.sh start ENVDIR win64|win32 [two-monitors]
#   testenv.sh stop ENVDIR
# two-monitors: a display with two monitors side by side, 1024x768 (the primary) at 0,0
# and 800x600 at 1024,0, for what several monitors change. Xvfb alone stacks its Xinerama
# screens at 0,0, so Xephyr (which lays its screens side by side) runs on a host Xvfb,
# and Wine reads the monitors through Xinerama (RandR would show one screen).
# KY_TEST_DPI=144 (at start) makes a high-DPI variant: the prefix's screen resolution
# (LogPixels) set to that many dots per inch and the display grown with it, as a
# 1024x768 desktop at 150 % would be.
set -euo pipefail
cmd=$1 envdir=$2 arch=${3:-win64}
mkdir -p "$envdir"
envdir=$(cd "$envdir" && pwd)
layout=${4:-$(cat "$envdir/layout" 2>/dev/null || echo one)}
case "$layout" in one|two-monitors) ;; *) echo "testenv: unknown layout $layout" >&2; exit 2 ;; esac
echo "$layout" >"$envdir/layout"
# The X server that Wine draws on: Xephyr's for two monitors, else the Xvfb itself.
if [ "$layout" = two-monitors ]; then server_pid=xephyr.pid; else server_pid=xvfb.pid; fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$envdir/prefix"
# A revived display keeps the resolution the environment was started with.
if [ "$cmd" = revive ]; then dpi=$(cat "$envdir/dpi" 2>/dev/null || echo 96); else dpi=${KY_TEST_DPI:-96}; fi
case "$dpi" in ''|*[!0-9]*) echo "testenv: KY_TEST_DPI must be a number of dots per inch" >&2; exit 2 ;; esac
if [ "$dpi" -lt 96 ] || [ "$dpi" -gt 480 ]; then echo "testenv: KY_TEST_DPI $dpi is outside 96 to 480" >&2; exit 2; fi
screen="$((1024 * dpi / 96))x$((768 * dpi / 96))x24"

# The revision of the prefix settings made in template_prefix: part of the cached prefix's
# name and of each copy's record, so a change reaches every cache and every build folder.
settings=settings2

wine_for() { if [ "$1" = win32 ]; then echo wine; else echo /usr/lib/wine/wine64; fi; }

# 32-bit programs run in a 64-bit (WoW64) prefix by default, as they do on 64-bit Windows:
# that prefix is made natively in about a minute, while a pure 32-bit prefix is made under
# emulation and takes 20 minutes or more. KY_WIN32_PREFIX=pure asks for the latter.
prefix_arch() {
  if [ "$arch" = win32 ] && [ "${KY_WIN32_PREFIX:-wow64}" = pure ]; then echo win32; else echo win64; fi
}

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Ends the X server whose pid file is $1; `now` as $2 kills it at once (one that no longer
# answers). An X server closing down can loop for ever in its keyboard clean-up (seen with
# Xvfb), so one that is still there after 5 s is killed.
end_x() {
  alive "$envdir/$1" || { rm -f "$envdir/$1"; return 0; }
  local pid
  pid=$(cat "$envdir/$1")
  if [ "${2:-}" != now ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 25); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  fi
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$envdir/$1"
}

# The 32- and 64-bit environments may start at the same moment: choosing a display number
# and making the cached prefix each happen under a lock (fd 9, which no program started
# while it is held may inherit, or the lock would outlive this script).
take_lock() {
  exec 9>"$1"
  flock -w 1800 9 || { echo "testenv: gave up waiting for $1" >&2; exit 1; }
}
drop_lock() { exec 9>&-; }

# Starts an X server on the first free display number from 90 on: the command's "@N"
# becomes ":number". Sets `started` to the number; 1 when none could be started.
start_x() {
  local pidfile=$1 log=$2 n
  shift 2
  for n in $(seq 90 190); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    "${@/#@N/:$n}" >"$envdir/$log" 2>&1 9>&- &
    echo $! >"$envdir/$pidfile"
    for _ in $(seq 100); do
      [ -S "/tmp/.X11-unix/X$n" ] && { started=$n; return 0; }
      alive "$envdir/$pidfile" || break
      sleep 0.2
    done
    kill "$(cat "$envdir/$pidfile")" 2>/dev/null || true
  done
  return 1
}

# Every server runs with -noreset. An X server resets when its last client leaves, which
# here happens between two tests once Wine's desktop process has ended; Xvfb's reset now
# and then never ends (it loops in its keyboard clean-up), and the display, with every
# later test, hung.
start_display() {
  if alive "$envdir/$server_pid" && [ -S "/tmp/.X11-unix/X$(cat "$envdir/display")" ]; then
    return
  fi
  local started=""
  take_lock /tmp/.kydoru-testenv-display.lock
  if [ "$layout" = two-monitors ]; then
    # A host left from a Xephyr that died is replaced along with it.
    end_x xvfb.pid
    if start_x xvfb.pid xvfb.log Xvfb @N -screen 0 1824x768x24 -nolisten tcp -noreset; then
      DISPLAY=":$started" start_x xephyr.pid xephyr.log Xephyr @N +xinerama -screen 1024x768x24 \
        -screen 800x600x24 -nolisten tcp -noreset || started=""
    fi
  else
    start_x xvfb.pid xvfb.log Xvfb @N -screen 0 "$screen" -nolisten tcp -noreset || started=""
  fi
  if [ -n "$started" ]; then
    echo "$started" >"$envdir/display"
    drop_lock
    return
  fi
  echo "testenv: no X display could be started" >&2
  exit 1
}

# A fresh prefix costs from seconds (64-bit) to many minutes (32-bit, emulated), so one is
# made per machine and Wine version in a cache folder and copied for each build folder.
template_prefix() {
  local wine version cache parch
  parch=$(prefix_arch)
  wine=$(wine_for "$parch")
  version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' _)
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/kydoru-wine/$parch-$version-$settings
  mkdir -p "$(dirname "$cache")"
  take_lock "$cache.lock"
  # A cache without its registry is broken (an interrupted copy or clean-up): made again.
  if [ ! -f "$cache/ready" ] || [ ! -f "$cache/system.reg" ]; then
    rm -rf "$cache"
    mkdir -p "$(dirname "$cache")"
    echo "testenv: creating the $parch Wine prefix (once per machine)" >&2
    (
      export WINEPREFIX=$cache
      if [ "$parch" = win32 ]; then export WINEARCH=win32; fi
      timeout 1500 "$wine" wineboot -i >"$envdir/wineboot.log" 2>&1
      # The settings (change $settings with them). A crashing test must end, not wait
      # behind Wine's crash dialog.
      timeout 600 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$envdir/wineboot.log" 2>&1
      # Top-level windows stay out of the X window manager's hands. The private display
      # has no window manager, and for a managed window Wine waits up to 2 s at every
      # hide or close for the manager to confirm it: most of the suite's time.
      timeout 600 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$envdir/wineboot.log" 2>&1
      timeout 300 wineserver -w || true
    ) 9>&-
    touch "$cache/ready"
  fi
  drop_lock
  echo "$cache"
}

make_prefix() {
  local want="$arch $(prefix_arch) $settings"
  [ "$layout" = one ] || want="$want $layout"
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ "$(cat "$envdir/prefix-kind" 2>/dev/null)" != "$want" ]; then
    local template
    template=$(template_prefix)
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
    rm -f "$WINEPREFIX/ready"
    if [ "$layout" = two-monitors ]; then
      timeout 600 "$(wine_for "$(prefix_arch)")" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f \
        >>"$envdir/wineserver.log" 2>&1 </dev/null
      timeout 300 wineserver -w || true
    fi
    echo "$want" >"$envdir/prefix-kind"
  fi
  echo "$arch" >"$envdir/arch"
  "$(dirname "$0")/../../tools/wine-fonts.sh" "$WINEPREFIX"
}

# The screen resolution Wine reports to programs (GetDeviceCaps LOGPIXELSX, the system
# DPI); each program reads it when it starts. Left alone in the usual 96-dpi prefix.
# The record lives in the prefix as well, so a fresh copy of the prefix is set again.
set_dpi() {
  echo "$dpi" >"$envdir/dpi"
  [ "$(cat "$WINEPREFIX/ky-dpi" 2>/dev/null || echo 96)" = "$dpi" ] && return
  timeout 300 "$(wine_for "$(prefix_arch)")" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f >>"$envdir/wineserver.log" 2>&1 </dev/null
  echo "$dpi" >"$WINEPREFIX/ky-dpi"
}

case "$cmd" in
  start)
    start_display
    export DISPLAY=":$(cat "$envdir/display")"
    make_prefix
    # One server for the whole run keeps each program's start-up short.
    wineserver -p >>"$envdir/wineserver.log" 2>&1 </dev/null || true  # already running is fine
    # Start Wine's own services now, with their output in a log: started by the first
    # test program instead, they would hold that program's output pipe open and the
    # test runner would wait for them.
    timeout 600 "$(wine_for "$(prefix_arch)")" cmd.exe /c exit >>"$envdir/wineserver.log" 2>&1 </dev/null || true
    set_dpi
    if [ "$arch" = win32 ]; then
      # A 32-bit program that crashes under emulation must end, not wait for a debugger
      # that takes minutes to start there (and may itself crash).
      timeout 300 "$(wine_for "$(prefix_arch)")" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /reg:32 /f >>"$envdir/wineserver.log" 2>&1 </dev/null || true
    fi
    echo "testenv: $arch programs, $(prefix_arch) prefix $WINEPREFIX on display $DISPLAY ($screen, $dpi dpi)"
    ;;
  revive)
    # The X server died under an earlier program, or stopped answering (wine-run.sh asks
    # it first): a new one, and Wine's services and desktop started again on it.
    wineserver -k 2>/dev/null || true
    end_x "$server_pid" now
    end_x xvfb.pid now
    start_display
    export DISPLAY=":$(cat "$envdir/display")"
    wineserver -p >>"$envdir/wineserver.log" 2>&1 </dev/null || true
    timeout 600 "$(wine_for "$(prefix_arch)")" cmd.exe /c exit >>"$envdir/wineserver.log" 2>&1 </dev/null || true
    echo "testenv: X server started again on display $DISPLAY" >&2
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    end_x xephyr.pid
    end_x xvfb.pid
    echo "testenv: stopped"
    ;;
  *) echo "usage: testenv.sh start|revive|stop ENVDIR [win64|win32 [one|two-monitors]]" >&2; exit 2 ;;
esac
