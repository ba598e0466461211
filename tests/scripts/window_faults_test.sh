#!/bin/sh
# The show in a real window under Xvfb with a window manager, treated as a
# restless user would: focus taken away and given back, minimised and
# restored, full screen and windowed, Alt+Enter in quick succession, Escape
# at seeded random moments, SIGINT and SIGTERM. Screenshots after the losses
# must show black around the picture area and the show drawn inside it;
# leaving full screen must give the window the size --window opens at; every
# run must end with exit 0 and no sanitizer report.
#
#   window_faults_test.sh VILORA DATA
set -u
vilora=$1
data=$2
work=$(mktemp -d)
failures=0
display=:$((90 + $$ % 100))
convert=/usr/bin/convert # the real ImageMagick, whatever else is on the PATH

cleanup() {
    [ -n "${show:-}" ] && kill "$show" 2>/dev/null
    [ -n "${helper:-}" ] && kill "$helper" 2>/dev/null
    [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
    [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xserver=$!
export DISPLAY=$display
for _ in 1 2 3 4 5 6 7 8 9 10; do xdpyinfo >/dev/null 2>&1 && break; sleep 0.3; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
# A window to give the focus to.
xmessage -geometry 200x80+10+10 "elsewhere" >/dev/null 2>&1 &
helper=$!
export SDL_AUDIODRIVER=dummy

# start_show ARGS...: runs the show in the background; $wid is its window.
# A background job of a script starts with SIGINT ignored; the show gets
# the default back, as when started from a terminal.
start_show() {
    env --default-signal=INT "$vilora" --data "$data" --seed 1 "$@" >"$work/stdout" \
        2>"$work/stderr" &
    show=$!
    wid=""
    i=0
    while [ -z "$wid" ] && [ $i -lt 100 ] && kill -0 "$show" 2>/dev/null; do
        sleep 0.1
        wid=$(xdotool search --onlyvisible --pid "$show" 2>/dev/null | head -n 1)
        i=$((i + 1))
    done
    if [ -z "$wid" ]; then
        kill -s KILL "$show" 2>/dev/null
        wait "$show" 2>/dev/null
        show=""
        sed 's/^/    /' "$work/stderr" | head -n 10
        return 1
    fi
    sleep 1.5 # start-up: the pictures are loaded before the first frame
}

# end_show HOW: ends the show by Escape, SIGINT or SIGTERM and checks the exit.
end_show() {
    case $1 in
        escape) xdotool windowactivate --sync "$wid" key Escape 2>/dev/null ;;
        *) kill -s "$1" "$show" ;;
    esac
    i=0
    while kill -0 "$show" 2>/dev/null && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    if kill -0 "$show" 2>/dev/null; then
        fail "$2: still running 10 s after $1"
        kill -s KILL "$show"
    fi
    wait "$show"
    status=$?
    show=""
    [ "$status" = 0 ] || fail "$2: exit $status after $1"
    if grep -q -e 'AddressSanitizer' -e 'runtime error' -e 'LeakSanitizer' "$work/stderr"; then
        fail "$2: sanitizer report"
        head -n 20 "$work/stderr"
    fi
}

# brightest X Y W H: the brightest channel of a screenshot area, 0 to 255.
brightest() {
    "$convert" "$work/shot.png" -crop "$3x$4+$1+$2" +repage -format '%[fx:int(255*maxima)]' info:
}
mean() {
    "$convert" "$work/shot.png" -crop "$3x$4+$1+$2" +repage -format '%[fx:int(255*mean)]' info:
}

# check_screen WHAT X Y W H: the 320x240 frame shown at (X, Y) in W x H pixels:
# the 20-line bands above and below the picture area black, the area drawn.
check_screen() {
    import -window root "$work/shot.png" 2>/dev/null || { fail "$1: no screenshot"; return; }
    band=$(($5 * 20 / 240))
    top=$(brightest "$2" "$3" "$4" "$band")
    bottom=$(brightest "$2" $(($3 + $5 - band)) "$4" "$band")
    inside=$(mean "$2" $(($3 + band)) "$4" $(($5 - 2 * band)))
    if [ "$top" != 0 ] || [ "$bottom" != 0 ] || [ "$inside" = 0 ]; then
        kept="${TMPDIR:-/tmp}/vilora-window-faults-$$.png"
        cp "$work/shot.png" "$kept"
        fail "$1: bands brightest $top and $bottom (must be 0), picture area mean $inside" \
            "(must be above 0) at $4x$5+$2+$3; screenshot in $kept"
    fi
}

# window_geometry: "W H X Y" of the show's window.
window_geometry() {
    xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h, x, y}'
}

losses() {
    i=0
    while [ $i -lt 20 ]; do
        xdotool search --name "elsewhere" windowactivate 2>/dev/null
        sleep 0.15
        xdotool windowactivate "$wid" 2>/dev/null
        sleep 0.15
        i=$((i + 1))
    done
    i=0
    while [ $i -lt 10 ]; do
        xdotool windowminimize "$wid" 2>/dev/null
        sleep 0.2
        xdotool windowactivate "$wid" 2>/dev/null
        sleep 0.2
        i=$((i + 1))
    done
}

# Full screen: 1024x768 shows the frame three times over, centred.
if ! start_show; then
    fail "full screen: no window"
else
    losses
    xdotool windowactivate --sync "$wid" 2>/dev/null
    sleep 0.5
    check_screen "full screen after focus losses" 32 24 960 720
    end_show escape "full screen"
fi

# In a window of the size the rule gives on this desktop: 640x480.
if start_show --window; then
    losses
    xdotool windowactivate --sync "$wid" 2>/dev/null
    sleep 0.5
    # shellcheck disable=SC2046
    set -- $(window_geometry)
    [ "$1 $2" = "640 480" ] || fail "window: $1x$2, not 640x480"
    check_screen "window after focus losses" "$3" "$4" 640 480
    end_show INT "window"
else
    fail "window: no window"
fi

# Alt+Enter ten times quickly, then once more: out of full screen, the
# window must have the size --window gives.
if start_show; then
    i=0
    while [ $i -lt 11 ]; do
        xdotool windowactivate "$wid" key alt+Return 2>/dev/null
        sleep 0.1
        i=$((i + 1))
    done
    sleep 1
    set -- $(window_geometry)
    [ "$1 $2" = "640 480" ] || fail "after Alt+Enter: $1x$2, not 640x480"
    end_show TERM "Alt+Enter"
else
    fail "Alt+Enter: no window"
fi

# Escape at seeded random moments of the first seconds.
for delay in $(awk 'BEGIN { srand(18); for (i = 0; i < 4; ++i) printf "%.2f ", rand() * 3 }'); do
    start_show || { fail "Escape after $delay s: no window"; continue; }
    sleep "$delay"
    end_show escape "Escape after $delay s"
done

[ "$failures" = 0 ] && echo "window faults: all held" && exit 0
echo "window faults: $failures failed"
exit 1
