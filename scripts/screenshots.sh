#!/usr/bin/env bash
# Builds the screenshot tool and writes pictures of the running program into docs/screenshots/, without a display.
#
#   scripts/screenshots.sh          pictures at 100 % (main-window.png, search.png, ...)
#   scripts/screenshots.sh 1 2      the same plus 200 % pictures (main-window@2x.png, ...)
#
# VX_CATALOG names the catalog directory to open (default samples/katalog), VX_SEARCH the search pattern
# (default: a word from the first article shown).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target vxscreenshots

catalog=${VX_CATALOG:-samples/katalog}
out=docs/screenshots
args=(--catalog "$catalog")
[ -n "${VX_SEARCH:-}" ] && args+=(--search "$VX_SEARCH")
[ $# -eq 0 ] && set -- 1
mkdir -p "$out"
# The offscreen platform warns about what it cannot do (size hints) and about a missing runtime directory;
# neither says anything about the results, so only other messages reach the terminal.
quiet() { grep -v -e 'does not support propagateSizeHints' -e 'XDG_RUNTIME_DIR not set' >&2 || true; }
for scale in "$@"; do
    # Only the chosen factor may scale the pictures; the caller's desktop settings stay out.
    env -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u QT_ENABLE_HIGHDPI_SCALING -u QT_FONT_DPI \
        QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR="$scale" build/tools/vxscreenshots "${args[@]}" "$out" 2> >(quiet)
done
