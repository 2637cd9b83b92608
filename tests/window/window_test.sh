#!/usr/bin/env bash
# The windowed game under a virtual X server: it opens its window, draws, and ends cleanly when the
# window is closed. Usage: window_test.sh GAME CLOSE_WINDOW DATA_DIR
set -u
game="$1"; closer="$2"; data="$3"
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "SKIP: Xvfb or xdotool missing"; exit 77
fi
tmp="$(mktemp -d)"
trap 'kill $game_pid $xvfb_pid 2>/dev/null; rm -rf "$tmp"' EXIT

# A free display number.
for n in $(seq 90 140); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { disp=":$n"; break; }; done
Xvfb "$disp" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${disp#:}" ] && break; sleep 0.1; done
export DISPLAY="$disp" SDL_AUDIODRIVER=dummy
# Under the sanitizers, the X server's GL driver is loaded and unloaded behind our back and leaves
# allocations no stack can name; our own code's leaks are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

"$game" --data "$data" --save-dir "$tmp/save" --seed 3 >"$tmp/game.log" 2>&1 &
game_pid=$!
win=""
for _ in $(seq 100); do
  win="$(xdotool search --name '^Brackmoor$' 2>/dev/null | head -n 1)"
  [ -n "$win" ] && break
  kill -0 $game_pid 2>/dev/null || break
  sleep 0.2
done
if [ -z "$win" ]; then
  echo "FAIL: no window named Brackmoor appeared"; cat "$tmp/game.log"; exit 1
fi
sleep 2
kill -0 $game_pid 2>/dev/null || { echo "FAIL: the game ended by itself"; cat "$tmp/game.log"; exit 1; }

# SDL may recreate its window while setting the video mode: look it up again before closing.
win="$(xdotool search --name '^Brackmoor$' 2>/dev/null | tail -n 1)"
"$closer" "$win"
for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $game_pid 2>/dev/null; then
  echo "FAIL: the game did not end after its window was closed"; exit 1
fi
wait $game_pid; rc=$?
if [ $rc -ne 0 ]; then echo "FAIL: exit status $rc"; cat "$tmp/game.log"; exit 1; fi
echo "PASS: window opened and closed cleanly"
