#!/usr/bin/env bash
# Checks the packages `make dist` left in DIST as a user would meet them:
# - the seven files, named with the one version, and SHA256SUMS agrees with them;
# - each zip holds one top folder with the two programs (of its processor) and the two
#   texts in Windows line endings; unpacked under a path with blanks, the 64-bit
#   kestrow-sign.exe gives its version and a known signature under Wine, and
#   KestrowDemo.exe shows its dialog and ends when it is closed;
# - each installer's tables: the zip's files for Program Files\Ombry\KestrowDemo of its
#   processor, a Start-menu shortcut, version, publisher, home page, and a refused
#   downgrade. In a fresh Wine prefix the 64-bit one installs silently (files, shortcut,
#   installed-programs entry with its icon, the folder on the system PATH; the installed
#   programs work, kestrow-sign also from another folder), a higher
#   version built here replaces it, the lower one is then refused, and silent removal
#   leaves nothing of ours (32-bit programs cannot run on this kernel);
# - scripts/sign.sh with a throwaway certificate: osslsigncode verifies what it signed,
#   not once a byte changed; a wrong password or a missing file signs nothing;
# - the .deb is clean to dpkg-deb (and to lintian, where installed), holds what it
#   should, with headers only under /usr/include/kestrow/, and unpacked with dpkg-deb -x its
#   bash completion completes an option, its kestrow-sign signs a known answer and
#   tools/example-consumer builds against it through its CMake package and through its
#   kestrow.pc, and signs it too;
# - the source tarball is the commit under one top folder;
# - the commands README.md and docs/ show for the packages (their `dist` blocks; see
#   scripts/check-doc-commands.py): those for bash in DIST, the README's apt install of the
#   .deb simulated; those for cmd under Wine after the installer, from another folder.
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

# The .deb's headers in a folder of their own: nothing else in /usr/include.
check_deb_headers() { # DEB ROOT
  local outside
  outside=$(find "$2/usr/include" -mindepth 1 -maxdepth 1 ! -name kestrow -printf '/usr/include/%P ')
  [ -z "$outside" ] || fail "$1: outside /usr/include/kestrow/: $outside"
}
# tools/example-consumer built against the unpacked package both ways, CMake and pkg-config
# (xargs reads pkg-config's escaped blanks); each build signs the known answer.
check_consumer_both_ways() { # DEB ROOT LIBDIR
  local out
  cmake -S tools/example-consumer -B "$tmp/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKestrow_DIR="$2/$3/cmake/Kestrow" >/dev/null || fail "the consumer does not configure"
  cmake --build "$tmp/consumer" >/dev/null || fail "the consumer does not build with CMake"
  PKG_CONFIG_LIBDIR="$2/$3/pkgconfig" pkg-config --cflags --libs kestrow |
    xargs g++ -std=c++17 -Wall -Wextra -Werror tools/example-consumer/main.cpp \
      -o "$tmp/consumer/kestrow-consumer-pc" || fail "$1: the consumer does not build with pkg-config"
  for exe in kestrow-consumer kestrow-consumer-pc; do
    out=$(KESTROW_SECRET_KEY=$secret "$tmp/consumer/$exe" 1796509566 UrlInfo KESTROWKEYID)
    expect_signature "the consumer ($exe)" "Signature: $(sed -n 2p <<<"$out")"
  done
}

