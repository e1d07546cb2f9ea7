#!/usr/bin/env bash
# Installs the Debian packages a job needs, when any is missing, after one apt-get update.
# usage: scripts/deps.sh demo|test
set -euo pipefail
base=(g++ cmake ninja-build make libgtest-dev googletest zlib1g-dev)
case "${1:-test}" in
  demo) pkgs=("${base[@]}" g++-mingw-w64-i686 wine64 wine32:i386 xvfb fonts-wine imagemagick
              x11-apps) ;;
  test) pkgs=("${base[@]}" clang libclang-rt-14-dev libbenchmark-dev libsqlite3-dev
              g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
              wine64 wine32:i386 xvfb fonts-wine imagemagick x11-apps chromium) ;;
  *) echo "usage: $0 demo|test" >&2; exit 2 ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
# The 32-bit Wine (the DLL users install is 32-bit) comes from the i386 architecture.
if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
