#!/bin/bash
# The window's command line: no display to open it on, and the options that go with the
# window only. Each failure is one line on standard error with exit status 2.
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

# expect WORDS COMMAND...: exit status 2 and one line on standard error saying WORDS.
expect() {
    local words=$1
    shift
    "$@" >out.txt 2>err.txt </dev/null
    local got=$?
    [ "$got" = 2 ] && [ "$(wc -l <err.txt)" = 1 ] && grep -qF -- "$words" err.txt ||
        fail "$*: exit status $got, not 2 with one line saying '$words': $(cat err.txt)"
}

no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER)
expect "--headless --replay FILE" "${no_display[@]}" "$game" --state s.json --record r.txt --screenshot s.png
expect "no display" env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$game"
expect "not --headless" "$game" --headless --replay - --record r.txt
expect "not --headless" "$game" --headless --replay - --scale 3
expect "--scale: 'x' is not a number" "$game" --scale x
expect "--scale: '' is not a number" "$game" --scale ""
expect "--scale: '17' is not from 1 to 16" "$game" --scale 17
expect "--scale: '0' is not from 1 to 16" "$game" --scale 0
[ -z "$(ls)" ] || [ "$(ls)" = "err.txt
out.txt" ] || fail "a refused command line wrote $(ls)"

"$game" --help >help.txt || fail "--help"
for words in "A, Enter or Space" "arrow keys" "numeric keypad's 8 4 6 2" "R or Page Up" \
    "L or Page Down" "Escape" "F1" "F11" "F12" "by 1, up and down by 10, R and L by 100"; do
    grep -qF -- "$words" help.txt || fail "--help does not tell '$words'"
done
echo "window command line: passed"
