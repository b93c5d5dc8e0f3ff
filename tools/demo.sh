#!/usr/bin/env bash
# Installs what is missing, builds the two programs and the demo station writer, makes a demo
# station and runs it: Ondrake starts on the station, starts Ferlune, which sends it the
# schedule, and the items play on time. Each line of the play log is printed as the playout
# writes it; after the demo schedule the playout is closed, the companion ends with it, and the
# script exits 0 when every item was played.
#   tools/demo.sh [--minutes N] [--start-in SECONDS] [--station DIR]
# Without a display the programs run offscreen; without a sound card the items play on the
# virtual wave device, in real time. With both, the graph player plays WAV and MP3 items on the
# default sound device.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
minutes=2; start_in=30; station="$here/build/demo-station"
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=$2; shift ;;
    --start-in) start_in=$2; shift ;;
    --station) station=$2; shift ;;
    *) echo "demo.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

# Only what the demo runs is built, so that it starts within minutes on a fresh clone;
# tools/test.sh builds the rest in the same folder.
programs=(Ondrake Ferlune demo_station)
bash "$here/tools/setup.sh" --targets "${programs[*]}"
bin="$here/build/bin"
for program in "${programs[@]}"; do
  [ -x "$bin/$program" ] || { echo "demo.sh: $bin/$program was not built" >&2; exit 1; }
done

player=0
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi
if [ -e /proc/asound/cards ] && ! grep -q "no soundcards" /proc/asound/cards; then
  player=1
else
  export ONDRAKE_AUDIO_BACKEND=virtual
fi

echo "demo.sh: making the demo station in $station"
read -r play_log items last_end < <("$bin/demo_station" "$station" "$bin/" --minutes "$minutes" \
  --start-in "$start_in" --player "$player")
echo "demo.sh: $items items from $(date -d "@$(( $(date +%s) + start_in ))" +%T), the last ending at ${last_end#* }"

"$bin/Ondrake" &
ondrake=$!
ferlune=""
printed=0
played=0
deadline=$(( $(date -d "${last_end//\//-}" +%s) + 20 ))
stop_all() { kill -TERM "$ondrake" 2>/dev/null || true; }
trap stop_all INT TERM
while kill -0 "$ondrake" 2>/dev/null; do
  [ -z "$ferlune" ] && ferlune=$(pgrep -P "$ondrake" -x Ferlune || true)
  if [ -f "$play_log" ]; then
    lines=$(wc -l < "$play_log")
    if [ "$lines" -gt "$printed" ]; then
      tail -n +"$((printed + 1))" "$play_log" | head -n "$((lines - printed))" |
        iconv -f CP932 -t UTF-8 | tr -d '\r'
      printed=$lines
    fi
    played=$printed
  fi
  if [ "$played" -ge "$items" ] && [ "$(date +%s)" -ge "$(( $(date -d "${last_end//\//-}" +%s) + 1 ))" ]; then
    break
  fi
  if [ "$(date +%s)" -ge "$deadline" ]; then
    echo "demo.sh: the demo schedule did not play to its end in time" >&2
    break
  fi
  sleep 0.5
done

echo "demo.sh: closing Ondrake"
stop_all
wait "$ondrake" 2>/dev/null || true
if [ -n "$ferlune" ]; then
  for _ in $(seq 1 30); do kill -0 "$ferlune" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$ferlune" 2>/dev/null; then
    echo "demo.sh: Ferlune did not end with Ondrake" >&2
    kill -TERM "$ferlune" 2>/dev/null || true
    exit 1
  fi
  echo "demo.sh: Ferlune ended with Ondrake"
else
  echo "demo.sh: Ferlune was not seen running" >&2
  exit 1
fi
skipped=$(iconv -f CP932 -t UTF-8 "$play_log" | grep -c '"SKIP"' || true)
if [ "$played" -lt "$items" ] || [ "$skipped" -gt 0 ]; then
  echo "demo.sh: $played of $items items logged, $skipped skipped" >&2
  exit 1
fi
echo "demo.sh: all $items items played; the play log is $play_log"
