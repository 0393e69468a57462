#!/usr/bin/env bash
# Installs what is missing, builds the release build and runs zevuvora with the given arguments
# (or installs it: ./run.sh install [PREFIX]).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/ensure-packages.sh" "${ZV_BUILD_PACKAGES[@]}"

build="$root/build/release"
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 >&2

# `./run.sh install [PREFIX]`: installs the program, launcher, icons, udev rule and man page
# (default prefix /usr/local).
if [[ "${1:-}" == install ]]; then
    cmake --install "$build" --prefix "${2:-/usr/local}"
    exit 0
fi

# Without a display the window can still render screenshots and run `scan`.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    export QT_QPA_PLATFORM=offscreen
fi
exec "$build/src/app/zevuvora" "$@"
