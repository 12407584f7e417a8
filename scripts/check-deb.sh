#!/usr/bin/env bash
# Builds the Debian packages (scripts/build-deb.sh, without the tests that scripts/test.sh has
# run) and checks them without installing them: lintian finds no error or warning; each package,
# unpacked with dpkg-deb -x, runs (hakuvo-cli --version and list on the sample diary, the desktop
# program painting the sample's list); the unpacked desktop entry and metainfo validate; and the
# packages hold exactly the files "cmake --install" installs, nothing missing, nothing stray.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-deb: $*" >&2; exit 1; }

DEB_BUILD_OPTIONS="nocheck noautodbgsym ${DEB_BUILD_OPTIONS:-}" ./scripts/build-deb.sh >build-deb.log 2>&1 ||
  { tail -n 60 build-deb.log; fail "the packages do not build (build-deb.log)"; }
out=build-deb
version=$(dpkg-parsechangelog -l CHANGELOG -S Version)
arch=$(dpkg --print-architecture)
changes=$out/hakuvo_${version}_${arch}.changes
[ -f "$changes" ] || fail "no $changes"

# Tags of the "info" and "pedantic" levels are advice; errors and warnings fail.
lintian --fail-on error,warning --tag-display-limit 0 "$changes" || fail "lintian reports errors or warnings"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for package in hakuvo hakuvo-cli; do
  deb=$out/${package}_${version}_${arch}.deb
  [ -f "$deb" ] || fail "no $deb"
  mkdir -p "$work/$package"
  dpkg-deb -x "$deb" "$work/$package"
  # Files and links, without the leading "./"; folders are the packaging's own business.
  dpkg-deb -c "$deb" | awk '$1 ~ /^[-l]/ { sub(/^\.\//, "", $6); print $6 }' >>"$work/packaged"
done

# The command line, unpacked, without anything else of the project.
cli=$work/hakuvo-cli/usr/bin/hakuvo-cli
[ "$("$cli" --version)" = "hakuvo-cli $version" ] || fail "hakuvo-cli --version does not say $version"
if ldd "$cli" | grep -q 'libQt'; then fail "the packaged hakuvo-cli loads Qt"; fi
LC_ALL=C TZ=Asia/Tokyo "$cli" list data/sample/sample.hkvj >"$work/list.txt" || fail "hakuvo-cli list fails"
head -n 1 "$work/list.txt" | grep -q '^日付	開始時刻	終了時刻	タイトル	距離(km)	速度(km/h)$' ||
  fail "hakuvo-cli list prints no list header"
grep -q '^2026/11/08	07:00	07:20	公園ループ	' "$work/list.txt" || fail "hakuvo-cli list misses the sample's last outing"
echo "check-deb: the packaged hakuvo-cli $version lists $(($(wc -l <"$work/list.txt") - 1)) outings of the sample"

# The desktop program, unpacked: every library it needs is on the system, and it opens the
# sample diary and paints its list (settings and caches in the temporary folder).
if ldd "$work/hakuvo/usr/bin/hakuvo" | grep 'not found'; then fail "the packaged hakuvo misses libraries"; fi
mkdir -p "$work/home"
HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_CACHE_HOME=$work/home/cache QT_QPA_PLATFORM=offscreen \
  QTWEBENGINE_DISABLE_SANDBOX=1 HAKUVO_TIMING=1 timeout 60 "$work/hakuvo/usr/bin/hakuvo" -appdatafolder \
  "$PWD/data/sample/sample.hkvj" 2>"$work/hakuvo.log" &
pid=$!
for _ in $(seq 1 600); do
  grep -q 'window painted with its list' "$work/hakuvo.log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
grep -q 'window painted with its list' "$work/hakuvo.log" || { cat "$work/hakuvo.log"; fail "the packaged hakuvo painted no list"; }
echo "check-deb: the packaged hakuvo opened the sample diary and painted its list"

desktop-file-validate "$work/hakuvo/usr/share/applications/hakuvo.desktop"
metainfo=("$work"/hakuvo/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "the hakuvo package has no metainfo"
appstreamcli validate --no-net "${metainfo[@]}"
# The metainfo as software centres read it from the installed tree, with the desktop entry it
# launches.
appstreamcli validate-tree --no-net "$work/hakuvo"

# Exactly what cmake installs from the same build, less the files every Debian package carries
# (its copyright, its changelogs, lintian's overrides) and with the manual pages compressed.
obj=$(find "$out/src" -maxdepth 1 -type d -name 'obj-*' | head -n 1)
[ -n "$obj" ] || fail "the package's build folder is gone"
DESTDIR=$work/installed cmake --install "$obj" --prefix /usr >/dev/null
(cd "$work/installed" && find . -type f -o -type l) | sed 's:^\./::' |
  sed -E 's:^(usr/share/man/.*):\1.gz:' | sort >"$work/cmake-files"
grep -vE '^usr/share/doc/hakuvo(-cli)?/(copyright|changelog\.gz)$|^usr/share/lintian/overrides/hakuvo(-cli)?$' \
  "$work/packaged" | sort >"$work/package-files"
if [ -n "$(sort "$work/packaged" | uniq -d)" ]; then fail "a file is in both packages: $(sort "$work/packaged" | uniq -d)"; fi
if ! diff -u --label "cmake --install" --label "the packages" "$work/cmake-files" "$work/package-files"; then
  fail "the packages do not hold exactly what cmake installs"
fi
echo "check-deb: the packages hold the $(wc -l <"$work/cmake-files") files cmake installs; lintian is content"
