#!/bin/bash
# The game in a real window under a virtual X server, played with real key events:
#  1. keys and an F12 screenshot; the screenshot must match, pixel for pixel, the
#     headless replay of the same presses; the session's recording must hold exactly
#     those presses and replay headless to the same state and last frame;
#  2. --scale 1 and --replay in the window, live keys after the script, and the program
#     asked to quit by a signal as a desktop session does: it still exits 0 and records.
# Usage: window_e2e.sh QUORVANDELLE PNG_COMPARE
set -u

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.err "$work"/xvfb.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    exit 1
}

work=$(mktemp -d)
game=$(realpath "$1")
compare=$(realpath "$2")
xvfb_pid=""
game_pid=""

cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is missing (Debian packages xvfb and xdotool; 'make test' installs them)"
done

# The server picks a free display number itself and writes it once it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
cd "$work" || fail "no work folder"

# Starts the game (at most 45 seconds) and waits for its window to take the keyboard.
start_game() {
    timeout 45 "$game" "$@" >"$work/game.out" 2>"$work/game.err" &
    game_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvandelle$' | head -n 1)
    [ -n "$window" ] || fail "the window did not appear"
    timeout 10 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
}

# Waits for the game to end (the timeout above bounds it) and sets its exit status.
end_of_game() {
    wait "$game_pid"
    status=$?
    game_pid=""
}

# One key at a time, a quarter of a second apart: each press lands in a frame of its own.
press() {
    for key in "$@"; do
        xdotool key "$key" || fail "xdotool key $key"
        sleep 0.25
    done
}

# The presses of a recording, idle frames left out.
presses_of() {
    grep -v -e '=' -e '^#' "$1" | tr -s ' \n' '\n' | grep -v -e '^\.' -e '^$' | tr '\n' ' '
}

# --- 1. Keys, F12, START --------------------------------------------------------------

start_game --seed 7 --language en --record live.txt --state window.json --screenshot window.png

# Every key of the keyboard's table once: leave the rules and the situation, sell no
# males, then edit the females' number (+1 +1 -1 -1 +10 +10 -10 -10 +100 +100 -100 -100 +1)
# and sell one.
press Return space x d Right Left a Up w Down s Prior e Next q d KP_Enter
# Held long enough for the keyboard to repeat: still one press.
xdotool keydown Right
sleep 1.2
xdotool keyup Right
sleep 0.3

xdotool key F12
title=""
for _ in $(seq 50); do
    title=$(xdotool getwindowname "$window")
    case $title in *"saved to "*) break ;; esac
    sleep 0.1
done
shot=${title#*saved to }
[ -f "$shot" ] || fail "no screenshot; the title says '$title'"
[ "$(dirname "$(realpath "$shot")")" = "$(realpath "$work")" ] || fail "the screenshot is not in the current folder: $shot"
case $(basename "$shot") in
    quorvandelle-[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]-[0-9][0-9][0-9][0-9][0-9][0-9].png) ;;
    *) fail "the screenshot is not named with the date and time: $shot" ;;
esac

press Escape
end_of_game
[ "$status" = 0 ] || fail "START: exit status $status, not 0"

cat >same-presses.txt <<'EOF'
seed=7 language=en
A A A CPAD_RIGHT DRIGHT DLEFT CPAD_LEFT DUP CPAD_UP DDOWN CPAD_DOWN R R L L CPAD_RIGHT A
DRIGHT
. . .   # the last edit reaches the screen two frames later
EOF
"$game" --headless --replay same-presses.txt --screenshot same-presses.png 2>headless.err ||
    fail "the headless replay of the same presses failed"
"$compare" "$shot" same-presses.png || fail "the F12 screenshot is not the headless replay's last frame"

recorded=$(presses_of live.txt)
expected="A A A CPAD_RIGHT DRIGHT DLEFT CPAD_LEFT DUP CPAD_UP DDOWN CPAD_DOWN R R L L CPAD_RIGHT A DRIGHT START "
[ "$recorded" = "$expected" ] || fail "the recording's presses are '$recorded', not '$expected'"
head -n 2 live.txt | tr '\n' ' ' | grep -qx 'seed=7 language=1 ' || fail "the recording does not start with its settings"

"$game" --headless --replay live.txt --state replayed.json --screenshot replayed.png 2>headless.err ||
    fail "the recording does not replay"
cmp -s window.json replayed.json || fail "the recording replays to another state: $(diff window.json replayed.json)"
"$compare" window.png replayed.png || fail "the recording replays to another last frame"
"$compare" "$shot" window.png || fail "the F12 screenshot is not the last frame"

# --- 2. --scale 1, --replay then live keys, quit by a signal ---------------------------

cat >script.txt <<'EOF'
seed=11 language=fr
. A . A .*5
EOF
start_game --scale 1 --replay script.txt --record live2.txt --state window2.json
geometry=$(xdotool getwindowgeometry "$window" | grep Geometry)
[ "${geometry##* }" = "400x480" ] || fail "--scale 1 gives $geometry"
sleep 1.5 # the script (nine frames) is over
press Up d
kill -TERM "$game_pid"
end_of_game
[ "$status" = 0 ] || fail "quit by a signal: exit status $status, not 0"

recorded=$(presses_of live2.txt)
[ "$recorded" = "A A DUP CPAD_RIGHT " ] || fail "the second recording's presses are '$recorded'"
head -n 2 live2.txt | tr '\n' ' ' | grep -qx 'seed=11 language=2 ' || fail "the second recording's settings"
tr -s ' \n' '\n' <live2.txt | sed -n '3,7p' | tr '\n' ' ' | grep -q '^\. A \. A \.' ||
    fail "the second recording does not start with the script"
"$game" --headless --replay live2.txt --state replayed2.json 2>headless.err || fail "the second recording does not replay"
cmp -s window2.json replayed2.json || fail "the second recording replays to another state"
grep -q '"inputValue": 11' replayed2.json || fail "the live keys after the script were not played"

echo "window end to end: passed"
