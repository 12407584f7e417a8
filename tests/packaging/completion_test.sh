#!/usr/bin/env bash
# completion_test.sh COMPLETION HAKUVO_CLI: what Tab offers on hakuvo-cli command lines, in a
# folder holding a file of each kind the commands take.
set -o pipefail
completion=$(realpath "$1")
cli=$(realpath "$2")
. /usr/share/bash-completion/bash_completion
. "$completion"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch run.hkvj walk.hkvw ride.hkvb morning.gpx watch.FIT log.nmea photo.jpg IMG.JPEG notes.txt
mkdir sub

failures=0
# offers "LINE" WORDS...: the completions of LINE (the cursor at its end) are exactly WORDS.
offers() {
  local line=$1
  shift
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$cli
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$cli ${line#* }"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _hakuvo_cli hakuvo-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  local got expected
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sed 's:/$::' | sort | xargs)
  expected=$(printf '%s\n' "$@" | sort | xargs)
  if [[ $got != "$expected" ]]; then
    echo "\"$line\": offered [$got], expected [$expected]" >&2
    failures=$((failures + 1))
  fi
}

commands=$("$cli" --help | sed -nE 's/^  ([a-z][a-z0-9-]*)( .*)?$/\1/p' | xargs)
[ -n "$commands" ] || { echo "no commands in --help" >&2; exit 1; }
# shellcheck disable=SC2086
offers "hakuvo-cli " $commands
offers "hakuvo-cli li" list
offers "hakuvo-cli --v" --version
offers "hakuvo-cli list " run.hkvj walk.hkvw ride.hkvb sub
offers "hakuvo-cli list run.hkvj " 
offers "hakuvo-cli list run.hkvj --" --energy $("$cli" --help | grep -q -- '--pace' && echo --pace)
offers "hakuvo-cli track " morning.gpx watch.FIT log.nmea sub
offers "hakuvo-cli exif " photo.jpg IMG.JPEG sub
offers "hakuvo-cli resave run.hkvj " run.hkvj walk.hkvw ride.hkvb sub
offers "hakuvo-cli import run.hkvj " run.hkvj walk.hkvw ride.hkvb morning.gpx watch.FIT log.nmea photo.jpg \
  IMG.JPEG notes.txt sub
offers "hakuvo-cli import run.hkvj --mode WALKING " run.hkvj walk.hkvw ride.hkvb morning.gpx watch.FIT log.nmea \
  photo.jpg IMG.JPEG notes.txt sub
offers "hakuvo-cli import --mode " JOGGING WALKING BICYCLE
offers "hakuvo-cli import run.hkvj --date t" today
offers "hakuvo-cli graph run.hkvj --period " day month year act
offers "hakuvo-cli graph --category ジョギング " run.hkvj walk.hkvw ride.hkvb sub
offers "hakuvo-cli thumbnail photo.jpg --out " sub
offers "hakuvo-cli thumbnail photo.jpg --v" --view-files
exit $((failures > 0))
