#!/bin/bash
# --help tells every key of the window and what the buttons do to a number.
# Usage: window_help.sh QUORVANDELLE
"$1" --help >/dev/null || { echo "FAIL: --help" >&2; exit 1; }
for words in "A, Enter or Space" "arrow keys" "numeric keypad's 8 4 6 2" "R or Page Up" \
    "L or Page Down" "Escape" "F1" "F11" "F12" "by 1, up and down by 10, R and L by 100"; do
    "$1" --help | grep -qF -- "$words" || { echo "FAIL: --help does not tell '$words'" >&2; exit 1; }
done
