#!/usr/bin/env bash
# Takes docs/screenshot.png: the window after a scripted run, under Xvfb.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
command -v import >/dev/null || apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
PREFIX="$TEST_BUILD/screenshot-prefix"
export QRT_PREFIX="$PREFIX"
"$ROOT/tests/harness/prefix.sh" setup "$PREFIX"
trap '"$ROOT/tests/harness/prefix.sh" cleanup "$PREFIX"' EXIT
# Without a window manager Wine draws the window frame itself.
"$ROOT/tests/harness/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
err=$(mktemp)
QRT_TOOL="$TEST_BUILD/src/Project1.exe" "$ROOT/tests/harness/wine-run.sh" \
  "$TEST_BUILD/tests/e2e/demo_run.exe" --linger 4 >/dev/null 2>"$err" &
for _ in $(seq 300); do grep -q '^WINDOW' "$err" && break; sleep 0.1; done
read -r _ x y w h < <(grep '^WINDOW' "$err" | tr -d '\r')
sleep 1
DISPLAY="$(cat "$PREFIX.display")" import -window root -crop "${w}x${h}+${x}+${y}" "$ROOT/docs/screenshot.png"
wait
rm -f "$err"
echo "wrote docs/screenshot.png"
