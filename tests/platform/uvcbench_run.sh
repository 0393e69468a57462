#!/bin/sh
# Runs its arguments with the uvcbench VM's run command (../shared/uvcbench/run, or the folder
# in ZV_UVCBENCH). Exits 77, which CTest counts as skipped, where the bench is not there; the
# run command itself answers 77 where it cannot boot its VM on this machine.
here=$(cd "$(dirname "$0")" && pwd)
bench=${ZV_UVCBENCH:-$here/../../../shared/uvcbench}
if [ ! -x "$bench/run" ]; then
    echo "uvcbench: no bench at $bench; skipped" >&2
    exit 77
fi
exec "$bench/run" "$@"
