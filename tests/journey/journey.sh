#!/usr/bin/env bash
# A dealer's first session, driven from outside as a person drives it: the desktop program
# on its own X display with a window manager, the radio simulated on a pseudo-terminal
# mapped to COM1. Program > Read by mouse (menu, then Start), channels typed into cells,
# Program > Write, Enter and Space pressed while the write runs (they must do nothing),
# File > Save. The radio must end holding exactly the saved file.
#
# Usage: journey.sh BIN_DIR OUT_DIR English|Chinese
# Screenshots of every step go to OUT_DIR. Exit 77 (skipped) when a tool is missing.
set -euo pipefail
# The program shows on the X display started here, whatever the tests around it use.
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR

bin=$1
out=$2
language=$3
mkdir -p "$out"
rm -f "$out"/*.png

for tool in Xvfb openbox xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/deps.sh installs it)"
        exit 77
    fi
done

pids=()
cleanup() {
    local p
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        p=${pids[i]}
        kill "$p" 2>/dev/null || true
        wait "$p" 2>/dev/null || true
    done
}
trap cleanup EXIT
trap "exit 1" INT TERM

fail() {
    echo "FAILED: $*" >&2
    shot failed || true
    exit 1
}

# A display of its own: Xvfb picks a free number and tells it (JOURNEY_DISPLAY names one
# instead, on a machine where numbers are handed out).
if [ -n "${JOURNEY_DISPLAY:-}" ]; then
    Xvfb ":$JOURNEY_DISPLAY" -screen 0 1280x800x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$JOURNEY_DISPLAY" ] && break
        sleep 0.1
    done
    echo "$JOURNEY_DISPLAY" >"$out/display"
else
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
    pids+=($!)
fi
for _ in $(seq 100); do
    [ -s "$out/display" ] && break
    sleep 0.1
done
[ -s "$out/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$out/display")
echo "display $DISPLAY"
openbox >"$out/openbox.log" 2>&1 &
pids+=($!)
sleep 1

step=0
shot() {
    step=$((step + 1))
    import -window root "$out/$(printf '%02d' "$step")-$1.png"
}

# The program in a folder of its own, with its settings in the language asked for.
prog=$out/program
rm -rf "$prog"
mkdir -p "$prog"
cp "$bin/Program" "$bin/English.qm" "$bin/Chinese.qm" "$prog/"
sed "s/^Language=.*/Language=$language/" "$bin/Program.ini" >"$prog/Program.ini"
title=$(awk -v s="[$language]" '$0 == s {f = 1; next} /^\[/ {f = 0} f && /^Title=/ {sub(/^Title=/, ""); print}' "$prog/Program.ini")

# The radio holds one channel; the document starts as a new image.
"$bin/cps" new -o "$out/new.dat" >/dev/null
"$bin/cps" channels "$out/new.dat" --lang en |
    sed '1s/.*/1\t145.50000\t145.50000\tNone\t88.5\tRADIO\tHigh\tWide\tYes\tOff\tOff/' >"$out/rows.tsv"
"$bin/cps" channels "$out/new.dat" --import "$out/rows.tsv" -o "$out/radio.dat" --lang en
cp "$out/new.dat" "$out/document.dat"
rm -f "$out/radio-memory.dat"
"$bin/radiosim" --image "$out/radio.dat" --baud 9600 --dump "$out/radio-memory.dat" \
    --log "$out/radio.log" >"$out/radiosim.out" 2>&1 &
sim=$!
pids+=($sim)
for _ in $(seq 50); do
    [ -s "$out/radiosim.out" ] && break
    sleep 0.1
done
device=$(head -n1 "$out/radiosim.out")
[ -e "$device" ] || fail "radiosim gave no device: $device"
printf 'COM=1\n[Ports]\nCOM1=%s\n' "$device" >"$out/user.ini"

(cd "$prog" && CPS_USER_STORE="$out/user.ini" exec ./Program -nosplash "$out/document.dat") \
    >"$out/program.log" 2>&1 &
program=$!
pids+=($program)
# The window named, once it shows (20 seconds at most).
window() {
    local w
    for _ in $(seq 200); do
        w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
        [ -n "$w" ] && echo "$w" && return 0
        sleep 0.1
    done
    return 1
}
main=$(window "$title") || fail "the main window did not show"
sleep 1
shot started

# Where things are: the window manager maximises the main window on this screen, so the
# menu titles and cells lie at fixed points.
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 1280 ] || fail "the main window is not maximised (width $WIDTH)"
click() { # x y on the screen
    xdotool mousemove --sync "$1" "$2" click 1
    sleep 0.4
}
if [ "$language" = Chinese ]; then
    programMenu=(140 27)
    readTitle="读数据"
    writeTitle="写数据"
else
    programMenu=(107 27)
    readTitle="Read Data"
    writeTitle="Write Data"
fi
# Row n of the grid, column c (1 Rx, 2 Tx, 5 name).
cell() {
    local xs=(0 298 404 512 622 731)
    echo "${xs[$2]} $((140 + ($1 - 1) * 25))"
}

# The Process window of a command, its Start clicked where it is seen: the top right of
# the window (a point relative to the window itself, whatever frame the manager adds).
start() {
    local name=$1 w
    w=$(window "$name") || fail "no window $name"
    eval "$(xdotool getwindowgeometry --shell "$w")"
    sleep 0.5
    shot "$2-open"
    xdotool mousemove --window "$w" --sync $((WIDTH - 45)) 22 click 1
    sleep 0.3
}
finished() { # window: waits until it is gone
    for _ in $(seq 600); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Program > Read by mouse, then Start.
click "${programMenu[0]}" "${programMenu[1]}"
shot program-menu
click "${programMenu[0]}" $((programMenu[1] + 25))
start "$readTitle" read
sleep 1
shot reading
finished "$readTitle" || fail "the read did not finish"
shot read-done

# Channels typed into cells: row 2 Rx, then row 2 name; row 128 Rx.
read -r x y <<<"$(cell 2 1)"
click "$x" "$y"
xdotool type --delay 50 150
xdotool key Tab
read -r x y <<<"$(cell 2 5)"
click "$x" "$y"
xdotool type --delay 50 JOURNEY
xdotool key Return
shot typed

# Program > Write by mouse, Start; Enter and Space three seconds into the write.
click "${programMenu[0]}" "${programMenu[1]}"
click "${programMenu[0]}" $((programMenu[1] + 50))
start "$writeTitle" write
sleep 3
echo "focus: $(xdotool getwindowfocus getwindowname)"
for key in Return space KP_Enter; do
    xdotool key "$key"
    sleep 0.5
    shot "$key-pressed"
    xdotool search --onlyvisible --name "^$writeTitle\$" >/dev/null || fail "$key stopped the write"
done
finished "$writeTitle" || fail "the write did not finish"
shot write-done

# File > Save: Ctrl+S, then Yes to the question.
xdotool key ctrl+s
sleep 1
shot save-question
xdotool key Return
sleep 1
shot saved

kill "$program"
wait "$program" 2>/dev/null || true
kill "$sim"
wait "$sim" 2>/dev/null || true
cmp "$out/radio-memory.dat" "$out/document.dat" || fail "the radio does not hold the saved file"
"$bin/cps" channels "$out/document.dat" --lang en | sed -n '2p' | grep -q $'^2\t150.00000\t' ||
    fail "the typed channel is not in the saved file"
echo "PASSED: the radio holds the saved file ($language)"
