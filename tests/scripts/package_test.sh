#!/bin/sh
# The Debian package as a machine gets it: unpacked (dpkg-deb -x) into a
# scratch root, the installed programs run from there, the show played
# headless from the installed data, and then from damaged installed data.
#
#   package_test.sh VILORA.deb VERSION
#
# Also checks what the package holds: only paths under /usr; a Depends line
# that names the package of every library the programs link; the desktop
# entry, the icon at 48, 128 and 256 pixels, both man pages, and the list of
# linked libraries naming each of them.
set -u
deb=$(realpath "$1")
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
root=$work/root

fail() {
    echo "FAILED: $1" >&2
    failures=$((failures + 1))
}

dpkg-deb -x "$deb" "$root" || {
    echo "FAILED: dpkg-deb cannot unpack $deb" >&2
    exit 1
}

# Only /usr: every member is ./, ./usr/ or below it.
dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./$' | grep -v '^\./usr/' >"$work/outside"
[ -s "$work/outside" ] && fail "paths outside /usr: $(tr '\n' ' ' <"$work/outside")"

for file in usr/bin/vilora usr/bin/vilora-kit usr/share/applications/vilora.desktop \
    usr/share/man/man6/vilora.6.gz usr/share/man/man1/vilora-kit.1.gz \
    usr/share/doc/vilora/copyright usr/share/doc/vilora/libraries.md usr/share/vilora/data/muska.xm; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done
grep -qx 'Exec=vilora' "$root/usr/share/applications/vilora.desktop" ||
    fail "the desktop entry does not start vilora"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 48 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/vilora.png
    got=$(od -An -tu1 -j16 -N8 "$icon" 2>/dev/null |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$got" = "${size}x${size}" ] || fail "the ${size}px icon is '$got'"
done

# Every library a program links: its package is in Depends, and the list of
# libraries names it.
depends=$(dpkg-deb -f "$deb" Depends)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for program in vilora vilora-kit; do
    for library in $(readelf -d "$root/usr/bin/$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        package=$(dpkg -S "$multiarch/$library" 2>/dev/null | grep "/$multiarch/$library\$" |
            head -n 1 | cut -d: -f1)
        if [ -z "$package" ]; then
            fail "$program links $library, which no installed package holds"
        elif ! printf '%s\n' "$depends" | tr ',' '\n' | grep -q "^ *$package\( \|\$\)"; then
            fail "$program links $library from $package, which Depends lacks: $depends"
        fi
        grep -qF "$library" "$root/usr/share/doc/vilora/libraries.md" ||
            fail "libraries.md does not list $library, which $program links"
    done
done

# The installed programs, run where nothing else lies: the data they find is
# the installed data.
mkdir "$work/here"
cd "$work/here" || exit 1
for program in vilora vilora-kit; do
    "$root/usr/bin/$program" --version >"$work/version" 2>&1 || fail "$program --version failed"
    grep -q "^$program $version\( (commit [0-9a-f]*.*)\)\?\$" "$work/version" ||
        fail "$program --version says '$(cat "$work/version")', not $version"
done

"$root/usr/bin/vilora" --capture "$work/capture" --every 1000 >/dev/null 2>"$work/stderr"
status=$?
[ "$status" = 0 ] || fail "the show from the installed data ended with status $status: $(tail -n 3 "$work/stderr")"
for frame in 00000 01000 05000; do
    [ -s "$work/capture/frame-$frame.png" ] || fail "the capture lacks frame $frame"
done
[ "$(wc -l <"$work/capture/timeline.tsv")" -gt 5000 ] || fail "the timeline is short of the show"

# Damaged installed data: the show's message, then our line naming the
# installed file, and status 1.
data=$root/usr/share/vilora/data
: >"$data/dtroid.782"
"$root/usr/bin/vilora" --capture "$work/broken" --every 1000 >/dev/null 2>"$work/stderr"
status=$?
[ "$status" = 1 ] || fail "an empty installed dtroid.782 ended with status $status, not 1"
grep -q '^error: ' "$work/stderr" || fail "no message of the show for an empty dtroid.782"
grep -qF "$data/dtroid.782" "$work/stderr" || fail "no line naming $data/dtroid.782"

# No installed data at all: the same, naming the file it looked for.
rm -r "$data"
"$root/usr/bin/vilora" --capture "$work/broken" --every 1000 >/dev/null 2>"$work/stderr"
status=$?
[ "$status" = 1 ] || fail "missing installed data ended with status $status, not 1"
grep -q '^error: ' "$work/stderr" || fail "no message of the show for missing data"
grep -q '^vilora: .*muska.xm' "$work/stderr" || fail "no line naming the missing muska.xm"

[ "$failures" = 0 ] || exit 1
echo "package: $(basename "$deb") unpacks, runs and plays the show from its data"
