#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what a desktop needs is there.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

# A temporary prefix is one udev does not read: the install says where the rule must go.
notice=$(cmake --install "$build_dir" --prefix "$prefix" 2>&1 >/dev/null)

fail=0
expect() {
    if [[ ! -s "$prefix/$1" ]]; then
        echo "missing from the installed tree: $1" >&2
        fail=1
    fi
}
expect bin/zevuvora
expect share/applications/zevuvora.desktop
for size in 32 48 64 128 256; do
    expect "share/icons/hicolor/${size}x${size}/apps/zevuvora.png"
done
expect lib/udev/rules.d/70-zevuvora-scanner.rules
expect share/man/man1/zevuvora.1

[[ -x "$prefix/bin/zevuvora" ]] || { echo "bin/zevuvora is not executable" >&2; fail=1; }
desktop-file-validate "$prefix/share/applications/zevuvora.desktop" || fail=1
grep -q 'Categories=.*Graphics;.*Scanning;' "$prefix/share/applications/zevuvora.desktop" ||
    { echo "desktop file lacks Graphics;Scanning;" >&2; fail=1; }
grep -q 'ATTRS{idVendor}=="8888".*ATTRS{idProduct}=="0001".*TAG+="uaccess"' \
    "$prefix/lib/udev/rules.d/70-zevuvora-scanner.rules" ||
    { echo "udev rule does not grant the scanner to the seat's user" >&2; fail=1; }
grep -q 'cp .*70-zevuvora-scanner.rules /etc/udev/rules.d' <<<"$notice" ||
    { echo "install into $prefix does not say where the udev rule must go" >&2; fail=1; }
grep -qF "$prefix/lib/udev/rules.d/70-zevuvora-scanner.rules" "$prefix/share/man/man1/zevuvora.1" ||
    { echo "the man page does not name the rule where it was installed" >&2; fail=1; }
grep -q 'ZevuVora_negative_135_5M_' "$prefix/share/man/man1/zevuvora.1" ||
    { echo "the man page's example name is not one the program writes" >&2; fail=1; }
man -l "$prefix/share/man/man1/zevuvora.1" >/dev/null 2>&1 ||
    groff -man -Tutf8 "$prefix/share/man/man1/zevuvora.1" >/dev/null 2>&1 ||
    head -1 "$prefix/share/man/man1/zevuvora.1" | grep -q '^\.TH ZEVUVORA 1' ||
    { echo "man page is not a man page" >&2; fail=1; }
exit $fail
