#!/usr/bin/env bash
# Installs the Debian packages Vendrix needs to build and run, when any of them is missing.
# With --fuzz also the compiler and runtime of the fuzz targets (fuzz/run.sh); further arguments name
# more packages.
set -euo pipefail
extra=()
if [ "${1:-}" = "--fuzz" ]; then
    shift
    extra=(clang-14 libclang-rt-14-dev)
fi
# What building and running need; qt6-translations-l10n makes Qt's own dialogs German; fonts-dejavu-core gives
# offscreen tests and screenshots the same font on every machine; the search compiles its expressions with
# libpcre2. The test command names its own extra packages.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libpcre2-dev libgl-dev xvfb xauth
          qt6-translations-l10n fonts-dejavu-core "${extra[@]}" "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
