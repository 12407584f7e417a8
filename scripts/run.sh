#!/usr/bin/env bash
# Builds the program and starts it with the diary given. Without one, the first start (no
# settings file yet) opens a copy of the bundled sample diary in the user's data folder, so that
# saving never writes into the repository; later starts name no diary and the program reopens
# the last one.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
program=build/src/hakuvo
diary=${1:-}

# The program keeps its settings beside itself when that folder is writable (as a build tree
# is), otherwise in the user's configuration folder; jogging mode's file is Jogging.ini.
settings_folder=$(dirname "$program")
if [ ! -w "$settings_folder" ]; then
  settings_folder=${XDG_CONFIG_HOME:-$HOME/.config}/Orimaze/Hakuvo
fi

if [ -z "$diary" ] && [ ! -e "$settings_folder/Jogging.ini" ] && [ -f data/sample/sample.hkvj ]; then
  data_folder=${XDG_DATA_HOME:-$HOME/.local/share}/Orimaze/Hakuvo
  mkdir -p "$data_folder"
  # A copy left by an earlier first start may hold the user's own outings: it is kept.
  [ -e "$data_folder/sample.hkvj" ] || cp data/sample/sample.hkvj "$data_folder/sample.hkvj"
  # The track and photographs its last outing links, by their names beside the diary.
  for media in data/sample/sample_track.gpx data/sample/sample_photo1.jpg data/sample/sample_photo2.jpg; do
    [ -e "$data_folder/$(basename "$media")" ] || cp "$media" "$data_folder/"
  done
  diary=$data_folder/sample.hkvj
fi
exec "./$program" ${diary:+"$diary"}
