#!/usr/bin/env bash
# Builds the Debian packages hakuvo and hakuvo-cli into build-deb/ from a copy of the sources
# (the files git tracks), so that the build starts as from a clean clone and its products stay out
# of the source tree: dpkg-buildpackage writes them into the folder above the one it builds.
# Extra arguments go to dpkg-buildpackage. DEB_BUILD_OPTIONS=nocheck skips the tests, as CI does
# after scripts/test.sh has run them.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

out=build-deb
rm -rf "$out"
mkdir -p "$out/src"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Tracked files as they are in the work tree, edits included; the link debian/changelog too.
  git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$out/src"
else
  tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$out/src"
fi

# A compiler cache, when there is one, serves the package build too (see debian/rules).
if command -v ccache >/dev/null && [ -z "${CCACHE_DIR:-}" ]; then
  CCACHE_DIR=$(ccache --get-config cache_dir)
  export CCACHE_DIR
fi

# debhelper builds with one job unless told otherwise.
case " ${DEB_BUILD_OPTIONS:-} " in
  *" parallel="*) ;;
  *) export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-} parallel=$(nproc)" ;;
esac

(cd "$out/src" && dpkg-buildpackage -us -uc -b "$@")
ls "$out"/*.deb
