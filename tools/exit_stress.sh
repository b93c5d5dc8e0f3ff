#!/usr/bin/env bash
# Stops Ondrake with SIGTERM while an item plays and measures the time from the signal to the
# end of the process, with each player in turn (0: the waveOut-style player, 1: the graph
# player). Each cycle makes a fresh demo station, starts Ondrake (which starts Ferlune), waits
# for the first play-log line, sends SIGTERM and waits for both programs to be gone.
#   tools/exit_stress.sh [--cycles N] [--players "0 1"] [--build-dir DIR] [--limit-ms MS]
#                        [--keep DIR]
# Prints one line per cycle and, per player, the median and the maximum in milliseconds; exits 1
# when any stop took longer than --limit-ms (default 2000) or a cycle went wrong. A playout still
# there at the limit has its threads' stacks written to slow-<player>-<cycle>.txt in the folder
# given by --keep (when gdb is installed); that folder also keeps what Ondrake wrote to standard
# error. Not run by CI: 100 cycles a player take about an hour. Needs Ondrake, Ferlune and
# demo_station built.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cycles=100; players="0 1"; build="$here/build"; limit_ms=2000; keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --cycles) cycles=$2; shift ;;
    --players) players=$2; shift ;;
    --build-dir) build=$2; shift ;;
    --limit-ms) limit_ms=$2; shift ;;
    --keep) keep=$2; shift ;;
    *) echo "exit_stress.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
for program in Ondrake Ferlune demo_station; do
  [ -x "$build/bin/$program" ] || { echo "exit_stress.sh: $build/bin/$program is missing" >&2; exit 2; }
done

# Another playout would make ours a second session, with another play log.
if pgrep -x Ondrake >/dev/null || pgrep -x Ferlune >/dev/null; then
  echo "exit_stress.sh: Ondrake or Ferlune is running already; close it first" >&2; exit 2
fi

work=$(mktemp -d /tmp/exit_stress.XXXXXX)
bin="$work/bin"
mkdir -p "$bin"
# A program folder of its own, so the build's Ondrake.ini and logs stay untouched (and a build
# running meanwhile changes nothing).
cp "$build/bin/Ondrake" "$build/bin/Ferlune" "$build/bin/demo_station" "$work/"
cp "$work/Ondrake" "$work/Ferlune" "$bin/"
ondrake=""
cleanup() {
  [ -n "$ondrake" ] && kill -KILL "$ondrake" 2>/dev/null || true
  pkill -KILL -f "^$bin/" 2>/dev/null || true
}
trap cleanup EXIT
[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && export QT_QPA_PLATFORM=offscreen
if ! { [ -e /proc/asound/cards ] && ! grep -q "no soundcards" /proc/asound/cards; }; then
  export ONDRAKE_AUDIO_BACKEND=virtual
fi

now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }

# Waits up to $2 seconds for process $1 to be gone; 0 when it is.
gone_within() {
  local pid=$1 until=$(( $(date +%s) + $2 ))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$(date +%s)" -ge "$until" ] && return 1
    sleep 0.05
  done
  return 0
}

failed=0
for player in $players; do
  times=()
  for cycle in $(seq 1 "$cycles"); do
    station="$work/station"
    rm -rf "$station" "$bin/log" "$bin"/*.ini
    read -r play_log _ _ < <("$work/demo_station" "$station" "$bin/" --minutes 1 \
      --start-in 5 --player "$player" 2>/dev/null)
    errors=/dev/null
    [ -n "$keep" ] && mkdir -p "$keep" && errors="$keep/stderr-$player-$cycle.txt"
    "$bin/Ondrake" >/dev/null 2>"$errors" &
    ondrake=$!
    ferlune=""
    deadline=$(( $(date +%s) + 60 ))
    until [ -s "$play_log" ]; do
      [ -z "$ferlune" ] && ferlune=$(pgrep -P "$ondrake" -x Ferlune || true)
      if [ "$(date +%s)" -ge "$deadline" ] || ! kill -0 "$ondrake" 2>/dev/null; then
        echo "player $player cycle $cycle: no item started" >&2
        failed=1
        break
      fi
      sleep 0.1
    done
    [ -z "$ferlune" ] && ferlune=$(pgrep -P "$ondrake" -x Ferlune || true)
    sleep 0.$((RANDOM % 10))  # somewhere in the item, not always at its first frame
    start=$(now_us)
    kill -TERM "$ondrake"
    watcher=""
    if [ -n "$keep" ] && command -v gdb >/dev/null; then
      ( sleep "$((limit_ms / 1000)).$(printf '%03d' $((limit_ms % 1000)))"
        kill -0 "$ondrake" 2>/dev/null &&
          gdb -p "$ondrake" -batch -ex "thread apply all bt" >"$keep/slow-$player-$cycle.txt" 2>&1
      ) &
      watcher=$!
    fi
    wait "$ondrake" || true
    end=$(now_us)
    [ -n "$watcher" ] && { kill "$watcher" 2>/dev/null || true; wait "$watcher" 2>/dev/null || true; }
    ondrake=""
    ms=$(( (end - start) / 1000 ))
    times+=("$ms")
    final=$(cat "$bin"/log/*"- Ondrake.log" 2>/dev/null | iconv -f CP932 -t UTF-8 | grep -c '正常終了' || true)
    echo "player $player cycle $cycle: ${ms} ms (final line: $final)"
    [ "$ms" -gt "$limit_ms" ] && failed=1
    if [ -n "$ferlune" ] && ! gone_within "$ferlune" 30; then
      echo "player $player cycle $cycle: Ferlune did not end with Ondrake" >&2
      kill -KILL "$ferlune" 2>/dev/null || true
      failed=1
    fi
  done
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  count=${#times[@]}
  median=$(sed -n "$(( (count + 1) / 2 ))p" <<<"$sorted")
  max=$(tail -n 1 <<<"$sorted")
  echo "player $player: $count stops, median ${median} ms, max ${max} ms"
done
rm -rf "$work"
exit $failed
