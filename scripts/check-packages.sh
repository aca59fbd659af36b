#!/usr/bin/env bash
# Checks the packages `make dist` left in DIST as a user would meet them:
# - the five files, named with the one version, and SHA256SUMS agrees with them;
# - each zip holds one top folder with the two programs (of its processor) and the two
#   texts in Windows line endings; unpacked under a path with blanks, the 64-bit
#   kestrow-sign.exe gives its version and a known signature under Wine, and
#   KestrowDemo.exe shows its dialog and ends when it is closed;
# - the .deb is clean to dpkg-deb (and to lintian, where installed), holds what it
#   should, and unpacked with dpkg-deb -x its kestrow-sign signs a known answer and its
#   CMake package builds tools/example-consumer;
# - the source tarball is the commit under one top folder.
# Usage: scripts/check-packages.sh [DIST]   (default: dist)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dist=$(cd "${1:-dist}" && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kestrow package check.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "check-packages: $*" >&2
  exit 1
}
# Made-up key and time; the answer is HMAC-SHA1 worked out independently.
secret=kestrow-secret
sign_args=(--time 2026-12-05T22:26:06Z --access-key-id KESTROWKEYID)
signature="Signature: ClcVShun84K%2BqTqvE25mfgEO5bI%3D"
expect_signature() { # WHAT OUTPUT
  grep -qxF "$signature" <<<"${2//$'\r'/}" || fail "$1 signed wrongly: $2"
}

debs=("$dist"/kestrow_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single .deb in $dist"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
src=KestrowDemo-$version-src.tar.gz
want="$src KestrowDemo-$version-win32.zip KestrowDemo-$version-win64.zip SHA256SUMS kestrow_${version}_amd64.deb"
[ "$(cd "$dist" && LC_ALL=C ls | tr '\n' ' ')" = "$want " ] || fail "expected exactly: $want"
(cd "$dist" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS disagrees"

# The source tarball: the commit under KestrowDemo-V/, whose project has this version.
tar -tzf "$dist/$src" | grep -v "^KestrowDemo-$version/" && fail "$src: a member outside the top folder"
tar -xzOf "$dist/$src" "KestrowDemo-$version/CMakeLists.txt" |
  grep -q "^project(KestrowDemo VERSION $version " || fail "$src: not version $version"

# The Windows zips.
for arch in win64 win32; do
  zip=$dist/KestrowDemo-$version-$arch.zip
  top=KestrowDemo-$version-$arch
  python3 - "$zip" "$top" <<'PY' || fail "$zip"
import sys, zipfile
zip_path, top = sys.argv[1:]
with zipfile.ZipFile(zip_path) as z:
    names = sorted(z.namelist())
    want = sorted(f"{top}/{n}" for n in ("KestrowDemo.exe", "kestrow-sign.exe", "README.txt", "LICENSE.txt"))
    if names != want:
        sys.exit(f"members {names}, expected {want}")
    for text in ("README.txt", "LICENSE.txt"):
        data = z.read(f"{top}/{text}")
        if data.count(b"\n") == 0 or data.count(b"\n") != data.count(b"\r\n"):
            sys.exit(f"{text}: not every line ends in CR LF")
PY
  folder="$tmp/Program Files/$arch build"
  mkdir -p "$folder"
  python3 -m zipfile -e "$zip" "$folder"
  format=pei-x86-64
  [ "$arch" = win32 ] && format=pei-i386
  for exe in KestrowDemo.exe kestrow-sign.exe; do
    x86_64-w64-mingw32-objdump -f "$folder/$top/$exe" | grep -q "file format $format" ||
      fail "$arch/$exe is not a $format executable"
  done
done

# The 64-bit programs under Wine (32-bit ones cannot run on this kernel).
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target KestrowDemoDriver >/dev/null
export KESTROW_WINEPREFIX=$root/build/package-check-wineprefix
wine_run=$root/cmake/wine-run.sh
unpacked="$tmp/Program Files/win64 build/KestrowDemo-$version-win64"
out=$(cd "$unpacked" && "$wine_run" ./kestrow-sign.exe --version) || fail "kestrow-sign.exe --version failed"
[ "${out//$'\r'/}" = "kestrow-sign $version" ] || fail "kestrow-sign.exe --version: $out"
out=$(cd "$unpacked" && KESTROW_SECRET_KEY=$secret "$wine_run" ./kestrow-sign.exe "${sign_args[@]}") ||
  fail "kestrow-sign.exe failed: $out"
expect_signature kestrow-sign.exe "$out"
winpath() { echo "Z:${1//\//\\}"; }
touch "$tmp/close now"
"$wine_run" "$root/build/windows-x64/app/KestrowDemoDriver.exe" "$(winpath "$unpacked/KestrowDemo.exe")" \
  "$(winpath "$tmp/dialog rect")" "$(winpath "$tmp/close now")" ||
  fail "KestrowDemo.exe from the zip did not show its dialog and end when it was closed"
read -r _ _ width height <"$tmp/dialog rect"
[ "$width" -gt 0 ] && [ "$height" -gt 0 ] || fail "KestrowDemo.exe: its dialog has no size"

# The Debian package.
dpkg-deb --info "$deb" >/dev/null 2>"$tmp/info.err" && [ ! -s "$tmp/info.err" ] ||
  fail "dpkg-deb --info: $(cat "$tmp/info.err")"
[ "$(dpkg-deb -f "$deb" Package Architecture)" = $'Package: kestrow\nArchitecture: amd64' ] ||
  fail "$deb: wrong package name or architecture"
dpkg-deb -f "$deb" Depends | grep -q 'libc6 (>= .*libstdc++6 (>= ' || fail "$deb: dependencies missing"
if command -v lintian >/dev/null; then
  tags=$(lintian "$deb" 2>/dev/null) || fail "lintian: $tags"
  [ -z "$tags" ] || fail "lintian: $tags"
fi
debroot="$tmp/deb root"
dpkg-deb -x "$deb" "$debroot"
libdir=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
for file in usr/bin/kestrow-sign usr/share/man/man1/kestrow-sign.1.gz usr/share/doc/kestrow/copyright \
  "$libdir/libkestrow_core.a" usr/include/engine/kestrow_engine.h "$libdir/cmake/Kestrow/KestrowConfig.cmake"; do
  [ -f "$debroot/$file" ] || fail "$deb: no /$file"
done
grep -qF "set(PACKAGE_VERSION \"$version\")" "$debroot/$libdir/cmake/Kestrow/KestrowConfigVersion.cmake" ||
  fail "$deb: the CMake package is not version $version"
out=$("$debroot/usr/bin/kestrow-sign" --version)
[ "$out" = "kestrow-sign $version" ] || fail "kestrow-sign --version: $out"
out=$(KESTROW_SECRET_KEY=$secret "$debroot/usr/bin/kestrow-sign" "${sign_args[@]}") || fail "kestrow-sign failed"
expect_signature "the package's kestrow-sign" "$out"
cmake -S tools/example-consumer -B "$tmp/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKestrow_DIR="$debroot/$libdir/cmake/Kestrow" >/dev/null || fail "the consumer does not configure"
cmake --build "$tmp/consumer" >/dev/null || fail "the consumer does not build"
out=$(KESTROW_SECRET_KEY=$secret "$tmp/consumer/kestrow-consumer" 1796509566 UrlInfo KESTROWKEYID)
expect_signature "the consumer" "Signature: $(sed -n 2p <<<"$out")"
echo "check-packages: the packages of version $version in $dist work"
