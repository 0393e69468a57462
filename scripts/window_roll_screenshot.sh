#!/bin/sh
# Makes the README's picture of the window during a roll: the simulated scanner, four scans with
# the film moved on between them, the last scans beside the controls and the crop frame on the
# preview. The scans go to a scratch home folder with a short name (the picture shows it in the
# save folder field), removed afterwards.
# Usage: scripts/window_roll_screenshot.sh [ZEVUVORA_BINARY] [OUTPUT_PNG]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/release/src/app/zevuvora}
output=${2:-$root/docs/window-roll.png}
scratch=/tmp/roll
if ! mkdir "$scratch"; then
    echo "$scratch is in the way: remove it first" >&2
    exit 1
fi
trap 'rm -rf "$scratch"' EXIT
HOME=$scratch XDG_CONFIG_HOME=$scratch/.config LANG=C.UTF-8 \
    "$program" --simulated-scanner --screenshot "$output" --screenshot-scans 4
echo "$output"
