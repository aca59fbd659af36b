#!/usr/bin/env bash
# `make dist`: the release packages of the committed tree, in dist/:
#   KestrowDemo-V-win64.msi, KestrowDemo-V-win32.msi   their installers (scripts/dist-msi.py)
#   KestrowDemo-V-win64.zip, KestrowDemo-V-win32.zip   the Windows programs
#   kestrow_V_amd64.deb                                kestrow-sign and the core (CPack)
#   KestrowDemo-V-src.tar.gz                           the commit (git archive)
#   SHA256SUMS
# Everything is built from a `git archive` of HEAD, never from the working tree, with
# file times from the commit (SOURCE_DATE_EPOCH) and no build paths or link time
# stamps, so the same commit gives the same bytes in any folder on the same machine.
# With SIGN_PFX and SIGN_PASS_FILE set (see scripts/sign.sh), the Windows programs are
# signed before they are packed, and the installers after. Packages are made aside and
# moved to dist/ at the end: a run that fails leaves none.
# Usage: scripts/dist.sh [JOBS]
set -euo pipefail
signing=false
if [ -n "${SIGN_PFX:-}${SIGN_PASS_FILE:-}" ]; then
  signing=true
  # Named from where make ran; the build runs elsewhere.
  [ -z "${SIGN_PFX:-}" ] || SIGN_PFX=$(realpath -m -- "$SIGN_PFX")
  [ -z "${SIGN_PASS_FILE:-}" ] || SIGN_PASS_FILE=$(realpath -m -- "$SIGN_PASS_FILE")
  export SIGN_PFX SIGN_PASS_FILE
fi
cd "$(dirname "$0")/.."
root=$PWD
jobs=${1:-$(nproc)}

for tool in git cmake ninja g++ x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix \
  x86_64-w64-mingw32-windres gzip python3 dpkg-deb dpkg-shlibdeps wixl; do
  if ! command -v "$tool" >/dev/null; then
    echo "dist: '$tool' is missing; scripts/install-deps.sh dist installs what is needed" >&2
    exit 1
  fi
done
if ! git rev-parse -q --verify HEAD >/dev/null; then
  echo "dist: $root is not a git checkout with a commit; packages are made from commits" >&2
  exit 1
fi
if [ -n "$(git status --porcelain)" ]; then
  echo "dist: the working tree differs from HEAD; packages are made from commits, so" >&2
  echo "commit or stash these first:" >&2
  git status --short >&2
  exit 1
fi

export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export TZ=UTC LC_ALL=C
umask 022
work=$root/build/dist-work
out=$work/packages
rm -rf "$work" "$root/dist"
# Before the build: a certificate that cannot sign stops it at once.
if $signing; then
  bash scripts/sign.sh --check
fi
mkdir -p "$work/src" "$out"
archive() { git -c tar.umask=022 archive --format=tar "$@" HEAD; }
archive | tar -x -C "$work/src"

# Release builds of the exported tree; presets put them under its build/.
cd "$work/src"
for preset in dist-linux dist-win64 dist-win32; do
  cmake --preset "$preset" >/dev/null
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/dist-linux/CMakeCache.txt)
cmake --build --preset dist-linux -j "$jobs"
(cd build/dist-linux && cpack -G DEB >/dev/null)
cp "build/dist-linux/kestrow_${version}_amd64.deb" "$out/"

for arch in win64 win32; do
  cmake --build --preset "dist-$arch" -j "$jobs" --target KestrowDemo kestrow-sign KestrowDemoDriver
  top=$work/zip-$arch/KestrowDemo-$version-$arch
  mkdir -p "$top"
  cp "build/dist-$arch/app/KestrowDemo.exe" "build/dist-$arch/tools/kestrow-sign.exe" "$top/"
  if $signing; then
    bash scripts/sign.sh "$top/KestrowDemo.exe" "$top/kestrow-sign.exe"
  fi
  # Windows line endings for the texts.
  sed 's/\r*$/\r/' docs/README-windows.txt >"$top/README.txt"
  sed 's/\r*$/\r/' LICENSE >"$top/LICENSE.txt"
  python3 scripts/dist-zip.py "$out/KestrowDemo-$version-$arch.zip" "$top"
  msi=$out/KestrowDemo-$version-$arch.msi
  python3 scripts/dist-msi.py "$msi" "$top" "build/dist-$arch/packaging/windows"
  if $signing; then
    bash scripts/sign.sh "$msi"
  fi
done

cd "$root"
archive --prefix="KestrowDemo-$version/" | gzip -9n >"$out/KestrowDemo-$version-src.tar.gz"
(cd "$out" && sha256sum -- *.msi *.zip *.deb *.tar.gz >SHA256SUMS)
mv "$out" "$root/dist"
signed=unsigned
$signing && signed="signed with $SIGN_PFX"
echo "dist: packages of $(git rev-parse --short HEAD) (version $version, $signed) in $root/dist:"
(cd "$root/dist" && ls -l)
