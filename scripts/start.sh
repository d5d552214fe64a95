#!/usr/bin/env bash
# Builds the tool and starts it: on your display when there is one, otherwise
# under Xvfb with a scripted demonstration run that prints the copied report.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$ROOT/scripts/install-deps.sh"
build_product
build_tests
echo "Product: $PRODUCT_BUILD/src/Project1.exe (32-bit; take this file to a Windows PC)"

# This machine may run no 32-bit code (the kernel's ia32 emulation can be
# off); the 64-bit build of the same sources runs under Wine's 64-bit loader.
EXE="$TEST_BUILD/src/Project1.exe"
PREFIX="$TEST_BUILD/demo-prefix"
export QRT_PREFIX="$PREFIX"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEPREFIX="$PREFIX" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  exec /usr/lib/wine/wine64 "$EXE"
fi
echo "No display: a demonstration run under Xvfb (make 'Acme', model 'ScanMaster 3000')."
"$ROOT/tests/harness/prefix.sh" setup "$PREFIX"
trap '"$ROOT/tests/harness/prefix.sh" cleanup "$PREFIX"' EXIT
QRT_TOOL="$EXE" "$ROOT/tests/harness/wine-run.sh" "$TEST_BUILD/tests/e2e/demo_run.exe" 2>/dev/null | tr -d '\r'
