#!/usr/bin/env bash
# Usage: checkinstall.sh CMAKE BUILD_DIR APP_ID
# Installs the build into a scratch prefix, checks that the installed files refer to each other correctly and
# runs desktop-file-validate and appstreamcli over them. Exits non-zero on the first problem.
set -euo pipefail
cmake=$1 build=$2 id=$3

for tool in desktop-file-validate appstreamcli xmllint; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/deps.sh installs it)"; exit 1; }
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
icon=$prefix/share/icons/hicolor/scalable/apps/$id.svg
for f in "$desktop" "$metainfo" "$icon"; do
    [ -f "$f" ] || fail "not installed: ${f#"$prefix"/}"
done
[ -x "$prefix/bin/vendrix" ] || fail "bin/vendrix is not installed as an executable"

key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = vendrix ] || fail "Exec does not start the installed vendrix"
[ "$(key Icon)" = "$id" ] || fail "Icon does not name the installed icon"
grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"

echo "desktop-file-validate:"
out=$(desktop-file-validate "$desktop" 2>&1) || { echo "$out"; fail "desktop-file-validate reports errors"; }
echo "${out:-  no findings}"
if grep -qE ': (error|warning):' <<<"$out"; then fail "desktop-file-validate reports warnings"; fi

echo "appstreamcli validate:"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli reports problems"

xmllint --noout "$icon" || fail "the icon is not well-formed XML"
grep -q '<svg[^>]*viewBox=' "$icon" || fail "the icon has no viewBox and cannot scale"

# The installed program must find its libraries and reach its event loop; timeout ends it there.
rc=0
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/vendrix" || rc=$?
[ "$rc" -eq 124 ] || fail "installed vendrix ended with code $rc instead of running"
echo "install layout ok"
