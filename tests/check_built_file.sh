#!/bin/sh
# Checks one built program: 32-bit x86, GUI subsystem, ASLR (with the relocations it needs),
# DEP, no SEH handlers, at most 20 KiB, an asInvoker manifest, and imports from the allowed DLLs
# only.
#   check_built_file.sh OBJDUMP PROGRAM.exe ALLOWED.dll...
objdump=$1 exe=$2
shift 2
failed=0
fail() { echo "FAIL: $exe: $*"; failed=1; }

headers=$("$objdump" -p "$exe") || exit 1
echo "$headers" | grep -q "file format pei-i386" || fail "not a 32-bit x86 PE"
echo "$headers" | grep -Eq "^Subsystem[[:space:]]+00000002" || fail "not the GUI subsystem"
echo "$headers" | grep -q "DYNAMIC_BASE" || fail "no DYNAMIC_BASE (ASLR)"
echo "$headers" | grep -q "NX_COMPAT" || fail "no NX_COMPAT (DEP)"
"$objdump" -h "$exe" | grep -q " \.reloc " || fail "no .reloc section: ASLR cannot move it"
# An image marked NO_SEH must not register a frame-based handler (the chain head is fs:[0]);
# Windows would end the process at the first exception that reached it.
echo "$headers" | grep -q "NO_SEH" || fail "no NO_SEH mark"
"$objdump" -d "$exe" | grep -q "%fs:0x0\b" && fail "NO_SEH, but code touches the SEH chain at fs:[0]"
size=$(wc -c <"$exe")
[ "$size" -le 20480 ] || fail "$size bytes, more than 20 KiB"

imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
  allowed=0
  for ok in "$@"; do [ "$(echo "$dll" | tr a-z A-Z)" = "$(echo "$ok" | tr a-z A-Z)" ] && allowed=1; done
  [ $allowed = 1 ] || fail "imports $dll"
done

manifest=$(strings -a "$exe" | tr -d '\n')
echo "$manifest" | grep -q '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' ||
  fail "no asInvoker manifest"

[ $failed = 0 ] && echo "ok: $exe imports $(echo $imports)"
exit $failed
