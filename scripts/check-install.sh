#!/usr/bin/env bash
# Checks the desktop integration: the desktop entry and the MIME package are valid, and an install
# of the build in BUILD (default build/, configured with the GUI) into a temporary prefix puts
# every file where desktops look for it (manual pages, completion and metainfo too), and
# registers the three kinds of diary.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
fail() { echo "check-install: $*" >&2; exit 1; }

desktop-file-validate data/desktop/hakuvo.desktop
xmllint --noout data/desktop/hakuvo.xml data/desktop/hakuvo.svg

[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja >/dev/null
grep -q '^HAKUVO_GUI:BOOL=ON' "$build/CMakeCache.txt" || fail "$build is configured without the GUI"
cmake --build "$build" --target hakuvo hakuvo_map hakuvo-cli >/dev/null

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/hakuvo bin/hakuvo-cli share/applications/hakuvo.desktop \
  share/icons/hicolor/scalable/apps/hakuvo.svg share/mime/packages/hakuvo.xml share/man/man1/hakuvo.1 \
  share/man/man1/hakuvo-cli.1 share/bash-completion/completions/hakuvo-cli; do
  [ -e "$prefix/$file" ] || fail "the install lacks $file"
done
[ -x "$prefix/bin/hakuvo" ] && [ -x "$prefix/bin/hakuvo-cli" ] || fail "the programs are not executable"
"$prefix/bin/hakuvo-cli" --version >/dev/null || fail "the installed hakuvo-cli does not run"
if ldd "$prefix/bin/hakuvo-cli" | grep -q 'libQt'; then fail "hakuvo-cli loads Qt"; fi
# The map comes as a module loaded at its first show; the program itself starts without the web engine.
compgen -G "$prefix/lib*/hakuvo/libhakuvo_map.so" >/dev/null || compgen -G "$prefix/lib/*/hakuvo/libhakuvo_map.so" >/dev/null ||
  fail "the install lacks the map module (lib/.../hakuvo/libhakuvo_map.so)"
if ldd "$prefix/bin/hakuvo" | grep -q 'libQt6WebEngine'; then fail "hakuvo loads the web engine at start"; fi
desktop-file-validate "$prefix/share/applications/hakuvo.desktop"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml

# What a desktop does after an install: build the MIME and desktop caches, then look up the
# types of the three extensions and the program that opens them.
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"
for pair in jogging:hkvj walking:hkvw bicycle:hkvb; do
  type=application/x-hakuvo-${pair%%:*}
  grep -q "^[0-9]*:$type:\*\.${pair##*:}$" "$prefix/share/mime/globs2" || fail "no glob *.${pair##*:} for $type"
  grep -q "^$type$" "$prefix/share/mime/types" || fail "$type is not registered"
  grep -q "^$type application/xml$" "$prefix/share/mime/subclasses" || fail "$type is no kind of XML"
  grep -q "^$type=hakuvo.desktop;$" "$prefix/share/applications/mimeinfo.cache" ||
    fail "hakuvo.desktop does not open $type"
done
echo "check-install: desktop entry, icon and MIME types install and register"
