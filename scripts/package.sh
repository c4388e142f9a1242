#!/usr/bin/env bash
# Builds the Debian package build-package/vendrix_<version>_amd64.deb and checks it: lists its files and runs
# lintian, which must report no errors. Installs the packaging tools it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh dpkg-dev file lintian
cmake --preset package >/dev/null
cmake --build --preset package -j"$(nproc)"
cpack --preset package >/dev/null
deb=$(ls build-package/vendrix_*_amd64.deb)
echo "== $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends
echo "== files"
dpkg-deb -c "$deb" | awk '{print $6}'
echo "== lintian"
# Root gets a note that lintian would rather not run as root; the findings go to standard output.
out=$(lintian --tag-display-limit 0 "$deb" 2>/dev/null) || true
echo "${out:-no findings}"
if grep -q '^E:' <<<"$out"; then
    echo "FAIL: lintian reports errors"
    exit 1
fi
echo "package ok: $deb"
