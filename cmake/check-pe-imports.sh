#!/usr/bin/env bash
# Checks that every .exe under a build folder is a PE image of the expected format and
# imports nothing but DLLs that every Windows system has, so it runs without extras.
# Usage: check-pe-imports.sh OBJDUMP EXPECTED_FORMAT BUILD_DIR
#   EXPECTED_FORMAT: pei-x86-64 (PE32+) or pei-i386 (PE32)
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: check-pe-imports.sh OBJDUMP EXPECTED_FORMAT BUILD_DIR" >&2
  exit 2
fi
objdump=$1
format=$2
build_dir=$3

declare -A system_dlls=()
for dll in kernel32 user32 gdi32 comctl32 shell32 advapi32 msvcrt ole32 oleaut32 comdlg32 \
  shlwapi uxtheme version ws2_32 winmm bcrypt oleacc; do
  system_dlls[$dll.dll]=1
done

mapfile -t exes < <(find "$build_dir" -name '*.exe' -type f -not -path '*/wineprefix*/*' \
  -not -path '*/CMakeFiles/*' | sort)
if [ ${#exes[@]} -eq 0 ]; then
  echo "check-pe-imports: no executables under $build_dir" >&2
  exit 1
fi

failed=0
for exe in "${exes[@]}"; do
  if ! dump=$("$objdump" -p "$exe" 2>&1); then
    echo "FAIL $exe: objdump could not read it" >&2
    failed=$((failed + 1))
    continue
  fi
  if ! grep -q "file format $format\$" <<<"$dump"; then
    echo "FAIL $exe: not $format ($(grep -m1 'file format' <<<"$dump"))" >&2
    failed=$((failed + 1))
    continue
  fi
  bad=()
  while read -r dll; do
    lower=${dll,,}
    [ -n "${system_dlls[$lower]:-}" ] || bad+=("$dll")
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
  if [ ${#bad[@]} -ne 0 ]; then
    echo "FAIL $exe: imports non-system DLLs: ${bad[*]}" >&2
    failed=$((failed + 1))
  else
    echo "ok   $exe"
  fi
done
echo "${#exes[@]} executables checked, $failed failed"
[ "$failed" -eq 0 ]
