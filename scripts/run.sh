#!/usr/bin/env bash
# Installs what is missing, builds Vendrix and starts it with the sample catalog opened. Arguments go to the
# program instead (another catalog directory, --help, --version).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target vendrix
[ $# -eq 0 ] && set -- samples/katalog
case "${1:-}" in -h|--help|-\?|--help-all|-v|--version) exec build/app/vendrix "$@" ;; esac
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Vendrix is built, but there is no display to show it on."
    echo "Start it in a virtual display:  xvfb-run -a build/app/vendrix $*"
    exit 0
fi
exec build/app/vendrix "$@"
