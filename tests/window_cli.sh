#!/bin/bash
# The window's command line: no display to open it on, and the options that go with
# the window only. Each failure is one line on standard error with exit status 2.
# Usage: window_cli.sh QUORVANDELLE
set -u
game=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# expect STATUS WORDS COMMAND...: the exit status, and one line on standard error saying WORDS.
expect() {
    local want=$1 words=$2
    shift 2
    "$@" >out.txt 2>err.txt </dev/null
    local got=$?
    [ "$got" = "$want" ] || fail "$*: exit status $got, not $want"
    [ "$(wc -l <err.txt)" = 1 ] || fail "$*: not one line: $(cat err.txt)"
    grep -qF -- "$words" err.txt || fail "$*: '$(cat err.txt)' does not say '$words'"
}

no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER)
expect 2 "--headless --replay FILE" "${no_display[@]}" "$game" --state s.json --record r.txt --screenshot s.png
[ ! -e s.json ] && [ ! -e r.txt ] && [ ! -e s.png ] || fail "files were written without a display"
expect 2 "no display" env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$game"

expect 2 "not --headless" "$game" --headless --replay - --record r.txt
expect 2 "not --headless" "$game" --headless --replay - --scale 3
[ ! -e r.txt ] || fail "a recording was written by a refused command line"
for scale in 0 17 two ""; do
    expect 2 "--scale" "$game" --scale "$scale"
done
expect 2 "--record" "$game" --record

"$game" --help >help.txt || fail "--help"
for words in "Enter, Space or X" "arrow keys" "W A S D" "E or Page Up" "Q or Page Down" \
    "Escape" "F11" "F12" "--record FILE" "--scale N" "game controller"; do
    grep -qF -- "$words" help.txt || fail "--help does not tell '$words'"
done
echo "window command line: passed"
