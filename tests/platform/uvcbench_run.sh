#!/bin/sh
# Runs its arguments with the uvcbench VM's run command (../shared/uvcbench/run, or the folder
# in ZV_UVCBENCH). Exits 77, which CTest counts as skipped, where the bench is not there; the
# run command itself answers 77 where it cannot boot its VM on this machine.
#
# The run command answers 125 when its VM or virtual scanner did not come up (the emulated
# kernel now and then panics while it boots, before any of our code runs). That is the bench's
# failure, not the test's result, so such a run gets one more boot; a second 125 stands.
here=$(cd "$(dirname "$0")" && pwd)
bench=${ZV_UVCBENCH:-$here/../../../shared/uvcbench}
if [ ! -x "$bench/run" ]; then
    echo "uvcbench: no bench at $bench; skipped" >&2
    exit 77
fi
"$bench/run" "$@"
status=$?
if [ "$status" -eq 125 ]; then
    echo "uvcbench: the VM gave no result (status 125); booting it once more" >&2
    "$bench/run" "$@"
    status=$?
fi
exit "$status"
