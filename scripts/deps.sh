#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb xauth imagemagick
  gcab libgcab-dev cabextract googletest libmcrypt-dev openssl time nsis
  osslsigncode  # cvpack sign: Authenticode signatures, and their check in the tests
  wixl  # builds the Windows Installer package the merge-module test installs
  locales  # the sources of the Japanese locale a test makes for Wine
  clang libclang-rt-14-dev  # the fuzz targets: libFuzzer and the sanitizers' run-time libraries
  icoutils  # wrestool: reads a stamped setup.exe's resources back, independently of cvpack
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
