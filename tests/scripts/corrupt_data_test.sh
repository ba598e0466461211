#!/bin/sh
# Runs the show headless on damaged copies of a data set and checks that each
# run ends as it should: exit 0 after playing, or exit 1 with the show's own
# message followed by our line naming the file and the cause; never a signal,
# a sanitizer report, another status, or a hang.
#
#   corrupt_data_test.sh VILORA DATA [FLIPS] [SECONDS]
#
# FLIPS seeded byte flips per file (default 2); a run still playing after
# SECONDS (default 20) with frames behind it counts as playing on. Cases:
# every file missing, empty, cut at byte 1, byte 17 and half its size, a
# directory or a pipe in its place, unreadable (when it can be arranged),
# byte flips, and the names in capitals. Prints one line per category:
# tried, clean, failed; exits 1 when any run failed.
set -u
vilora=$1
data=$2
flips=${3:-2}
seconds=${4:-20}
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

# run CATEGORY NAME: runs the show on $work/data and records the verdict.
run() {
    out="$work/out"
    rm -rf "$out"
    mkdir -p "$out"
    chmod 777 "$out"
    # Time up, SIGTERM ends the capture at a frame with its files in place
    # (timeout says 124); one that does not end then is hung and killed.
    $runner timeout -s TERM -k 10 "$seconds" "$vilora" --capture "$out/c" --every 1000000 --seed 1 \
        --data "$work/data" >"$out/stdout" 2>"$out/stderr"
    status=$?
    frames=0
    [ -f "$out/c/timeline.tsv" ] && frames=$(($(wc -l <"$out/c/timeline.tsv") - 1))
    verdict=failed
    if grep -q -e 'AddressSanitizer' -e 'runtime error' -e 'LeakSanitizer' "$out/stderr"; then
        verdict=failed
    elif [ "$status" = 0 ]; then
        verdict=clean
    elif [ "$status" = 124 ] && [ "$frames" -ge 25 ]; then
        verdict=clean # still playing when its time was up
    elif [ "$status" = 1 ] && grep -q '^error: ' "$out/stderr" &&
        grep -A1 '^error: ' "$out/stderr" | tail -n 1 | grep -q "^vilora: .*$3"; then
        verdict=clean
    fi
    echo "$1 $verdict" >>"$results"
    if [ "$verdict" = failed ]; then
        echo "FAILED $1 $2: exit $status, $frames frames"
        sed 's/^/    /' "$out/stderr" | grep -v '^    order' | head -n 8
    fi
}

# fresh: a new copy of the data set in $work/data.
fresh() {
    chmod -R u+rwx "$work/data" 2>/dev/null
    rm -rf "$work/data"
    cp -r "$data" "$work/data"
    chmod -R a+rX "$work/data"
}

for path in "$data"/*; do
    name=$(basename "$path")
    size=$(wc -c <"$path")
    runner=""
    fresh; rm "$work/data/$name"; run missing "$name" "$name"
    fresh; : >"$work/data/$name"; run empty "$name" "$name"
    for cut in 1 17 $((size / 2)); do
        fresh; head -c "$cut" "$path" >"$work/data/$name"; run truncated "$name@$cut" "$name"
    done
    fresh; rm "$work/data/$name"; mkdir "$work/data/$name"; run directory "$name" "$name"
    fresh; rm "$work/data/$name"; mkfifo "$work/data/$name"; run pipe "$name" "$name"
    if [ -n "$as_nobody" ] || [ "$(id -u)" != 0 ]; then
        fresh; chmod 000 "$work/data/$name"; runner=$as_nobody
        run unreadable "$name" "$name"
        runner=""
    fi
    i=1
    while [ "$i" -le "$flips" ]; do
        fresh; flip "$work/data/$name" "$i$size" 1; run flipped "$name#$i" "$name"
        i=$((i + 1))
    done
    fresh; upper=$(echo "$name" | tr '[:lower:]' '[:upper:]')
    mv "$work/data/$name" "$work/data/$upper"; run letter-case "$upper" "$upper"
done

echo "category tried clean failed"
awk '{ tried[$1]++; if ($2 == "clean") clean[$1]++; else failed[$1]++ }
     END { for (c in tried) printf "%s %d %d %d\n", c, tried[c], clean[c] + 0, failed[c] + 0 }' \
    "$results" | sort
! grep -q ' failed$' "$results"
