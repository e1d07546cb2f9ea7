#!/usr/bin/env bash
# Installs the Debian packages a job needs, when any is missing, after one apt-get update: as
# root directly, else through sudo. A minimal Debian image has neither make nor python3.
# usage: scripts/deps.sh demo|test
set -euo pipefail
base=(g++ cmake ninja-build libgtest-dev googletest zlib1g-dev python3 tzdata)
case "${1:-test}" in
  demo) pkgs=("${base[@]}" g++-mingw-w64-i686 wine64 wine32:i386 xvfb fonts-wine fonts-wqy-microhei
              fonts-dejavu-core imagemagick x11-apps nsis) ;;
  test) pkgs=("${base[@]}" clang libclang-rt-14-dev libbenchmark-dev libsqlite3-dev
              g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
              wine64 wine32:i386 xvfb fonts-wine fonts-wqy-microhei fonts-dejavu-core imagemagick
              x11-apps chromium nsis) ;;
  *) echo "usage: $0 demo|test" >&2; exit 2 ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || {
    echo "deps.sh: not root and no sudo: install as root: ${missing[*]}" >&2
    exit 1
  }
  sudo=sudo
fi
# The 32-bit Wine (the DLL users install is 32-bit) comes from the i386 architecture.
if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
