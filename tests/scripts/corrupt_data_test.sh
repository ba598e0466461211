#!/bin/sh
# Runs the show headless on damaged copies of a data set and checks that each
# run ends as it should: playing (exit 0 with frames behind it, or still
# playing when its time is up), or exit 1 with the show's own message followed
# by our line naming the file and the cause; never a signal, a sanitizer
# report, another status, a hang, or exit 0 with nothing played.
#
#   corrupt_data_test.sh [OPTIONS] VILORA DATA
#
#   --damage TOOL   the damaged_data tool (built with the tests): adds the
#                   multi-byte mutations and the files crafted per format
#   --mutations N   seeded mutations of each kind per file (default 2)
#   --sample N      of each file's cases, a seeded choice of N (default: all);
#                   the crafted cases always run
#   --seconds S     a run still playing after S seconds with frames behind it
#                   counts as playing on (default 20)
#   --until ORDER   each run ends at ORDER of the music (default: the whole show)
#   --seed N        the seed of the mutations and of the choice (default 1)
#
# Cases per file: missing, empty, cut at byte 1, byte 17 and half its size, a
# directory or a pipe in its place, unreadable (when it can be arranged),
# single bytes flipped, the name in capitals; with the tool, runs of bytes
# flipped, runs inserted and deleted, and the file spliced with another. The
# crafted files lie about sizes, counts and names (see tests/damage/); each
# says how the show must end: failing, or playing on and saying once that it
# skipped a scene's keyframer section. Prints one line per category: tried,
# clean, failed; exits 1 when any run failed.
set -u
damage="" mutations=2 sample="" seconds=20 until="" seed=1
while [ $# -gt 2 ]; do
    case $1 in
    --damage) damage=$2 ;;
    --mutations) mutations=$2 ;;
    --sample) sample=$2 ;;
    --seconds) seconds=$2 ;;
    --until) until=$2 ;;
    --seed) seed=$2 ;;
    *) echo "corrupt_data_test.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
[ $# -eq 2 ] || { echo "usage: corrupt_data_test.sh [OPTIONS] VILORA DATA" >&2; exit 2; }
vilora=$1
data=$2
work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
results="$work/results"
: >"$results"

# Who can be kept from reading a file: root reads through any mode bits, so
# the unreadable case runs as nobody where that can be arranged.
as_nobody=""
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null 2>&1; then
    as_nobody="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi

# flip FILE SEED COUNT: COUNT bytes of FILE, at seeded positions, get one bit flipped.
flip() {
    size=$(wc -c <"$1")
    awk -v seed="$2" -v count="$3" -v size="$size" 'BEGIN {
        srand(seed)
        for (i = 0; i < count; ++i) printf "%d %d\n", int(rand() * size), int(rand() * 8)
    }' | while read -r at bit; do
        old=$(od -An -tu1 -j "$at" -N1 "$1" | tr -d ' ')
        new=$(( old ^ (1 << bit) ))
        printf "$(printf '\\%03o' "$new")" | dd of="$1" bs=1 seek="$at" conv=notrunc 2>/dev/null
    done
}

# run CATEGORY NAME FILE [EXPECT]: runs the show on $work/data and records the
# verdict. EXPECT: fails, noted, or (default) any clean end.
run() {
    out="$work/out"
    rm -rf "$out"
    mkdir -p "$out"
    chmod 777 "$out"
    # Time up, SIGTERM ends the capture at a frame with its files in place
    # (timeout says 124); one that does not end then is hung and killed.
    # shellcheck disable=SC2086
    $runner timeout -s TERM -k 10 "$seconds" "$vilora" --capture "$out/c" --every 1000000 --seed 1 \
        ${until:+--until "$until"} --data "$work/data" </dev/null >"$out/stdout" 2>"$out/stderr"
    status=$?
    frames=0
    [ -f "$out/c/timeline.tsv" ] && frames=$(($(wc -l <"$out/c/timeline.tsv") - 1))
    playing=no
    if { [ "$status" = 0 ] && [ "$frames" -gt 0 ]; } ||
        { [ "$status" = 124 ] && [ "$frames" -ge 25 ]; }; then
        playing=yes
    fi
    named=no
    if [ "$status" = 1 ] && grep -q '^error: ' "$out/stderr" &&
        grep -A1 '^error: ' "$out/stderr" | tail -n 1 | grep -q "^vilora: .*$3"; then
        named=yes
    fi
    notes=$(grep -c "^vilora: [a-z0-9]*: .*$3: keyframer section skipped" "$out/stderr")
    verdict=failed
    if grep -q -e 'AddressSanitizer' -e 'runtime error' -e 'LeakSanitizer' "$out/stderr"; then
        verdict=failed
    elif [ "${4:-}" = fails ]; then
        [ "$named" = yes ] && verdict=clean
    elif [ "${4:-}" = noted ]; then
        [ "$playing" = yes ] && [ "$notes" = 1 ] && verdict=clean
    elif [ "$playing" = yes ] || [ "$named" = yes ]; then
        verdict=clean
    fi
    echo "$1 $verdict" >>"$results"
    if [ "$verdict" = failed ]; then
        echo "FAILED $1 $2: exit $status, $frames frames${4:+, expected: $4}"
        tr '\r' '\n' <"$out/stderr" | grep -v '^ *[0-9]*%' | head -n 8 | sed 's/^/    /'
    fi
}

