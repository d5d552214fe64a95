#!/usr/bin/env bash
# Runs a program of the test build under Wine in the test prefix named by
# QRT_PREFIX (set up by prefix.sh), on that prefix's own X display.
set -eu
: "${QRT_PREFIX:?QRT_PREFIX names the test prefix}"
export WINEPREFIX="$QRT_PREFIX" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$QRT_PREFIX.display" ] && export DISPLAY="$(cat "$QRT_PREFIX.display")"
exec /usr/lib/wine/wine64 "$@"
