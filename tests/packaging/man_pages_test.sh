#!/usr/bin/env bash
# man_pages_test.sh PAGE...: each manual page renders without a single warning from groff (all
# warnings on) or from man, as lintian and a user's man read it.
set -euo pipefail
status=0
for page in "$@"; do
  warnings=$(groff -k -ww -z -man -Tutf8 "$page" 2>&1)
  warnings+=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    printf '%s: warnings:\n%s\n' "$page" "$warnings" >&2
    status=1
  fi
  # A page whose NAME line is malformed gives no whatis entry: apropos would not find it.
  if ! lexgrog "$page" | grep -q ' - '; then
    echo "$page: no whatis entry (NAME section)" >&2
    status=1
  fi
done
exit $status
