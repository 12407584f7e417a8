#!/usr/bin/env bash
# Takes the screenshot of the desktop program that software centres show
# (data/screenshots/main-window.png): the program, built into build/, opens a copy of the jogging
# sample diary on a virtual display of the screenshot's size, with settings and caches of its
# own, and the screen is grabbed once the list and the graph beside it are painted.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target hakuvo grab_screen >/dev/null
out=${1:-data/screenshots/main-window.png}

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for file in sample.hkvj sample_track.gpx sample_photo1.jpg sample_photo2.jpg; do
  cp "data/sample/$file" "$home/"
done
mkdir -p "$home/config/Orimaze/Hakuvo"
# The window fills the screen; the rest of the settings are the first start's.
cat >"$home/config/Orimaze/Hakuvo/Jogging.ini" <<'INI'
[Program]
Left=0
Top=0
Width=1024
Height=768
INI

# Runs on the virtual display: starts the program, waits for its first painted list (it says so
# with HAKUVO_TIMING), gives the docked graph time to draw, grabs the screen, closes the program.
cat >"$home/shoot.sh" <<'SHOOT'
#!/usr/bin/env bash
set -euo pipefail
program=$1 grabber=$2 diary=$3 out=$4 log=$5
HAKUVO_TIMING=1 "$program" -appdatafolder "$diary" 2>"$log" &
pid=$!
for _ in $(seq 1 300); do
  grep -q 'window painted with its list' "$log" && break
  kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
  sleep 0.1
done
grep -q 'window painted with its list' "$log" || { echo "the window was not painted in 30 s" >&2; kill "$pid"; exit 1; }
sleep 3
"$grabber" "$out"
kill "$pid"
wait "$pid" 2>/dev/null || true
SHOOT
chmod +x "$home/shoot.sh"

LC_ALL=C.UTF-8 TZ=Asia/Tokyo HOME=$home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
  XDG_DATA_HOME=$home/data QTWEBENGINE_DISABLE_SANDBOX=1 \
  xvfb-run -a -s "-screen 0 1024x768x24" "$home/shoot.sh" "$PWD/build/src/hakuvo" "$PWD/build/data/screenshots/grab_screen" \
  "$home/sample.hkvj" "$home/shot.png" "$home/timing.log"
mkdir -p "$(dirname "$out")"
cp "$home/shot.png" "$out"
echo "make-screenshot: $out"
