#!/usr/bin/env bash
# Installs everything Mirepan needs on a Debian machine: the MinGW-w64 cross compiler, Wine, Xvfb,
# CMake, GoogleTest, Google Benchmark, nlohmann-json, the libraries of the native tools, a printer
# description for the print-to-file test (ghostscript's), the compiler of the help file (chmcmd,
# in Free Pascal's fp-utils), what the nutrient data converter runs (Node.js with npm, unzip), and
# the installer's tools: NSIS, osslsigncode and openssl for its signature, curl for the HTTPS test,
# and jq for the nutrition report over saved pages.
# Safe to run again.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang-format clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev mingw-w64-tools
  wine wine64 xvfb xauth imagemagick fonts-wine fonts-liberation fonts-dejavu-core
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpugixml-dev
  libsqlite3-dev libcpp-httplib-dev libicu-dev libmicrohttpd-dev nettle-dev nlohmann-json3-dev
  nsis osslsigncode openssl curl
  libgs10-common fp-utils nodejs unzip jq
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js from another archive brings its own npm, which Debian's npm package would conflict with.
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "setup: all packages present"
