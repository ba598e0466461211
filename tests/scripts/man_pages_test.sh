#!/bin/sh
# The man pages the build writes from the programs' --help: groff reads them
# without a warning, every option of every --help is an item of its page,
# vilora.6 lists the same keys as the README; and the writer itself on a
# made-up program whose help has the awkward cases.
#
#   man_pages_test.sh MAN_PAGE_WRITER MAN_DIR VILORA VILORA_KIT README
set -u
writer=$1
man_dir=$2
vilora=$3
kit=$4
readme=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED: $1" >&2
    failures=$((failures + 1))
}

# The item tags of a page's roff: the lines after each .TP, fonts removed.
tags() {
    awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }' "$1" |
        sed -e 's/\\f[BIR]//g' -e 's/^\.BR\{0,1\} //' -e 's/"//g' -e 's/  */ /g' \
            -e 's/ , /, /g' -e 's/\\-/-/g'
}

# The option names a --help lists: the first word of each item line.
help_options() {
    awk '/^(Options|Positionals):$/ { on = 1; next } /^$/ { on = 0 } on && /^  [^ ]/ { print $1 }'
}

for page in vilora.6 vilora-kit.1; do
    groff -man -Tutf8 -ww -z "$man_dir/$page" 2>"$work/groff"
    [ -s "$work/groff" ] && fail "groff warns about $page: $(head -n 3 "$work/groff")"
done

tags "$man_dir/vilora.6" >"$work/vilora.tags"
for option in $("$vilora" --help | help_options); do
    grep -qx -- "$option.*" "$work/vilora.tags" || fail "vilora.6 lacks $option"
done
tags "$man_dir/vilora-kit.1" >"$work/kit.tags"
for command in $("$kit" --help | awk '/^commands:$/ { on = 1; next } on { print $1 }'); do
    for option in $("$kit" "$command" --help | help_options); do
        grep -qx -- "$option.*" "$work/kit.tags" || fail "vilora-kit.1 lacks $option of $command"
    done
done

# The keys: the README's table and the page's KEYS section, the same set.
awk '/^\| key \|/ { on = 1; next } on && /^\|---/ { next } on && !/^\|/ { on = 0 }
     on { split($0, cell, "|"); gsub(/`/, "", cell[2]); gsub(/^ +| +$/, "", cell[2]); print cell[2] }' \
    "$readme" | sort >"$work/readme.keys"
awk '/^\.SH KEYS/ { on = 1; next } /^\.SH/ { on = 0 } on' "$man_dir/vilora.6" >"$work/keys.roff"
tags "$work/keys.roff" | sort >"$work/man.keys"
[ -s "$work/readme.keys" ] || fail "no key table found in the README"
diff "$work/readme.keys" "$work/man.keys" >"$work/keys.diff" ||
    fail "the keys of vilora.6 and the README differ: $(tr '\n' ' ' <"$work/keys.diff")"

# The writer on a help text with a label too long for its column (the text
# on the next line), a text that starts with a dot, and a backslash.
cat >"$work/fake" <<'EOF'
#!/bin/sh
case "$1" in
--version) echo "fake 1.2" ;;
--help)
    printf '%s\n' "fake does things." "Usage: fake [OPTIONS] FILE" "" "Positionals:" \
        "  FILE TEXT REQUIRED          the file" "" "Options:" \
        "  --a-very-long-option-name TEXT:{one,two}" \
        "                              wraps onto its own line" \
        "  --dot                       .starts with a dot" \
        "  --path TEXT                 a C:\\dir path"
    ;;
esac
EOF
chmod +x "$work/fake"
printf '%s\n' '.TH FAKE 1 "" "@version@"' '.SH OPTIONS' '.\" @options@' >"$work/fake.1.in"
sh "$writer" "$work/fake.1.in" "$work/fake.1" "$work/fake" || fail "the writer failed on fake"
grep -qx '.TH FAKE 1 "" "fake 1.2"' "$work/fake.1" || fail "@version@ not replaced"
tags "$work/fake.1" >"$work/fake.tags"
printf '%s\n' "FILE TEXT REQUIRED" "--a-very-long-option-name TEXT:{one,two}" "--dot" \
    "--path TEXT" | diff - "$work/fake.tags" >/dev/null || fail "fake's items: $(cat "$work/fake.tags")"
grep -qx 'wraps onto its own line' "$work/fake.1" || fail "the wrapped text is lost"
grep -qx '\\&.starts with a dot' "$work/fake.1" || fail "a leading dot is not escaped"
grep -qF 'a C:\edir path' "$work/fake.1" || fail "a backslash is not escaped"
groff -man -Tutf8 -ww -z "$work/fake.1" 2>"$work/groff"
[ -s "$work/groff" ] && fail "groff warns about fake.1: $(head -n 3 "$work/groff")"

[ "$failures" = 0 ] || exit 1
echo "man pages: every option and key, no groff warnings"
