#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, run and test KestrowDemo.
# Usage: scripts/install-deps.sh [native|windows|dist|all]   (default: all)
set -euo pipefail

want=${1:-all}

# CLI11 and nlohmann-json: header-only, kestrow-sign's command line and JSON, in both builds.
# man-db and pkgconf: the README's man -l and pkg-config, which the native tests run.
native_packages=(cmake make ninja-build g++ googletest libgtest-dev libgmock-dev python3
  libcli11-dev nlohmann-json3-dev man-db pkgconf)
windows_packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  mingw-w64-x86-64-dev mingw-w64-i686-dev
  wine64 fonts-wine fonts-wqy-microhei xvfb xauth x11-apps imagemagick)
# The sanitizer, fuzzing, valgrind and benchmark stages (python3 runs their scripts).
extra_packages=(clang libclang-rt-14-dev valgrind libbenchmark-dev libssl-dev python3)
# `make dist` and its checks: dpkg-shlibdeps for the package's dependencies, lintian;
# wixl builds the MSIs, msitools adds their PATH entry and reads them back, python3-olefile
# rewrites their summary, osslsigncode and openssl sign them (and make the checks'
# throwaway certificate).
dist_packages=(dpkg-dev lintian wixl msitools python3-olefile osslsigncode openssl)

packages=()
case "$want" in
  native) packages=("${native_packages[@]}") ;;
  windows) packages=("${native_packages[@]}" "${windows_packages[@]}") ;;
  dist) packages=("${native_packages[@]}" "${windows_packages[@]}" "${dist_packages[@]}") ;;
  all) packages=("${native_packages[@]}" "${windows_packages[@]}" "${extra_packages[@]}"
    "${dist_packages[@]}") ;;
  *) echo "install-deps: unknown set '$want' (native, windows, dist or all)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "install-deps: these packages are missing and I cannot install them (not root, no password-less sudo):" >&2
  echo "  ${missing[*]}" >&2
  echo "install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! "${sudo[@]}" apt-get update -qq; then
  echo "install-deps: apt-get update failed; is a Debian package mirror reachable?" >&2
  exit 1
fi
if ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  echo "install-deps: apt-get install failed for: ${missing[*]}" >&2
  exit 1
fi