debs=("$dist"/kestrow_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single .deb in $dist"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
src=KestrowDemo-$version-src.tar.gz
want="$src"
for arch in win32 win64; do want+=" KestrowDemo-$version-$arch.msi KestrowDemo-$version-$arch.zip"; done
want+=" SHA256SUMS kestrow_${version}_amd64.deb"
[ "$(cd "$dist" && LC_ALL=C ls | tr '\n' ' ')" = "$want " ] || fail "expected exactly: $want"
(cd "$dist" && sha256sum --quiet --strict -c SHA256SUMS) || fail "SHA256SUMS disagrees"
python3 scripts/check-doc-commands.py dist "$dist" bash || fail "a command the documentation shows fails"

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

# The installers' tables, for both processors.
home_page=$(sed -n 's/^#define KESTROW_HOME_PAGE_URL "\(.*\)"$/\1/p' controls/home_page.h)
for arch in win64 win32; do
  msi=$dist/KestrowDemo-$version-$arch.msi
  program_files=ProgramFiles64Folder template=x64
  [ "$arch" = win32 ] && program_files=ProgramFilesFolder template=Intel
  msiinfo suminfo "$msi" | grep -qx "Template: $template;1033" || fail "$msi: not for $template"
  tables=$(for table in Property Directory Shortcut LaunchCondition Environment; do msiinfo export "$msi" $table; done)
  # Each row: the start of a line of one of these tables.
  for row in "ProductName	KestrowDemo" "Manufacturer	Ombry" "ProductVersion	$version" "ALLUSERS	1" \
    "ARPURLINFOABOUT	$home_page" "ARPPRODUCTICON	KestrowDemo.ico" "PublisherFolder	$program_files	Ombry" \
    "INSTALLDIR	PublisherFolder	KestrowDemo" \
    "StartMenuShortcut	ProgramMenuFolder	KestrowDemo	Program	[#KestrowDemo.exe]" \
    "NOT WIX_DOWNGRADE_DETECTED	A newer version of KestrowDemo is already installed." \
    "PathEntry	=-*PATH	[~];[INSTALLDIR]	SignTool"; do
    awk -v row="$row" 'index($0, row) == 1 { found = 1 } END { exit !found }' <<<"$tables" ||
      fail "$msi: no row '$row'"
  done
  msiextract -C "$tmp/msi-$arch" "$msi" >/dev/null || fail "$msi: msiextract failed"
  # msiextract puts the 64-bit Program Files nowhere in particular; the Directory table is checked.
  diff -r "$(find "$tmp/msi-$arch" -type d -path '*/Ombry/KestrowDemo')" "$tmp/Program Files/$arch build/KestrowDemo-$version-$arch" ||
    fail "$msi: its files differ from the zip's"
done

# The 64-bit programs under Wine (32-bit ones cannot run on this kernel), in a fresh prefix.
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target KestrowDemoDriver >/dev/null
export KESTROW_WINEPREFIX="$tmp/wine prefix"
wine_run=$root/cmake/wine-run.sh
winpath() { echo "Z:${1//\//\\}"; }
works() { # WHAT FOLDER: its kestrow-sign.exe and KestrowDemo.exe work under Wine
  local out
  out=$(cd "$2" && "$wine_run" ./kestrow-sign.exe --version) || fail "$1: kestrow-sign.exe --version failed"
  [ "${out//$'\r'/}" = "kestrow-sign $version" ] || fail "$1: kestrow-sign.exe --version: $out"
  out=$(cd "$2" && KESTROW_SECRET_KEY=$secret "$wine_run" ./kestrow-sign.exe "${sign_args[@]}") ||
    fail "$1: kestrow-sign.exe failed: $out"
  expect_signature "$1: kestrow-sign.exe" "$out"
  rm -f "$tmp/dialog rect"
  touch "$tmp/close now"
  "$wine_run" "$root/build/windows-x64/app/KestrowDemoDriver.exe" "$(winpath "$2/KestrowDemo.exe")" \
    "$(winpath "$tmp/dialog rect")" "$(winpath "$tmp/close now")" ||
    fail "$1: KestrowDemo.exe did not show its dialog and end when it was closed"
  read -r _ _ width height <"$tmp/dialog rect"
  [ "$width" -gt 0 ] && [ "$height" -gt 0 ] || fail "$1: KestrowDemo.exe: its dialog has no size"
}
works "the zip" "$tmp/Program Files/win64 build/KestrowDemo-$version-win64"

# The 64-bit installer: install, upgrade, refused downgrade, removal.
drive_c="$KESTROW_WINEPREFIX/drive_c"
installed="$drive_c/Program Files/Ombry/KestrowDemo"
msiexec() { "$wine_run" msiexec "$1" "$(winpath "$2")" /qn; }
# Our keys under KEY (of HKLM) whose NAME is KestrowDemo: the VALUES of each, one line.
our_keys() { # KEY NAME VALUE...
  { "$wine_run" reg query "HKLM\\$1" /s 2>/dev/null || true; } | tr -d '\r' | awk -F '    ' -v name="$2" -v values="${*:3}" '
    function flush() { if (v[name] == "KestrowDemo") { line = ""
        for (i = 1; i <= n; i++) line = line (i > 1 ? " " : "") v[wanted[i]]; print line }
      delete v }
    BEGIN { n = split(values, wanted, " ") }
    /^HKEY/ { flush() }
    $3 ~ /^REG_/ { v[$2] = $4 }
    END { flush() }'
}
entries() { our_keys 'Software\Microsoft\Windows\CurrentVersion\Uninstall' DisplayName \
  DisplayVersion Publisher URLInfoAbout; }
shortcuts() { find "$drive_c" -name KestrowDemo.lnk; }
path_entries() { # how often the system PATH names the install folder
  "$wine_run" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH |
    tr -d '\r' | sed -n 's/.*REG_EXPAND_SZ *//p' | tr ';' '\n' | grep -cxF 'C:\Program Files\Ombry\KestrowDemo\'
}
msi=$dist/KestrowDemo-$version-win64.msi
msiexec /i "$msi" || fail "$msi: silent install failed"
diff -r "$installed" "$tmp/Program Files/win64 build/KestrowDemo-$version-win64" ||
  fail "$msi: installed files differ from the zip's"
[ "$(entries)" = "$version Ombry $home_page" ] || fail "$msi: installed-programs entries: $(entries)"
# Windows Installer keeps the product's icon for the list of installed programs.
icon=$(our_keys 'Software\Classes\Installer\Products' ProductName ProductIcon)
icon_file=${icon#C:\\}
[[ "$icon" == 'C:\windows\Installer\{'*'}\KestrowDemo.ico' ]] &&
  cmp -s "$drive_c/${icon_file//\\//}" app/res/KestrowDemo.ico || fail "$msi: no product icon: $icon"
# The common Start menu on Windows; Wine puts it into the user's.
link=$(shortcuts)
[ "$(wc -l <<<"$link")" -eq 1 ] && [[ "$link" == */Start\ Menu/Programs/KestrowDemo.lnk ]] &&
  strings -a "$link" | grep -qxF 'C:\Program Files\Ombry\KestrowDemo\KestrowDemo.exe' &&
  strings -el "$link" | grep -q 'KestrowDemo\.ico$' || fail "$msi: no Start-menu shortcut to the program: $link"
works "the installed programs" "$installed"
# kestrow-sign runs from any folder, its own on the system PATH.
[ "$(path_entries)" = 1 ] || fail "$msi: the system PATH names the install folder $(path_entries) times"
out=$(cd "$tmp" && "$wine_run" cmd /c kestrow-sign --version) || true
[ "${out//$'\r'/}" = "kestrow-sign $version" ] || fail "$msi: kestrow-sign is not on the PATH: $out"
python3 scripts/check-doc-commands.py dist "$dist" cmd "$wine_run" ||
  fail "$msi: the documentation's cmd commands do not print what it shows"

IFS=. read -r major minor patch <<<"$version"
higher=$major.$minor.$((patch + 1))
mkdir "$tmp/higher"
sed "s/\"$version\"/\"$higher\"/" build/windows-x64/packaging/windows/KestrowDemo.wxi >"$tmp/higher/KestrowDemo.wxi"
grep -qF "\"$higher\"" "$tmp/higher/KestrowDemo.wxi" || fail "this tree is not version $version"
SOURCE_DATE_EPOCH=0 python3 scripts/dist-msi.py "$tmp/higher.msi" \
  "$tmp/Program Files/win64 build/KestrowDemo-$version-win64" "$tmp/higher"
msiexec /i "$tmp/higher.msi" || fail "version $higher does not install over $version"
[ "$(entries)" = "$higher Ombry $home_page" ] || fail "version $higher over $version: entries: $(entries)"
[ -f "$installed/KestrowDemo.exe" ] && [ "$(path_entries)" = 1 ] ||
  fail "version $higher over $version: no KestrowDemo.exe, or $(path_entries) PATH entries"
msiexec /i "$msi" && fail "$msi installs over version $higher"
[ "$(entries)" = "$higher Ombry $home_page" ] || fail "$msi over version $higher: entries: $(entries)"
msiexec /x "$tmp/higher.msi" || fail "silent removal failed"
[ -z "$(entries)$(shortcuts)$(our_keys 'Software\Classes\Installer\Products' ProductName ProductName)" ] &&
  [ "$(path_entries)" = 0 ] &&
  [ ! -e "$drive_c/Program Files/Ombry" ] || fail "removal left: $(entries) $(shortcuts) $(ls "$drive_c/Program Files")"

# Signing with a throwaway certificate, as `make dist SIGN_PFX=... SIGN_PASS_FILE=...` does.
signing=$tmp/signing
mkdir "$signing"
echo "throwaway password" >"$signing/password"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$signing/key.pem" -out "$signing/cert.pem" -days 2 \
  -subj "/CN=KestrowDemo throwaway publisher" -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -inkey "$signing/key.pem" -in "$signing/cert.pem" -out "$signing/cert.pfx" \
  -passout "file:$signing/password"
exe=$signing/kestrow-sign.exe
cp "$tmp/Program Files/win64 build/KestrowDemo-$version-win64/kestrow-sign.exe" "$exe"
cp "$exe" "$signing/unsigned.exe"
cp "$msi" "$signing/KestrowDemo.msi"
(
  export SIGN_PFX=$signing/cert.pfx SIGN_PASS_FILE=$signing/password SOURCE_DATE_EPOCH=1796509566
  bash scripts/sign.sh --check && bash scripts/sign.sh "$exe" "$signing/KestrowDemo.msi" ||
    fail "scripts/sign.sh failed"
  for file in "$exe" "$signing/KestrowDemo.msi"; do
    osslsigncode verify -CAfile "$signing/cert.pem" -in "$file" >/dev/null ||
      fail "$file: osslsigncode does not accept its signature"
  done
  cp "$signing/unsigned.exe" "$signing/again.exe"
  bash scripts/sign.sh "$signing/again.exe" && cmp -s "$exe" "$signing/again.exe" ||
    fail "signing twice gave different bytes"
  python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(4096); b = f.read(1); f.seek(4096); f.write(bytes([b[0] ^ 1]))' "$exe"
  osslsigncode verify -CAfile "$signing/cert.pem" -in "$exe" >/dev/null 2>&1 &&
    fail "a signed program with a byte changed still verifies"
  echo "wrong password" >"$signing/wrong"
  for bad in "SIGN_PASS_FILE=$signing/wrong" "SIGN_PFX=$signing/missing.pfx" "SIGN_PASS_FILE=$signing/missing"; do
    env "$bad" bash scripts/sign.sh --check 2>/dev/null && fail "sign.sh --check accepts $bad"
    env "$bad" bash scripts/sign.sh "$signing/unsigned.exe" 2>/dev/null && fail "sign.sh signs with $bad"
    cmp -s "$signing/unsigned.exe" "$tmp/Program Files/win64 build/KestrowDemo-$version-win64/kestrow-sign.exe" ||
      fail "sign.sh with $bad changed the program"
    [ ! -e "$signing/unsigned.exe.signed" ] || fail "sign.sh with $bad left a half-signed file"
  done
)

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
  usr/share/bash-completion/completions/kestrow-sign \
  "$libdir/libkestrow_core.a" usr/include/kestrow/engine/kestrow_engine.h \
  "$libdir/cmake/Kestrow/KestrowConfig.cmake" "$libdir/pkgconfig/kestrow.pc"; do
  [ -f "$debroot/$file" ] || fail "$deb: no /$file"
done
completion=$debroot/usr/share/bash-completion/completions/kestrow-sign
# shellcheck disable=SC2016
[ "$(bash -c 'source "$0"; COMP_WORDS=(kestrow-sign --for); COMP_CWORD=1; _kestrow_sign
  echo "${COMPREPLY[*]}"' "$completion")" = --format ] || fail "$deb: its bash completion does not complete --for"
grep -qF "set(PACKAGE_VERSION \"$version\")" "$debroot/$libdir/cmake/Kestrow/KestrowConfigVersion.cmake" ||
  fail "$deb: the CMake package is not version $version"
out=$("$debroot/usr/bin/kestrow-sign" --version)
[ "$out" = "kestrow-sign $version" ] || fail "kestrow-sign --version: $out"
out=$(KESTROW_SECRET_KEY=$secret "$debroot/usr/bin/kestrow-sign" "${sign_args[@]}") || fail "kestrow-sign failed"
expect_signature "the package's kestrow-sign" "$out"
check_deb_headers "$deb" "$debroot"
check_consumer_both_ways "$deb" "$debroot" "$libdir"
echo "check-packages: the packages of version $version in $dist work"
