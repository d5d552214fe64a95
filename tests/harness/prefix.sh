#!/usr/bin/env bash
# prefix.sh setup|cleanup DIR: makes the test prefix DIR with an X display of
# its own (Xvfb) and a wineserver that stays up for the whole test run.
set -eu
cmd=$1 prefix=$2
export WINEPREFIX="$prefix" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$cmd" in
  setup)
    # A server left over from an earlier run: end it and wait until it is gone.
    /usr/lib/wine/wineserver64 -k </dev/null >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver64 -w </dev/null >/dev/null 2>&1 || true
    if [ -f "$prefix.xvfb.pid" ] && kill -0 "$(cat "$prefix.xvfb.pid")" 2>/dev/null; then :; else
      n=90
      while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
      echo $! > "$prefix.xvfb.pid"
      for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      echo ":$n" > "$prefix.display"
    fi
    export DISPLAY="$(cat "$prefix.display")"
    if [ ! -f "$prefix/system.reg" ]; then
      /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
      # wineboot's server lingers a few seconds; a persistent one starts after it.
      /usr/lib/wine/wineserver64 -w </dev/null >/dev/null 2>&1 || true
    fi
    # Nothing started here may keep ctest's output pipes open.
    /usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1
    /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  cleanup)
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    [ -f "$prefix.xvfb.pid" ] && kill "$(cat "$prefix.xvfb.pid")" 2>/dev/null || true
    rm -f "$prefix.xvfb.pid" "$prefix.display"
    ;;
esac
