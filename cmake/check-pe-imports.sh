#!/usr/bin/env bash
# Checks that every .exe under a build folder is a PE image of the expected format, imports
# nothing but DLLs that every Windows system has, so it runs without extras, and imports no
# function of a pair with an A and a W form: the A form takes text in the system's code page,
# which differs from machine to machine and holds few of the world's characters. The pairs
# are read from the cross toolchain's import libraries (a DLL that has both XA and XW).
# Usage: check-pe-imports.sh OBJDUMP EXPECTED_FORMAT BUILD_DIR
#   EXPECTED_FORMAT: pei-x86-64 (PE32+) or pei-i386 (PE32)
#   OBJDUMP: the toolchain's (TRIPLE-objdump); its nm and /usr/TRIPLE/lib go with it.
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: check-pe-imports.sh OBJDUMP EXPECTED_FORMAT BUILD_DIR" >&2
  exit 2
fi
objdump=$1
format=$2
build_dir=$3
triple=$(basename "$objdump")
triple=${triple%-objdump}
nm=${objdump%objdump}nm
import_libs=/usr/$triple/lib

declare -A system_dlls=()
for dll in kernel32 user32 gdi32 comctl32 shell32 advapi32 msvcrt ole32 oleaut32 comdlg32 \
  shlwapi uxtheme version ws2_32 winmm bcrypt oleacc; do
  system_dlls[$dll.dll]=1
done

# A functions allowed, each as "EXE-GLOB FUNCTION REASON"; EXE-GLOB matches the path under
# BUILD_DIR. Only code that is not the project's own belongs here.
allowed_a=(
  # The posix thread model's runtime (libwinpthread), linked statically into every program:
  # unnamed events and semaphores, its debug trace, and the kernel's module by its name.
  "* CreateEventA libwinpthread: unnamed events, no text"
  "* CreateSemaphoreA libwinpthread: unnamed semaphores, no text"
  "* OutputDebugStringA libwinpthread: its debug trace"
  "* GetModuleHandleA libwinpthread: finds kernel32.dll for the precise clock"
  # GCC's start-up code on x86 (crtbegin.o): loads its shared unwinder DLL by name, if any.
  "* LoadLibraryA crtbegin.o (x86): the unwinder's DLL, by an ASCII name"
  # libstdc++'s std::system_category messages.
  "* FormatMessageA libstdc++: std::system_error's message text"
  # GoogleTest's own Windows code in the test programs: death tests, output capture, flags.
  "tests/* CreateProcessA GoogleTest: death tests"
  "tests/* GetCommandLineA GoogleTest: death tests"
  "tests/* GetModuleFileNameA GoogleTest: death tests"
  "tests/* GetTempFileNameA GoogleTest: output capture"
  "tests/* GetTempPathA GoogleTest: output capture"
)

mapfile -t exes < <(find "$build_dir" -name '*.exe' -type f -not -path '*/wineprefix*/*' \
  -not -path '*/CMakeFiles/*' | sort)
if [ ${#exes[@]} -eq 0 ]; then
  echo "check-pe-imports: no executables under $build_dir" >&2
  exit 1
fi

# The W functions a system DLL exports, read once per DLL: "dll.dll:NameW".
declare -A w_functions=()
declare -A w_read=()
read_w_functions() {
  local dll=$1 lib name
  [ -n "${w_read[$dll]:-}" ] && return 0
  w_read[$dll]=1
  lib=$import_libs/lib${dll%.dll}.a
  if [ ! -f "$lib" ]; then
    echo "check-pe-imports: no import library $lib to tell the A/W pairs of $dll" >&2
    return 1
  fi
  # x86-64: __imp_NameW; x86: __imp__NameW@16.
  while read -r name; do
    w_functions[$dll:$name]=1
  done < <("$nm" "$lib" 2>/dev/null | sed -n 's/^.* I __imp__\{0,1\}\([A-Za-z0-9_]*W\)\(@[0-9]*\)\{0,1\}$/\1/p')
}

is_allowed() {
  local relative=$1 function=$2 entry glob name
  for entry in "${allowed_a[@]}"; do
    read -r glob name _ <<<"$entry"
    # shellcheck disable=SC2053
    [[ "$relative" == $glob && "$function" == "$name" ]] && return 0
  done
  return 1
}

failed=0
for exe in "${exes[@]}"; do
  relative=${exe#"$build_dir"/}
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
    continue
  fi
  # Imported names under each DLL: "dll.dll name".
  narrow=()
  while read -r dll function; do
    read_w_functions "$dll" || exit 1
    if [ -n "${w_functions[$dll:${function%A}W]:-}" ] && ! is_allowed "$relative" "$function"; then
      narrow+=("$function")
    fi
  done < <(awk '/DLL Name:/ { dll = tolower($3) }
                /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z0-9_]+A$/ { print dll, $3 }' <<<"$dump")
  if [ ${#narrow[@]} -ne 0 ]; then
    echo "FAIL $exe: imports the A form of functions that have a W form: ${narrow[*]}" >&2
    failed=$((failed + 1))
  else
    echo "ok   $exe"
  fi
done
echo "${#exes[@]} executables checked, $failed failed"
[ "$failed" -eq 0 ]