# fresh: a new copy of the data set in $work/data.
fresh() {
    chmod -R u+rwx "$work/data" 2>/dev/null
    rm -rf "$work/data"
    cp -r "$data" "$work/data"
    chmod -R a+rX "$work/data"
}

# The cases of one file, one a line: "CATEGORY ARGUMENT".
cases_of() {
    size=$(wc -c <"$1")
    for c in missing empty directory pipe letter-case; do echo "$c -"; done
    for cut in 1 17 $((size / 2)); do echo "truncated $cut"; done
    if [ -n "$as_nobody" ] || [ "$(id -u)" != 0 ]; then echo "unreadable -"; fi
    i=1
    while [ "$i" -le "$mutations" ]; do
        echo "flipped $((seed * 1000 + i))$size"
        if [ -n "$damage" ]; then
            for kind in flipped-run inserted deleted spliced; do
                echo "$kind $((seed * 1000 + i))$size"
            done
        fi
        i=$((i + 1))
    done
}

# The seeded choice of --sample cases out of those on stdin.
choose() {
    if [ -z "$sample" ]; then cat; return; fi
    awk -v seed="$1" 'BEGIN { srand(seed) } { printf "%.9f %s\n", rand(), $0 }' | sort |
        head -n "$sample" | cut -d' ' -f2-
}

# one_case FILE CATEGORY ARGUMENT OTHER: the case on a fresh copy.
one_case() {
    name=$(basename "$1")
    copy="$work/data/$name"
    runner=""
    fresh
    case $2 in
    missing) rm "$copy"; run missing "$name" "$name" ;;
    empty) : >"$copy"; run empty "$name" "$name" ;;
    truncated) head -c "$3" "$1" >"$copy"; run truncated "$name@$3" "$name" ;;
    directory) rm "$copy"; mkdir "$copy"; run directory "$name" "$name" ;;
    pipe) rm "$copy"; mkfifo "$copy"; run pipe "$name" "$name" ;;
    unreadable)
        chmod 000 "$copy"; runner=$as_nobody
        run unreadable "$name" "$name"
        runner="" ;;
    flipped) flip "$copy" "$3" 1; run flipped "$name#$3" "$name" ;;
    letter-case)
        upper=$(echo "$name" | tr '[:lower:]' '[:upper:]')
        mv "$copy" "$work/data/$upper"; run letter-case "$upper" "$upper" ;;
    *)
        "$damage" mutate "$2" "$3" "$copy" "$4" || { echo "$2 failed" >>"$results"; return; }
        run "$2" "$name#$3" "$name" ;;
    esac
}

files=$(ls "$data")
n=0
for name in $files; do
    n=$((n + 1))
    # The file spliced with comes next in the list (the first after the last).
    other=$(echo "$files" | awk -v n="$n" 'NR == 1 { first = $0 } NR == n + 1 { next_one = $0 }
                                           END { print (next_one != "" ? next_one : first) }')
    cases_of "$data/$name" | choose "$seed$n" | while read -r category argument; do
        one_case "$data/$name" "$category" "$argument" "$data/$other"
    done
done

if [ -n "$damage" ]; then
    "$damage" cases | while read -r crafted file expect; do
        fresh
        runner=""
        if ! "$damage" craft "$crafted" "$work/data" >/dev/null; then
            echo "crafted-${crafted%%-*} failed" >>"$results"
            echo "FAILED crafted $crafted: the tool could not make it"
            continue
        fi
        run "crafted-${crafted%%-*}" "$crafted" "$file" "$expect"
    done
fi

echo "category tried clean failed"
awk '{ tried[$1]++; if ($2 == "clean") clean[$1]++; else failed[$1]++ }
     END { for (c in tried) printf "%s %d %d %d\n", c, tried[c], clean[c] + 0, failed[c] + 0 }' \
    "$results" | sort
! grep -q ' failed$' "$results"
