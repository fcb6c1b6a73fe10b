#!/usr/bin/env bash
# Drives the built program through the window system as a person would: on a private X display it
# passes the first-time setup, chooses Circle from the Insert menu and draws one with two clicks,
# chooses Text and types "Hi", saves through the Save As dialog, and reads the file back with the
# batch tool. Skipped (exit 77) where Xvfb or xdotool is missing.
# usage: drawbyhand.sh PROGRAM BATCH_TOOL
set -uo pipefail

program=$(realpath "$1")
batch=$(realpath "$2")
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "drawbyhand: skipped, $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    [[ -n ${DRAWBYHAND_KEEP:-} ]] && echo "drawbyhand: kept $work" || rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "drawbyhand: $*"
    command -v xwininfo >/dev/null && xwininfo -root -tree | grep '"'
    exit 1
}

# A display of its own: Xvfb picks a free number and writes it to the pipe.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

# Fresh settings, data and runtime folders.
home=$work/home
mkdir -p "$home/rt"
chmod 700 "$home/rt"
(cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/cfg XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/rt \
    QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 exec "$program" >"$work/program.log" 2>&1) &
app_pid=$!

wait_for_window() {
    for _ in $(seq 300); do
        xdotool search --name "^$1\$" 2>/dev/null | head -n1 && return 0
        sleep 0.1
    done
    return 1
}

# The first-time setup asks for the measuring unit: Inches, then Proceed.
setup=$(wait_for_window "First-time Setup") || fail "no first-time setup"
eval "$(xdotool getwindowgeometry --shell "$setup")"
sleep 1
xdotool mousemove $((X + 228)) $((Y + 80)) click 1
sleep 0.3
xdotool mousemove $((X + 69)) $((Y + 240)) click 1
for _ in $(seq 100); do
    xwininfo -root -tree | grep -q '"Untitled 1"\|Untitled 1' && break
    sleep 0.1
done
sleep 1.5

# Insert > Circle (the tenth entry), centre and a point 40 pixels to its right.
xdotool mousemove 59 8 click 1
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down Down Return
sleep 0.5
xdotool mousemove 300 190 click 1
sleep 0.3
xdotool mousemove 320 195 sleep 0.1 mousemove 340 190 click 1
sleep 0.5
# Insert > Text (the second entry), a click where it starts, and typing.
xdotool mousemove 59 8 click 1
sleep 0.5
xdotool key Down Down Return
sleep 0.5
xdotool mousemove 230 260 click 1
sleep 0.3
xdotool type --delay 80 Hi
sleep 0.5

# Save: the untitled design asks for its name in the Save As dialog.
xdotool key ctrl+s
wait_for_window "Save As" >/dev/null || fail "no Save As dialog"
sleep 1
xdotool type --delay 20 "$home/card.vlrn"
xdotool key Return
for _ in $(seq 100); do
    [[ -s $home/card.vlrn ]] && break
    sleep 0.1
done
[[ -s $home/card.vlrn ]] || fail "the design was not saved"
sleep 0.5

listing=$("$batch" info "$home/card.vlrn" | tr '{' '\n')
circle=$(grep '"kind": 1000600,' <<<"$listing") || fail "no circle in the saved design"
text=$(grep '"kind": 1000100,' <<<"$listing") || fail "no text in the saved design"
field() { sed -n "s/.*\"$1\": \(-\{0,1\}[0-9]*\).*/\1/p" <<<"$2" | head -n1; }
x1=$(field x1 "$circle")
x2=$(field x2 "$circle")
y1=$(field y1 "$circle")
y2=$(field y2 "$circle")
# The circle's box is its centre plus and minus the 40-pixel radius.
[[ $((x2 - x1)) -eq 80 && $((y2 - y1)) -eq 80 ]] || fail "circle box $x1 $y1 $x2 $y2 is not 80 x 80"
grep -q '"text": "Hi"' <<<"$text" || fail "the text does not hold Hi: $text"
echo "drawbyhand: circle and text drawn, saved and read back"
