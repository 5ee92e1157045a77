#!/bin/bash
# The game in a real window on virtual X displays, played with real key presses. Nothing
# here waits a fixed time for the game: it waits for what it checks, a picture that
# changed (taken with F12) or a file that was written, and every F12 picture must be what
# the session's recording, replayed headless up to that screenshot's note, presents.
# Usage: window_e2e.sh QUORVANDELLE PNG_COMPARE
set -u
game=$(realpath "$1")
compare=$(realpath "$2")
work=$(mktemp -d)
xvfb_pid="" game_pid=""
cleanup() {
    kill $game_pid $xvfb_pid 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM
fail() {
    echo "FAIL: $*" >&2
    cat "$work"/*.err >&2 2>/dev/null
    exit 1
}
cd "$work" || exit 1
# The kept game and the layout go here, never into the player's own folder.
export XDG_STATE_HOME="$work/state"
kept="$XDG_STATE_HOME/quorvandelle/game.txt"

# A virtual display of this size, WIDTHxHEIGHT, in place of the last one.
display() {
    [ -n "$xvfb_pid" ] && kill $xvfb_pid && wait $xvfb_pid 2>/dev/null
    rm -f display.txt
    Xvfb -displayfd 3 -screen 0 "$1x24" -fbdir "$work" -nolisten tcp 3>display.txt 2>xvfb.log &
    xvfb_pid=$!
    for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
    [ -s display.txt ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 display.txt)"
    screen=$1
}

# Starts the game and waits for its window, which must lie wholly on the display.
start_game() {
    : >game.out
    timeout 120 "$game" "$@" >game.out 2>game.err &
    game_pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Quorvandelle' | head -n 1)
    [ -n "$window" ] || fail "no window"
    timeout 20 xdotool windowfocus --sync "$window" || fail "the window did not take the focus"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "${screen%x*}" ] &&
        [ $((Y + HEIGHT)) -le "${screen#*x}" ] || fail "a ${WIDTH}x$HEIGHT window at $X,$Y on $screen"
    shot=black.png shots=0
}

end_game() {
    wait "$game_pid"
    status=$? game_pid=""
}

# F12, then wait for the game to say it saved the picture; $shot is its file.
f12() {
    xdotool key F12
    shots=$((shots + 1))
    for _ in $(seq 300); do
        [ "$(grep -c 'screenshot saved to' game.out)" -ge $shots ] && break
        sleep 0.1
    done
    shot=$(grep 'screenshot saved to' game.out | sed -n "${shots}p" | sed 's/.*saved to //')
    [ -f "$shot" ] || fail "screenshot $shots was not saved"
}

# F12 until the picture differs from the last one taken, or (with a file) until it is that one.
until_changed() {
    local before=$shot
    for _ in $(seq 300); do
        f12
        if [ $# = 0 ]; then
            "$compare" "$before" "$shot" >/dev/null 2>&1 || return 0
        else
            "$compare" "$1" "$shot" >/dev/null 2>&1 && return 0
        fi
        sleep 0.1
    done
    fail "the picture did not change${1:+ to $1}"
}

# What the display shows in the window is the picture PNG's upper screen, pixel for pixel
# (at scale 1, in the layout a window opens with: the upper screen, the advice under it).
on_screen() {
    "$compare" --ppm "$1" >expected.ppm || fail "$1 unreadable"
    python3 - "$work/Xvfb_screen0" expected.ppm "$X" "$Y" <<'EOF' || fail "the window does not show $1"
import struct, sys
screen = open(sys.argv[1], "rb").read()
header = struct.unpack(">25I", screen[:100])
stride, start = header[12], header[0] + header[19] * 12
ppm = open(sys.argv[2], "rb").read()
w, h = (int(n) for n in ppm.split(b"\n")[1].split())
pixels = ppm[len(ppm) - w * h * 3:]
h = 240
x0, y0 = int(sys.argv[3]), int(sys.argv[4])
for y in range(h):
    row = screen[start + (y0 + y) * stride + x0 * 4:][:w * 4]
    shown = bytes(row[i + c] for i in range(0, w * 4, 4) for c in (2, 1, 0))
    if shown != pixels[y * w * 3:(y + 1) * w * 3]:
        sys.exit(1)
EOF
}

# Every button the recording holds, once each, in alphabetical order.
buttons_of() {
    grep -v -e '=' -e '^#' "$1" | tr -s ' \n+' '\n' | sed 's/\*.*//' | grep -v -e '^\.$' -e '^$' |
        sort -u | tr '\n' ' '
}

# Each screenshot must be the headless replay of the recording up to its note.
check_shots() {
    grep '^# screenshot ' "$1" | sed 's/^# screenshot //' | while read -r file; do
        awk -v note="# screenshot $file" '$0 == note { exit } { print }' "$1" >upto.txt
        "$game" --headless --replay upto.txt --screenshot upto.png 2>replay.err ||
            fail "the recording up to $file does not replay"
        "$compare" "$file" upto.png || fail "$file is not what the recording presents there"
    done || exit 1
}

"$game" --headless --replay <(echo START) --screenshot black.png || fail "no black picture"

# 1. The default window fits 1366x768. The keyboard's A leaves the rules; F1 shows the
# controls and holds the game (two F12 with no frame between); the key that closes them
# does nothing else (Escape, which would end the game).
# At 1366x768 and 1920x1080 a window opens with the upper screen and its advice at twice
# and three times the console's size.
display 1920x1080
start_game --seed 1
[ "${WIDTH}x$HEIGHT" = 1200x912 ] || fail "at 1920x1080 the window is ${WIDTH}x$HEIGHT"
xdotool key Escape
end_game
display 1366x768
start_game --seed 7 --language en --record live.txt --state live.json
[ "${WIDTH}x$HEIGHT" = 800x608 ] || fail "at 1366x768 the window is ${WIDTH}x$HEIGHT"
until_changed
xdotool key a
until_changed
xdotool key a
until_changed
xdotool key F1
f12
sleep 0.5
f12
xdotool key Escape
xdotool key r
until_changed
xdotool key Right Left Up Down KP_6 KP_4 KP_8 KP_2 l Escape
end_game
[ "$status" = 0 ] || fail "START: exit status $status"
buttons=$(buttons_of live.txt)
[ "$buttons" = "A CPAD_DOWN CPAD_LEFT CPAD_RIGHT CPAD_UP DDOWN DLEFT DRIGHT DUP L R START " ] ||
    fail "the recording's buttons are $buttons"
[ "$(grep -c START live.txt)" = 1 ] || fail "the key that closed the controls was played"
awk '/^# screenshot/ { if (prev) adjacent = 1; prev = 1; next } { prev = 0 } END { exit !adjacent }' live.txt ||
    fail "frames ran while the controls were shown"
check_shots live.txt

# 2. 1280x1024, in French: a scale too large is reduced to fit, and the player is told;
# a script first, then live keys; asked to quit by a signal, the game still exits 0 and
# writes its recording.
display 1280x1024
printf 'seed=11 language=fr\n. A . A\n' >script.txt
"$game" --headless --replay <(cat script.txt; echo . .) --seed 12 --screenshot asked.png || fail "no question picture"
start_game --replay script.txt --seed 12 --record live2.txt --state live2.json --scale 4
[ "${WIDTH}x$HEIGHT" = 1200x912 ] || fail "--scale 4 on 1280x1024 gives ${WIDTH}x$HEIGHT"
grep -q -- '--scale 4 does not fit the display (1280x1024); using --scale 3' game.err || fail "not told"
until_changed asked.png
xdotool key Up
until_changed
kill -TERM "$game_pid"
end_game
[ "$status" = 0 ] || fail "quit by a signal: exit status $status"
check_shots live2.txt
head -n 2 live2.txt | tr '\n' ' ' | grep -qx 'seed=12 language=2 ' || fail "the command line's seed did not win"
"$game" --headless --replay live2.txt --state replayed2.json || fail "the second recording does not replay"
cmp -s live2.json replayed2.json || fail "the second recording replays to another state"
grep -q '"inputValue": 10,' live2.json || fail "the live key after the script was not played"

# 3. The window keeps the game: killed in month 2, it comes back there, the title says so;
# F11 twice keeps the picture; after Escape it comes back again; F5 twice starts a new
# year; a kept file that does not read back is told and left as it is.
[ ! -e "$kept" ] || fail "--seed, --replay or --record kept a game"
display 1366x768
"$game" --headless --replay <(echo .) --screenshot rules.png || fail "no rules picture"
start_game --language en
until_changed
# Month 1 with a coupling, whose litter the game's seed decides, then month 2.
for key in Return Return Return Return Right Return Return Return Return; do
    xdotool key $key
    until_changed
done
for _ in $(seq 100); do
    "$game" --headless --replay "$kept" --state kept.json 2>/dev/null && grep -q '"month": 2,' kept.json && break
    sleep 0.1
done
grep -q '"month": 2,' kept.json || fail "month 2 was not reached, or not kept"
before=$shot
pkill -KILL -P "$game_pid" # the game itself, not the timeout around it
end_game
start_game --scale 1
for _ in $(seq 100); do
    xdotool getwindowname "$window" | grep -q 'Game resumed, month 2' && break
    sleep 0.1
done
xdotool getwindowname "$window" | grep -q 'Game resumed, month 2' || fail "the title does not say the game came back: $(xdotool getwindowname "$window")"
for _ in $(seq 150); do
    xdotool getwindowname "$window" | grep -q 'Game resumed' || break
    sleep 0.1
done
xdotool getwindowname "$window" | grep -q 'Game resumed' && fail "the title still says the game came back"
f12
"$compare" "$before" "$shot" || fail "the kept game came back to another picture"
xdotool key F11
xdotool key F11
f12
on_screen "$before"
xdotool key Escape
end_game
start_game
f12
"$compare" "$before" "$shot" || fail "after Escape the kept game did not come back"
xdotool key F5
xdotool key F5
until_changed rules.png
xdotool key Escape
end_game
echo "seed=1 A+JUMP" >"$kept"
cp "$kept" garbage.txt
start_game
grep -q "The kept game cannot be resumed" game.err || fail "a garbage kept game was not told"
xdotool key Escape
end_game
cmp -s "$kept" garbage.txt || fail "a garbage kept game was not left as it was"
echo "window end to end: passed"
