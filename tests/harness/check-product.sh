#!/usr/bin/env bash
# Checks the product executable: a 32-bit GUI program that imports only
# Windows system libraries and carries its manifest, icon and version.
set -euo pipefail
exe=$1
fail() { echo "FAIL: $*"; exit 1; }
headers=$(i686-w64-mingw32-objdump -p "$exe")
grep -q "file format pei-i386" <<<"$headers" || fail "not a 32-bit executable"
grep -q "Subsystem.*(Windows GUI)" <<<"$headers" || fail "not a GUI program"
dlls=$(grep "DLL Name:" <<<"$headers" | awk '{print toupper($3)}' | sort -u)
echo "imports: $(echo $dlls)"
for dll in $dlls; do
  case $dll in KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL|COMCTL32.DLL|MSVCRT.DLL) ;;
    *) fail "imports $dll" ;; esac
done
grep -qi "isWow64Process\|CreateToolhelp32Snapshot" <<<"$headers" && fail "imports a function it must look up by name"
size=$(stat -c %s "$exe")
echo "size: $size bytes"
[ "$size" -lt 1048576 ] || fail "larger than 1 MiB"
strings -a "$exe" | grep -q 'Microsoft.Windows.Common-Controls' || fail "no manifest"
strings -a -el "$exe" | grep -q 'Quibrel Reporting Tool' || fail "no version resource"
strings -a "$exe" | grep -q "object Form1: TForm1" || fail "no form description"
echo "product checks passed"
