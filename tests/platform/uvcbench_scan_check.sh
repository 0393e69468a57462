#!/bin/sh
# Runs inside the uvcbench VM (see uvcbench_run.sh): `zevuvora scan` on the virtual scanner,
# through the whole program and the real uvcvideo driver, must save exactly one file, named
# ZevuVora_slide_135_5M_<yyyyMMdd>_<hhmmsszzz>.jpg, that is a 2592x1728 JPEG with the scanner's
# names and the scan's instant in its metadata, and print its path; the scanner must have been
# told slide film (roll 0, written through its USB device) before the stream of its still began
# (the firmware's log). Argument: the zevuvora program. The VM emulates its processor, so
# decoding, scaling and
# encoding the still takes far longer than on a PC (about 35 s at the high resolution): the
# lower resolution and a generous wait keep the test short and safe.
set -u
zevuvora=$1
out=$(mktemp -d /tmp/zevuvora-scan.XXXXXX)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "uvcbench scan: $*" >&2
    exit 1
}

"$zevuvora" scan --film slide --size 135 --resolution low --count 1 --timeout-ms 120000 \
    --out "$out/scans" \
    > "$out/printed.txt" || fail "zevuvora scan exited with $? (printed: $(cat "$out/printed.txt"))"

set -- "$out"/scans/*
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one file in $out/scans, found: $*"
file=$1
name=$(basename "$file")
echo "$name" | grep -Eq '^ZevuVora_slide_135_5M_20[0-9]{6}_[0-9]{9}\.jpg$' ||
    fail "unexpected file name $name"
grep -Fqx "$file" "$out/printed.txt" || grep -Fq "$name" "$out/printed.txt" ||
    fail "the saved file was not printed (printed: $(cat "$out/printed.txt"))"
command -v identify > /dev/null || fail "identify (imagemagick) is needed to read the JPEG"
size=$(identify -format '%m %wx%h' "$file") || fail "$name is not an image"
[ "$size" = "JPEG 2592x1728" ] || fail "$name is $size, expected JPEG 2592x1728"
# The roll last written before the still's stream (2592x1944) was committed.
fwlog=${UVCBENCH_FWLOG:-}
[ -n "$fwlog" ] && [ -r "$fwlog" ] || fail "no firmware log at '$fwlog'"
roll=$(awk '/data CT 15:/ { roll = $0 } /COMMIT .*2592x1944/ { print roll; exit }' "$fwlog")
case "$roll" in
*"data CT 15: 00 00") ;;
*) fail "roll before the still was '$roll', expected 00 00 (slide)" ;;
esac
# The metadata: the scanner's USB strings as the bench presents them, the resolution on 135 film
# and the instant of the file name.
stamp=$(echo "$name" | sed -E 's/.*_([0-9]{4})([0-9]{2})([0-9]{2})_([0-9]{2})([0-9]{2})([0-9]{2})[0-9]{3}\.jpg$/\1:\2:\3 \4:\5:\6/')
exif=$(identify -format '%[EXIF:Make]|%[EXIF:Model]|%x %U|%[EXIF:DateTimeOriginal]' "$file")
[ "$exif" = "Virtual Maker|Virtual Film Scanner|1829 PixelsPerInch|$stamp" ] ||
    fail "$name carries '$exif'"
echo "uvcbench scan: $name, $size, slide film set, metadata as expected"
